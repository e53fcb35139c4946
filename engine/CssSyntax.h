#pragma once
// Reading and writing CSS as pages carry it: the declarations of a style attribute or
// of a rule, and a style sheet's rules. Comments go; strings, parentheses and escapes
// are respected; values are written in a shorter form with the same meaning.

#include <string>
#include <string_view>
#include <vector>

namespace pelmora {

/// One "property: value" of a declaration block; the property in lower case.
struct CssDeclaration {
    std::string property;
    std::string value;
    bool important = false;
};

using CssDeclarations = std::vector<CssDeclaration>;

/// A rule of a style sheet: selectors (or "@page") with declarations, or another
/// at-rule kept as written (verbatim not empty).
struct CssRule {
    std::string selectors;
    CssDeclarations declarations;
    std::string verbatim;
};

/// The declarations of a block, in order; malformed ones are left out.
CssDeclarations ParseDeclarations(std::string_view block);

/// "a:b;c:d" with values shortened (blanks, colours, zero lengths).
std::string WriteDeclarations(const CssDeclarations& declarations);

/// The value of the last declaration of property, or nullptr.
const CssDeclaration* FindDeclaration(const CssDeclarations& declarations,
                                      std::string_view property);

/// Removes every declaration of property; true when there was one.
bool RemoveDeclaration(CssDeclarations& declarations, std::string_view property);

/// True when setting property may change longhand: the same property, or one of a
/// shorthand and a property it sets (border and border-top-color, font and font-size).
bool PropertiesOverlap(std::string_view property, std::string_view longhand);

/// The rules of a style sheet, in order.
std::vector<CssRule> ParseStyleSheet(std::string_view sheet);

/// The style sheet as short text.
std::string WriteStyleSheet(const std::vector<CssRule>& rules);

/// A value with its blanks collapsed outside strings, colours and zero lengths short.
std::string ShortValue(std::string_view property, std::string_view value);

/// text with blanks (space, tab, newline, return, form feed) cut from both ends.
std::string_view TrimCssBlanks(std::string_view text);

/// text with the ASCII capitals A-Z made small; other bytes stay as they are.
std::string AsciiLower(std::string_view text);

} // namespace pelmora
