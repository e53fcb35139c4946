#pragma once
// Compaction of the pages LibreOffice writes: the page is read with an HTML5 parser
// and written back from its tree as clean HTML5 that looks the same in a browser
// (engine/PageRewriter.h says what changes). A page that cannot be read as a tree
// faithfully is left exactly as it was.

#include <string>
#include <string_view>

namespace pelmora {

/// True when a meta tag before the page's body names LibreOffice as its generator.
bool IsLibreOfficePage(std::string_view page);

/// Rewrites page as clean HTML5. title is the page's title when its own is empty and
/// no heading has text (the document's name).
void CompactLibreOfficePage(std::string& page, std::string_view title = {});

} // namespace pelmora
