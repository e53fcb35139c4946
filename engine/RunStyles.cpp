#include "engine/RunStyles.h"

#include "engine/CssSyntax.h"
#include "engine/MarkupText.h"
#include "engine/StyleSheetIndex.h"

#include <algorithm>
#include <array>
#include <deque>
#include <initializer_list>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace pelmora {

namespace {

constexpr std::array<std::string_view, 3> kRunProperties = {"font-family", "font-size", "color"};

// What a run inherits: the computed font family, size and colour, where known (null
// where not). The values live in the walk's store, shared by every run that has them.
using Inherited = std::array<const std::string*, 3>;

// One walk over the runs of a page.
struct Walk {
    const StyleSheetIndex& sheet;
    std::deque<std::string> values; // the values Inherited points to
    std::vector<HtmlNode*> bare;    // spans left without attributes
    // Style attributes read so far: a page repeats few styles over many runs.
    std::unordered_map<std::string, CssDeclarations> read;

    // The declarations of the element's style attribute (none when it has none).
    const CssDeclarations& StyleOf(const HtmlNode& element) {
        static const CssDeclarations kNone;
        const std::string* style = element.Find("style");
        if (style == nullptr) {
            return kNone;
        }
        const auto known = read.find(*style);
        return known != read.end() ? known->second
                                   : read.emplace(*style, ParseDeclarations(*style)).first->second;
    }
};

// A value as a browser compares it: names in lower case, blanks and quotes that
// change nothing gone (generic family names keep their quotes: quoted, they are names).
std::string Comparable(std::string_view property, std::string_view value) {
    std::string text = ShortValue(property, value);
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + 32);
        }
    }
    if (property != "font-family") {
        return text;
    }
    std::string out;
    out.reserve(text.size());
    const std::string_view all = text;
    std::size_t from = 0;
    while (from <= all.size()) {
        std::size_t comma = all.find(',', from);
        comma = comma == std::string_view::npos ? all.size() : comma;
        std::string_view name = all.substr(from, comma - from);
        from = comma + 1;
        if (name.size() >= 2 && (name[0] == '"' || name[0] == '\'') && name.back() == name[0]) {
            const std::string_view inner = name.substr(1, name.size() - 2);
            if (!OneOf(inner, {"serif", "sans-serif", "monospace", "cursive", "fantasy",
                               "system-ui", "inherit", "initial", "default"})) {
                name = inner;
            }
        }
        if (!out.empty()) {
            out += ',';
        }
        out += name;
    }
    return out;
}

// Values that depend on more than the parent's same value.
bool IsRelative(std::string_view property, std::string_view value) {
    if (property != "font-size") {
        return OneOf(value, {"inherit", "initial", "unset", "revert", "currentcolor"});
    }
    return value.find('%') != std::string_view::npos ||
           value.find("em") != std::string_view::npos ||
           value.find("ex") != std::string_view::npos ||
           value.find("ch") != std::string_view::npos ||
           OneOf(value, {"larger", "smaller", "inherit", "initial", "unset", "revert"});
}

// Elements the browser's own style gives a font, size or colour.
bool BrowserSets(const HtmlNode& element, std::size_t property) {
    const bool monospace =
        OneOf(element.name, {"code", "pre", "kbd", "samp", "tt", "listing", "xmp", "plaintext",
                             "textarea", "input", "select", "button"});
    switch (property) {
    case 0:
        return monospace;
    case 1:
        return monospace || OneOf(element.name, {"h1", "h2", "h3", "h4", "h5", "h6", "small", "big",
                                                 "sub", "sup", "font"});
    default:
        return OneOf(element.name, {"a", "mark", "input", "select", "button", "textarea", "font"});
    }
}

Inherited Own(const HtmlNode& element, const CssDeclarations& style, const Inherited& parent,
              Walk& walk) {
    Inherited own{};
    for (std::size_t p = 0; p < kRunProperties.size(); ++p) {
        const std::string_view property = kRunProperties[p];
        const CssDeclaration* set = nullptr;
        for (const CssDeclaration& d : style) {
            if (PropertiesOverlap(d.property, property)) {
                set = &d;
            }
        }
        std::optional<std::string_view> value;
        if (set != nullptr) {
            value = set->property == property ? std::optional<std::string_view>(set->value)
                                              : std::nullopt;
        } else {
            value = walk.sheet.ValueOn(element, property);
            if (value && value->empty()) {
                own[p] = BrowserSets(element, p) ? nullptr : parent[p];
                continue;
            }
        }
        if (value && !IsRelative(property, *value)) {
            own[p] = &walk.values.emplace_back(Comparable(property, *value));
        }
    }
    return own;
}

// Whether the element's lines may be justified. A browser spreads a justified line's
// spare room run by run, so there every run keeps its own element, styled or not.
bool Justified(const HtmlNode& element, const CssDeclarations& style, bool parent,
               const StyleSheetIndex& sheet) {
    if (const CssDeclaration* align = FindDeclaration(style, "text-align")) {
        return align->value == "justify";
    }
    const std::optional<std::string_view> value = sheet.ValueOn(element, "text-align");
    return !value || (value->empty() ? parent : *value == "justify");
}

void Shorten(HtmlNode& element, const Inherited& parent, bool parentJustified, Walk& walk) {
    const CssDeclarations& style = walk.StyleOf(element);
    const Inherited own = Own(element, style, parent, walk);
    const bool justified = Justified(element, style, parentJustified, walk.sheet);
    // A value the run inherits anyway says nothing.
    const auto inherited = [&](const CssDeclaration& d) {
        for (std::size_t p = 0; p < kRunProperties.size(); ++p) {
            if (d.property == kRunProperties[p] && !d.important && parent[p] != nullptr &&
                *parent[p] == Comparable(d.property, d.value)) {
                return true;
            }
        }
        return false;
    };
    if (element.Is("span") && std::any_of(style.begin(), style.end(), inherited)) {
        CssDeclarations kept = style;
        std::erase_if(kept, inherited);
        if (kept.empty()) {
            element.Take("style");
        } else {
            element.Set("style", WriteDeclarations(kept));
        }
    }
    for (HtmlNode* child : element.children) {
        if (child->kind == HtmlNode::Kind::Element) {
            Shorten(*child, own, justified, walk);
        }
    }
    if (element.Is("span") && element.attributes.empty() && !justified) {
        walk.bare.push_back(&element);
    }
}

// True when the declarations compute the same on a span as on the span around it.
bool JoinsSafely(const CssDeclarations& declarations) {
    return std::all_of(declarations.begin(), declarations.end(), [](const CssDeclaration& d) {
        return OneOf(d.property, {"font-family", "font-size", "color", "font-style", "font-weight",
                                  "font-variant", "text-transform"}) &&
               !d.important && !IsRelative(d.property, d.value) &&
               d.value.find("em") == std::string::npos;
    });
}

bool OnlyStyleAndLang(const HtmlNode& span) {
    return std::all_of(span.attributes.begin(), span.attributes.end(), [](const HtmlAttribute& a) {
        return a.name == "style" || a.name == "lang";
    });
}

// Joins a span that wraps nothing but one span into that one, innermost first.
void Join(HtmlNode& element, Walk& walk) {
    for (HtmlNode* child : element.children) {
        if (child->kind == HtmlNode::Kind::Element) {
            Join(*child, walk);
        }
    }
    if (!element.Is("span") || element.children.size() != 1 || !element.children[0]->Is("span")) {
        return;
    }
    HtmlNode& inner = *element.children[0];
    if (!OnlyStyleAndLang(element) || !OnlyStyleAndLang(inner)) {
        return;
    }
    const CssDeclarations& outer = walk.StyleOf(element);
    const CssDeclarations& more = walk.StyleOf(inner);
    if (!JoinsSafely(outer) || !JoinsSafely(more)) {
        return;
    }
    CssDeclarations all = outer;
    for (const CssDeclaration& d : more) {
        RemoveDeclaration(all, d.property);
        all.push_back(d);
    }
    if (const std::string* lang = inner.Find("lang")) {
        element.Set("lang", *lang);
    }
    if (!all.empty()) {
        element.Set("style", WriteDeclarations(all));
    }
    inner.Unwrap();
}

} // namespace

void ShortenRunStyles(HtmlNode& root, const StyleSheetIndex& sheet) {
    Walk walk{sheet, {}, {}, {}};
    Shorten(root, Inherited{}, false, walk);
    HtmlNode::UnwrapAll(walk.bare);
    Join(root, walk);
}

} // namespace pelmora
