#pragma once
// Blanks in a page's text that a browser never shows: runs collapse to one blank, and
// blanks between blocks or at the start and end of a line go. Text whose blanks
// show (pre, textarea, a white-space style) is left as it is.

#include "engine/HtmlNode.h"

namespace pelmora {

/// Drops the blanks under node that never show. keepAll: the node's blanks show.
void DropHiddenBlanks(HtmlNode& node, bool keepAll = false);

} // namespace pelmora
