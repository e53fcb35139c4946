#include "engine/CssSyntax.h"

#include "engine/MarkupText.h"

#include <algorithm>

namespace pelmora {

namespace {

// Copies text without comments; strings and escapes are kept as they are.
std::string WithoutComments(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
            const std::size_t end = text.find("*/", i + 2);
            i = end == std::string_view::npos ? text.size() : end + 1;
            out += ' ';
            continue;
        }
        out += c;
        if (c == '\\' && i + 1 < text.size()) {
            out += text[++i];
        } else if (c == '"' || c == '\'') {
            for (++i; i < text.size(); ++i) {
                out += text[i];
                if (text[i] == '\\' && i + 1 < text.size()) {
                    out += text[++i];
                } else if (text[i] == c || text[i] == '\n') {
                    break;
                }
            }
        }
    }
    return out;
}

// Position of the first stop character at nesting level 0 from `at`, outside
// strings; text.size() when there is none.
std::size_t FindTopLevel(std::string_view text, std::size_t at, std::string_view stops) {
    int depth = 0;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '\\') {
            ++at;
        } else if (c == '"' || c == '\'') {
            for (++at; at < text.size() && text[at] != c && text[at] != '\n'; ++at) {
                if (text[at] == '\\') {
                    ++at;
                }
            }
        } else if (depth == 0 && std::find(stops.begin(), stops.end(), c) != stops.end()) {
            return at;
        } else if (c == '(' || c == '[' || c == '{') {
            ++depth;
        } else if ((c == ')' || c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return text.size();
}

// Position of the quote that ends the string opened at `at` (or the text's end).
std::size_t StringEnd(std::string_view text, std::size_t at) {
    const char quote = text[at];
    for (++at; at < text.size() && text[at] != quote; ++at) {
        if (text[at] == '\\') {
            ++at;
        }
    }
    return std::min(at, text.size());
}

bool IsWordChar(char c) {
    return IsHexDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' ||
           c == '_' || c == '.' || c == '%' || static_cast<unsigned char>(c) >= 0x80;
}

// Appends one word of a value (outside strings and functions) in a shorter form.
void AppendShortWord(std::string& out, std::string_view word) {
    if (word.size() == 7 && word[0] == '#' &&
        std::all_of(word.begin() + 1, word.end(), IsHexDigit)) {
        const std::string hex = AsciiLower(word);
        if (hex[1] == hex[2] && hex[3] == hex[4] && hex[5] == hex[6]) {
            out += {'#', hex[1], hex[3], hex[5]};
        } else {
            out += hex;
        }
        return;
    }
    // 0in, 0.0pt ... -> 0; 0.5in -> .5in
    std::size_t digits = 0;
    while (digits < word.size() && (word[digits] == '0' || word[digits] == '.')) {
        ++digits;
    }
    if (digits > 0 && word[0] == '0') {
        const std::string_view unit = word.substr(digits);
        if (unit == "in" || unit == "cm" || unit == "mm" || unit == "pt" || unit == "pc" ||
            unit == "px") {
            out += '0';
            return;
        }
        if (word.size() > 2 && word[1] == '.' && word[2] >= '0' && word[2] <= '9') {
            word.remove_prefix(1);
        }
    }
    out += word;
}

// Selectors with blanks collapsed, and none beside commas and combinators.
std::string ShortSelectors(std::string_view selectors) {
    std::string out;
    bool blank = false;
    for (const char c : selectors) {
        if (IsBlank(c)) {
            blank = true;
            continue;
        }
        const bool joins = c == ',' || c == '>' || c == '+' || c == '~';
        if (blank && !out.empty() && !joins && out.back() != ',' && out.back() != '>' &&
            out.back() != '+' && out.back() != '~') {
            out += ' ';
        }
        blank = false;
        out += c;
    }
    return out;
}

// Appends ShortValue(property, value) to out.
void AppendShortValue(std::string& out, std::string_view property, std::string_view value) {
    // Font names are written as they were: a word of one may look like a colour.
    const bool keepWords = property == "font-family" || property == "font";
    const std::size_t start = out.size();
    value = TrimCssBlanks(value);
    std::size_t i = 0;
    while (i < value.size()) {
        const char c = value[i];
        if (IsBlank(c)) {
            while (i < value.size() && IsBlank(value[i])) {
                ++i;
            }
            const char next = i < value.size() ? value[i] : ',';
            if (out.size() > start && out.back() != ',' && out.back() != '(' && next != ',' &&
                next != ')') {
                out += ' ';
            }
            continue;
        }
        if (c == '"' || c == '\'' || c == '(' || c == '\\') {
            const std::size_t end = c == '(' ? FindTopLevel(value, i + 1, ")")
                                             : (c == '\\' ? i + 1 : StringEnd(value, i));
            const std::size_t stop = std::min(end + 1, value.size());
            out.append(value.substr(i, stop - i));
            i = stop;
            continue;
        }
        if (!IsWordChar(c) && c != '#') {
            out += c;
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        while (end < value.size() && IsWordChar(value[end])) {
            ++end;
        }
        if (end < value.size() && value[end] == '(') {
            out.append(value.substr(i, end - i)); // a function's name
        } else if (keepWords) {
            out.append(value.substr(i, end - i));
        } else {
            AppendShortWord(out, value.substr(i, end - i));
        }
        i = end;
    }
}

} // namespace

std::string_view TrimCssBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string AsciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + 32);
        }
    }
    return out;
}

std::string ShortValue(std::string_view property, std::string_view value) {
    std::string out;
    out.reserve(value.size());
    AppendShortValue(out, property, value);
    return out;
}

CssDeclarations ParseDeclarations(std::string_view block) {
    std::string text;
    if (block.find("/*") != std::string_view::npos) {
        text = WithoutComments(block);
        block = text;
    }
    const std::string_view all = block;
    CssDeclarations declarations;
    std::size_t at = 0;
    while (at < all.size()) {
        const std::size_t end = FindTopLevel(all, at, ";");
        const std::string_view item = all.substr(at, end - at);
        at = end + 1;
        const std::size_t colon = item.find(':');
        if (colon == std::string_view::npos) {
            continue;
        }
        const std::string_view property = TrimCssBlanks(item.substr(0, colon));
        std::string_view value = TrimCssBlanks(item.substr(colon + 1));
        if (property.empty() || value.empty() ||
            property.find_first_of("\"'(){}[] \t\n") != std::string_view::npos) {
            continue;
        }
        bool important = false;
        const std::size_t bang = value.rfind('!');
        if (bang != std::string_view::npos &&
            AsciiLower(TrimCssBlanks(value.substr(bang + 1))) == "important") {
            important = true;
            value = TrimCssBlanks(value.substr(0, bang));
        }
        declarations.push_back({AsciiLower(property), std::string(value), important});
    }
    return declarations;
}

std::string WriteDeclarations(const CssDeclarations& declarations) {
    std::string out;
    for (const CssDeclaration& d : declarations) {
        if (!out.empty()) {
            out += ';';
        }
        out += d.property;
        out += ':';
        AppendShortValue(out, d.property, d.value);
        if (d.important) {
            out += "!important";
        }
    }
    return out;
}

const CssDeclaration* FindDeclaration(const CssDeclarations& declarations,
                                      std::string_view property) {
    for (auto d = declarations.rbegin(); d != declarations.rend(); ++d) {
        if (d->property == property) {
            return &*d;
        }
    }
    return nullptr;
}

bool RemoveDeclaration(CssDeclarations& declarations, std::string_view property) {
    const std::size_t before = declarations.size();
    std::erase_if(declarations, [&](const CssDeclaration& d) { return d.property == property; });
    return declarations.size() != before;
}

bool PropertiesOverlap(std::string_view property, std::string_view longhand) {
    if (property == longhand) {
        return true;
    }
    if (property.size() > longhand.size()) {
        std::swap(property, longhand);
    }
    if (property == "all") {
        return true;
    }
    if (longhand.substr(0, property.size()) != property || longhand[property.size()] != '-') {
        return false;
    }
    // border sets border-top-color, but not border-spacing or border-collapse.
    const std::string_view rest = longhand.substr(property.size() + 1);
    return !(property == "border" &&
             (rest == "spacing" || rest == "collapse" || rest.substr(0, 5) == "image"));
}

std::vector<CssRule> ParseStyleSheet(std::string_view sheet) {
    std::string text;
    if (sheet.find("/*") != std::string_view::npos) {
        text = WithoutComments(sheet);
        sheet = text;
    }
    const std::string_view all = sheet;
    std::vector<CssRule> rules;
    std::size_t at = 0;
    while (at < all.size()) {
        const std::size_t open = FindTopLevel(all, at, "{;");
        const std::string_view prelude = TrimCssBlanks(all.substr(at, open - at));
        if (open >= all.size() || all[open] == ';') {
            if (!prelude.empty() && prelude != "<!--" && prelude != "-->") {
                rules.push_back({"", {}, std::string(prelude) + ";"});
            }
            at = open + 1;
            continue;
        }
        const std::size_t close = FindTopLevel(all, open + 1, "}");
        const std::string_view block = all.substr(open + 1, close - open - 1);
        at = close + 1;
        std::string_view selectors = prelude;
        if (selectors.substr(0, 4) == "<!--") {
            selectors = TrimCssBlanks(selectors.substr(4));
        }
        const bool plainAtRule = selectors == "@page" || selectors.substr(0, 10) == "@font-face";
        if (!selectors.empty() && selectors[0] == '@' && !plainAtRule) {
            rules.push_back(
                {"", {}, std::string(selectors) + "{" + std::string(TrimCssBlanks(block)) + "}"});
            continue;
        }
        rules.push_back({ShortSelectors(selectors), ParseDeclarations(block), ""});
    }
    return rules;
}

std::string WriteStyleSheet(const std::vector<CssRule>& rules) {
    std::string out;
    for (const CssRule& rule : rules) {
        if (!rule.verbatim.empty()) {
            out += rule.verbatim;
        } else if (!rule.declarations.empty()) {
            out += rule.selectors;
            out += '{';
            out += WriteDeclarations(rule.declarations);
            out += '}';
        }
    }
    return out;
}

} // namespace pelmora
