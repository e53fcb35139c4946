#pragma once
// Small tests on the text of pages and style sheets that the page rewrite shares:
// HTML's blanks, hexadecimal digits, a name out of a short list, the heading names.

#include <algorithm>
#include <initializer_list>
#include <string_view>

namespace pelmora {

/// True for the blanks of HTML and CSS: space, tab, newline, return and form feed.
constexpr bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

/// True for the digits of a hexadecimal number, in either case.
constexpr bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

/// True when name is one of names.
inline bool OneOf(std::string_view name, std::initializer_list<std::string_view> names) {
    // The length and first letter rule out most names without comparing the rest.
    return std::any_of(names.begin(), names.end(), [name](std::string_view candidate) {
        return candidate.size() == name.size() &&
               (name.empty() || (candidate[0] == name[0] && candidate == name));
    });
}

/// True for the (lower-case) names h1 to h6.
bool IsHeadingName(std::string_view name);

} // namespace pelmora
