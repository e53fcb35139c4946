#pragma once
// Compaction of the pages LibreOffice writes: the page is read with an HTML5 parser
// and written back from its tree as clean HTML5 that looks the same in a browser
// (engine/PageRewriter.h says what changes). A page that cannot be read as a tree
// faithfully is left exactly as it was.

#include "engine/Compaction.h"

#include <string>
#include <string_view>

namespace pelmora {

/// True when a meta tag before the page's body names LibreOffice as its generator.
bool IsLibreOfficePage(std::string_view page);

/// Rewrites page as clean HTML5. title is the page's title when its own is empty and
/// no heading has text (the document's name). Yields between the long steps.
void CompactLibreOfficePage(std::string& page, const YieldHook& yield = {},
                            std::string_view title = {});

} // namespace pelmora
