#include "engine/StyleSheetIndex.h"
#include "engine/CssSyntax.h"
#include "engine/MarkupText.h"

#include <algorithm>

namespace pelmora {

namespace {

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || static_cast<unsigned char>(c) >= 0x80;
}

// Splits a selector list at its top-level commas.
std::vector<std::string_view> SplitList(std::string_view list) {
    std::vector<std::string_view> parts;
    int depth = 0;
    std::size_t from = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const char c = list[i];
        if (c == '(' || c == '[') {
            ++depth;
        } else if ((c == ')' || c == ']') && depth > 0) {
            --depth;
        } else if (c == ',' && depth == 0) {
            parts.push_back(list.substr(from, i - from));
            from = i + 1;
        }
    }
    parts.push_back(list.substr(from));
    return parts;
}

// Where the last compound of a selector begins: it decides which element the rule styles.
std::size_t LastCompoundStart(std::string_view text) {
    std::size_t start = text.size();
    while (start > 0 && !IsBlank(text[start - 1]) && text[start - 1] != '>' &&
           text[start - 1] != '+' && text[start - 1] != '~') {
        --start;
    }
    return start;
}

} // namespace

std::vector<std::string_view> ClassesOf(const HtmlNode& element) {
    std::vector<std::string_view> classes;
    const std::string* value = element.Find("class");
    if (value == nullptr) {
        return classes;
    }
    const std::string_view text = *value;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i])) {
            ++i;
        }
        const std::size_t from = i;
        while (i < text.size() && !IsBlank(text[i])) {
            ++i;
        }
        if (i > from) {
            classes.push_back(text.substr(from, i - from));
        }
    }
    return classes;
}

std::size_t StyleSheetIndex::ReadPart(std::string_view text, std::size_t at, bool last,
                                      Selector& selector, Parts& parts) {
    const char c = text[at];
    std::size_t end = at + 1;
    while (end < text.size() && (IsNameChar(text[end]) || text[end] == ':')) {
        ++end;
    }
    const std::string_view name = text.substr(at + 1, end - at - 1);
    if (c == '.') {
        classes_.emplace(name);
        if (last) {
            selector.classes.emplace_back(name);
        }
    } else {
        selector.onlyCompound = selector.onlyCompound && !last;
        outranks_ = outranks_ || c == '#';
    }
    if (c == '[') {
        end = std::min(text.find(']', end), text.size()) + 1;
    }
    if (end < text.size() && text[end] == '(') {
        end = std::min(text.find(')', end), text.size()) + 1;
    }
    // A pseudo-element ("::before") counts as a type.
    const bool element = c == ':' && name.substr(0, 1) == ":";
    parts.classes += element ? 0 : 1;
    parts.types += element ? 1 : 0;
    return std::min(end, text.size());
}

StyleSheetIndex::Selector StyleSheetIndex::ReadSelector(std::string_view text, std::size_t rule) {
    Selector selector;
    selector.rule = rule;
    Parts parts;
    const std::size_t start = LastCompoundStart(text);
    selector.onlyCompound = text.find_first_not_of(" \t\n") == start;
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        const bool last = i >= start;
        if (c == '.' || c == '#' || c == ':' || c == '[') {
            i = ReadPart(text, i, last, selector, parts);
        } else if (IsNameChar(c) || c == '*') {
            std::size_t end = i + 1;
            while (end < text.size() && IsNameChar(text[end])) {
                ++end;
            }
            parts.types += c != '*' ? 1 : 0;
            if (last) {
                selector.type = AsciiLower(text.substr(i, end - i));
            }
            i = end;
        } else {
            ++i;
        }
    }
    selector.specificity = parts.classes * 256 + parts.types;
    mostClasses_ = std::max(mostClasses_, parts.classes);
    return selector;
}

StyleSheetIndex::StyleSheetIndex(const std::vector<CssRule>& rules) : rules_(rules) {
    for (std::size_t r = 0; r < rules.size(); ++r) {
        const CssRule& rule = rules[r];
        for (const CssDeclaration& d : rule.declarations) {
            outranks_ = outranks_ || d.important;
        }
        if (!rule.verbatim.empty() || rule.selectors.empty() || rule.selectors[0] == '@') {
            continue;
        }
        for (const std::string_view text : SplitList(rule.selectors)) {
            selectors_.push_back(ReadSelector(text, r));
        }
    }
}

StyleSheetIndex::Match StyleSheetIndex::Matches(const Selector& selector, const HtmlNode& element,
                                                const std::vector<std::string_view>& has) {
    if (!selector.type.empty() && selector.type != "*" && selector.type != element.name) {
        return Match::No;
    }
    for (const std::string& needed : selector.classes) {
        if (std::find(has.begin(), has.end(), needed) == has.end()) {
            return Match::No;
        }
    }
    return selector.onlyCompound ? Match::Yes : Match::Maybe;
}

const std::vector<StyleSheetIndex::Setter>&
StyleSheetIndex::SettersOf(std::string_view property) const {
    for (const auto& [asked, setters] : setters_) {
        if (asked == property) {
            return setters;
        }
    }
    std::vector<Setter>& setters =
        setters_.emplace_back(std::string(property), std::vector<Setter>()).second;
    for (const Selector& selector : selectors_) {
        const CssDeclaration* last = nullptr;
        for (const CssDeclaration& d : rules_[selector.rule].declarations) {
            if (PropertiesOverlap(d.property, property)) {
                last = &d;
            }
        }
        if (last != nullptr) {
            setters.push_back({&selector, last});
        }
    }
    return setters;
}

bool StyleSheetIndex::MaySet(const HtmlNode& element, std::string_view property) const {
    const std::vector<Setter>& setters = SettersOf(property);
    if (setters.empty()) {
        return false;
    }
    const std::vector<std::string_view> has = ClassesOf(element);
    for (const Setter& setter : setters) {
        if (Matches(*setter.selector, element, has) != Match::No) {
            return true;
        }
    }
    return false;
}

std::optional<std::string_view> StyleSheetIndex::ValueOn(const HtmlNode& element,
                                                         std::string_view property) const {
    const std::vector<Setter>& setters = SettersOf(property);
    if (setters.empty()) {
        return std::string_view();
    }
    const std::vector<std::string_view> has = ClassesOf(element);
    const Selector* best = nullptr;
    const CssDeclaration* value = nullptr;
    for (const Setter& setter : setters) {
        const Match match = Matches(*setter.selector, element, has);
        if (match == Match::Maybe ||
            (match == Match::Yes && setter.declaration->property != property)) {
            return std::nullopt;
        }
        if (match == Match::Yes &&
            (best == nullptr || setter.selector->specificity >= best->specificity)) {
            best = setter.selector;
            value = setter.declaration;
        }
    }
    return value == nullptr ? std::string_view() : std::string_view(value->value);
}

} // namespace pelmora
