#pragma once
// The style of runs of text made shorter: a span that sets the font, size or colour
// its text already has says nothing, and a span that only wraps another span joins it
// when the two together compute the same.

#include "engine/HtmlNode.h"

namespace pelmora {

class StyleSheetIndex;

/// Drops from spans under root the font family, size and colour they inherit anyway,
/// joins spans nested alone in spans, and takes out spans left without attributes.
void ShortenRunStyles(HtmlNode& root, const StyleSheetIndex& sheet);

} // namespace pelmora
