#pragma once
// Style attributes that repeat become classes: each distinct style written more than
// once is one rule of the page's style sheet, and the elements name its class. The
// rule's selector outranks every selector of the sheet, as a style attribute does.
// Classes no selector names are dropped, as they style nothing.

#include "engine/CssSyntax.h"
#include "engine/HtmlNode.h"

#include <vector>

namespace pelmora {

class StyleSheetIndex;

/// Moves the repeated styles under root into rules appended to sheet.
void MoveRepeatedStylesToClasses(HtmlNode& root, std::vector<CssRule>& sheet,
                                 const StyleSheetIndex& index);

} // namespace pelmora
