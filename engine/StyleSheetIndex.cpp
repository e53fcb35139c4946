#include "engine/StyleSheetIndex.h"
#include "engine/CssSyntax.h"

#include <algorithm>

namespace pelmora {

namespace {

constexpr bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

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

StyleSheetIndex::Selector StyleSheetIndex::ReadSelector(std::string_view text, std::size_t rule) {
    Selector selector;
    selector.rule = rule;
    int classes = 0;
    int types = 0;
    // The last compound decides which element the rule styles.
    std::size_t start = text.size();
    while (start > 0 && !IsBlank(text[start - 1]) && text[start - 1] != '>' &&
           text[start - 1] != '+' && text[start - 1] != '~') {
        --start;
    }
    selector.onlyCompound = text.find_first_not_of(" \t\n") == start;
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        const bool last = i >= start;
        if (c == '.' || c == '#' || c == ':' || c == '[') {
            std::size_t end = i + 1;
            while (end < text.size() && (IsNameChar(text[end]) || text[end] == ':')) {
                ++end;
            }
            const std::string name(text.substr(i + 1, end - i - 1));
            if (c == '.') {
                classes_.insert(name);
                if (last) {
                    selector.classes.push_back(name);
                }
            } else {
                selector.onlyCompound = selector.onlyCompound && !last;
                outranks_ = outranks_ || c == '#';
            }
            if (c == '[' || c == '(') {
                end = std::min(text.find(c == '[' ? ']' : ')', end), text.size());
                ++end;
            }
            if (end < text.size() && text[end] == '(') {
                end = std::min(text.find(')', end), text.size()) + 1;
            }
            classes += c == ':' && name.substr(0, 1) == ":" ? 0 : 1;
            types += c == ':' && name.substr(0, 1) == ":" ? 1 : 0;
            i = std::min(end, text.size());
            continue;
        }
        if (IsNameChar(c) || c == '*') {
            std::size_t end = i + 1;
            while (end < text.size() && IsNameChar(text[end])) {
                ++end;
            }
            if (c != '*') {
                ++types;
            }
            if (last) {
                selector.type = AsciiLower(text.substr(i, end - i));
            }
            i = end;
            continue;
        }
        ++i;
    }
    selector.specificity = classes * 256 + types;
    mostClasses_ = std::max(mostClasses_, classes);
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

StyleSheetIndex::Match StyleSheetIndex::Matches(const Selector& selector, const HtmlNode& element) {
    if (!selector.type.empty() && selector.type != "*" && selector.type != element.name) {
        return Match::No;
    }
    if (!selector.classes.empty()) {
        const std::vector<std::string_view> has = ClassesOf(element);
        for (const std::string& needed : selector.classes) {
            if (std::find(has.begin(), has.end(), needed) == has.end()) {
                return Match::No;
            }
        }
    }
    return selector.onlyCompound ? Match::Yes : Match::Maybe;
}

const std::vector<StyleSheetIndex::Setter>&
StyleSheetIndex::SettersOf(std::string_view property) const {
    const auto known = setters_.find(std::string(property));
    if (known != setters_.end()) {
        return known->second;
    }
    std::vector<Setter>& setters = setters_[std::string(property)];
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
    for (const Setter& setter : SettersOf(property)) {
        if (Matches(*setter.selector, element) != Match::No) {
            return true;
        }
    }
    return false;
}

std::optional<std::string> StyleSheetIndex::ValueOn(const HtmlNode& element,
                                                    std::string_view property) const {
    const Selector* best = nullptr;
    const CssDeclaration* value = nullptr;
    for (const Setter& setter : SettersOf(property)) {
        const Match match = Matches(*setter.selector, element);
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
    return value == nullptr ? std::string() : value->value;
}

} // namespace pelmora
