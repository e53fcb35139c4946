#pragma once
// Compaction of the pages LibreOffice writes. Its markup differs from Word's, so the
// same kinds of office-only markup are found by reading its tags: office meta tags,
// per-run formatting (spans with only a style or language, font tags) cut together
// with their closing tags, and runs of blanks. Text in pre, script, style, textarea
// and title elements, comments and attribute values is never changed.

#include "engine/Compaction.h"

#include <string>
#include <string_view>

namespace pelmora {

/// True when a meta tag before the page's body names LibreOffice as its generator.
bool IsLibreOfficePage(std::string_view page);

/// Cuts LibreOffice's office-only markup from page. A tag is only cut together with
/// its matching closing tag, so no tag is left unclosed or stray that was not before.
/// Yields once per stretch of work (kYieldWork bytes).
void CompactLibreOfficePage(std::string& page, const YieldHook& yield = {});

} // namespace pelmora
