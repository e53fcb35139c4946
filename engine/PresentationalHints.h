#pragma once
// The CSS a browser derives from obsolete presentational markup (font, center, align,
// bgcolor, table borders and padding, widths ...), so that markup can be replaced by
// style with the same computed result. The mappings follow what browsers do; values
// a browser ignores give no declaration.

#include "engine/CssSyntax.h"
#include "engine/HtmlNode.h"

#include <optional>
#include <string>
#include <string_view>

namespace pelmora {

/// What a table's own attributes give each of its cells.
struct CellHints {
    CssDeclarations declarations;
};

/// Horizontal alignment a block passes down to the blocks inside it, as the align
/// attribute and the center element do (unlike CSS text-align, they move tables too).
enum class BlockAlign : unsigned char { None, Left, Center, Right };

/// Takes the element's presentational attributes off and returns their declarations.
/// cell holds what the enclosing table gives a td or th (may be null); align is set
/// to what the element passes to the blocks inside it, when it sets one.
CssDeclarations TakePresentationalHints(HtmlNode& element, const CellHints* cell,
                                        std::optional<BlockAlign>& align);

/// What a table's cellpadding and border give its cells (read before the table's
/// hints are taken).
CellHints CellHintsOf(const HtmlNode& table);

/// A CSS colour for an HTML colour attribute, or "" when a browser would ignore it.
std::string CssColor(std::string_view value);

/// A CSS length for an HTML width or height ("120", "50%"), or "".
std::string CssLength(std::string_view value);

/// The font-family value of a font element's face, or "" when a browser ignores it.
std::string CssFontFamily(std::string_view face);

/// The font-size keyword of a font element's size ("2", "+1"), or "".
std::string CssFontSize(std::string_view size);

} // namespace pelmora
