#include "engine/PresentationalHints.h"
#include "engine/CssSyntax.h"
#include "engine/MarkupText.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace pelmora {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A non-negative whole number of pixels, as browsers read border, cellpadding and the
// like ("3px" reads as 3); nullopt when there is no number.
std::optional<long> Pixels(std::string_view value) {
    value = TrimCssBlanks(value);
    std::size_t i = 0;
    if (i < value.size() && value[i] == '+') {
        ++i;
    }
    if (i >= value.size() || !IsDigit(value[i])) {
        return std::nullopt;
    }
    long n = 0;
    for (; i < value.size() && IsDigit(value[i]); ++i) {
        n = std::min(n * 10 + (value[i] - '0'), 100000L);
    }
    return n;
}

void Add(CssDeclarations& into, std::string property, std::string value) {
    if (!value.empty()) {
        into.push_back({std::move(property), std::move(value), false});
    }
}

std::string Px(long n) {
    return std::to_string(n) + "px";
}

// text-align for an align attribute of a block or a table part.
const char* TextAlign(const std::string& align, std::optional<BlockAlign>& passes) {
    if (align == "left") {
        passes = BlockAlign::Left;
        return "left";
    }
    if (align == "right") {
        passes = BlockAlign::Right;
        return "right";
    }
    if (align == "center" || align == "middle") {
        passes = BlockAlign::Center;
        return "center";
    }
    if (align == "justify") {
        passes = BlockAlign::None;
        return "justify";
    }
    return nullptr;
}

void TableHints(HtmlNode& table, CssDeclarations& out) {
    Add(out, "width", CssLength(table.Take("width")));
    Add(out, "height", CssLength(table.Take("height")));
    const std::optional<long> border = Pixels(table.Take("border"));
    const std::string borderColor = CssColor(table.Take("bordercolor"));
    if (border && *border > 0) {
        Add(out, "border-width", Px(*border));
        Add(out, "border-style", borderColor.empty() ? "outset" : "solid");
    }
    Add(out, "border-color", borderColor);
    if (const std::optional<long> spacing = Pixels(table.Take("cellspacing"))) {
        Add(out, "border-spacing", Px(*spacing));
    }
    table.Take("cellpadding");
    table.Take("frame");
    table.Take("rules");
    table.Take("summary");
    const std::string align = AsciiLower(TrimCssBlanks(table.Take("align")));
    if (align == "left" || align == "right") {
        Add(out, "float", align);
    } else if (align == "center") {
        Add(out, "margin-left", "auto");
        Add(out, "margin-right", "auto");
    }
}

void ImageHints(HtmlNode& image, CssDeclarations& out) {
    const std::string align = AsciiLower(TrimCssBlanks(image.Take("align")));
    if (align == "left" || align == "right") {
        Add(out, "float", align);
    } else if (align == "top" || align == "texttop") {
        Add(out, "vertical-align", align == "top" ? "top" : "text-top");
    } else if (align == "absmiddle" || align == "abscenter" || align == "center") {
        Add(out, "vertical-align", "middle");
    } else if (align == "absbottom") {
        Add(out, "vertical-align", "bottom");
    }
    const std::optional<long> border = Pixels(image.Find("border") ? *image.Find("border") : "");
    if (align == "middle") {
        // Browsers put the picture's middle on the baseline: as far down as half of it.
        const std::string* height = image.Find("height");
        const std::string* space = image.Find("vspace");
        const std::optional<long> h = height == nullptr ? std::nullopt : Pixels(*height);
        const long box = h.value_or(0) + 2 * border.value_or(0) +
                         2 * (space == nullptr ? 0 : Pixels(*space).value_or(0));
        if (h && std::all_of(height->begin(), height->end(), IsDigit)) {
            Add(out, "vertical-align",
                box == 0 ? "0" : "-" + std::to_string(box / 2) + (box % 2 ? ".5px" : "px"));
        } else {
            image.Set("align", "middle"); // no CSS value says this without the height
        }
    }
    image.Take("border");
    if (border && *border > 0) {
        Add(out, "border", Px(*border) + " solid");
    }
    if (const std::optional<long> h = Pixels(image.Take("hspace"))) {
        Add(out, "margin-left", Px(*h));
        Add(out, "margin-right", Px(*h));
    }
    if (const std::optional<long> v = Pixels(image.Take("vspace"))) {
        Add(out, "margin-top", Px(*v));
        Add(out, "margin-bottom", Px(*v));
    }
    for (const char* size : {"width", "height"}) {
        const std::string* value = image.Find(size);
        if (value != nullptr &&
            (value->empty() || !std::all_of(value->begin(), value->end(), IsDigit))) {
            Add(out, size, CssLength(image.Take(size)));
        }
    }
}

void TablePartHints(HtmlNode& part, CssDeclarations& out, std::optional<BlockAlign>& align) {
    const bool cell = part.Is("td") || part.Is("th");
    Add(out, "background-color", CssColor(part.Take("bgcolor")));
    const std::string valign = AsciiLower(TrimCssBlanks(part.Take("valign")));
    if (OneOf(valign, {"top", "middle", "bottom", "baseline"})) {
        Add(out, "vertical-align", valign);
    }
    if (part.Is("col") || part.Is("colgroup")) {
        part.Take("align");
        part.Take("char");
        part.Take("charoff");
        const std::string width = CssLength(part.Take("width"));
        Add(out, "width", width);
        return;
    }
    if (const char* text = TextAlign(AsciiLower(TrimCssBlanks(part.Take("align"))), align)) {
        Add(out, "text-align", text);
    }
    const bool noWrap = part.Find("nowrap") != nullptr;
    part.Take("nowrap");
    for (const char* size : {"width", "height"}) {
        const std::string value = part.Take(size);
        const std::optional<long> n = Pixels(value);
        if (!cell && std::string_view(size) == "width") {
            continue;
        }
        if (n && *n > 0) {
            Add(out, size, CssLength(value));
        }
    }
    if (noWrap) {
        Add(out, "white-space", "nowrap");
    }
    part.Take("char");
    part.Take("charoff");
    part.Take("abbr");
    part.Take("axis");
    part.Take("scope");
}

void FontHints(HtmlNode& font, CssDeclarations& out) {
    Add(out, "font-family", CssFontFamily(font.Take("face")));
    Add(out, "font-size", CssFontSize(font.Take("size")));
    Add(out, "color", CssColor(font.Take("color")));
    font.name = "span";
}

void ListHints(HtmlNode& list, CssDeclarations& out) {
    const std::string* type = list.Find("type");
    if (type == nullptr || list.Is("ol")) {
        return;
    }
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 8> kTypes{{
        {"disc", "disc"},
        {"circle", "circle"},
        {"square", "square"},
        {"1", "decimal"},
        {"a", "lower-alpha"},
        {"A", "upper-alpha"},
        {"i", "lower-roman"},
        {"I", "upper-roman"},
    }};
    for (const auto& [html, css] : kTypes) {
        if (TrimCssBlanks(*type) == html ||
            (html.size() > 1 && AsciiLower(TrimCssBlanks(*type)) == html)) {
            Add(out, "list-style-type", std::string(css));
        }
    }
    list.Take("type");
}

} // namespace

std::string CssColor(std::string_view value) {
    value = TrimCssBlanks(value);
    const std::string lower = AsciiLower(value);
    if (lower.empty() || lower == "transparent") {
        return {};
    }
    const auto isHex = [](std::string_view digits) {
        return std::all_of(digits.begin(), digits.end(),
                           [](char c) { return IsDigit(c) || (c >= 'a' && c <= 'f'); });
    };
    if (lower[0] == '#' && (lower.size() == 4 || lower.size() == 7) && isHex(lower.substr(1))) {
        return lower;
    }
    if (lower.size() == 6 && isHex(lower)) {
        return "#" + lower;
    }
    if (std::all_of(lower.begin(), lower.end(), [](char c) { return c >= 'a' && c <= 'z'; })) {
        return lower;
    }
    return {};
}

std::string CssLength(std::string_view value) {
    value = TrimCssBlanks(value);
    std::size_t i = 0;
    while (i < value.size() && (IsDigit(value[i]) || value[i] == '.')) {
        ++i;
    }
    const std::string_view number = value.substr(0, i);
    if (number.empty() || !IsDigit(number[0]) ||
        std::count(number.begin(), number.end(), '.') > 1) {
        return {};
    }
    if (i < value.size() && value[i] == '*') {
        return {}; // a share of the rest, which browsers do not apply
    }
    std::string css(number);
    if (css.back() == '.') {
        css.pop_back();
    }
    return css + (i < value.size() && value[i] == '%' ? "%" : "px");
}

std::string CssFontFamily(std::string_view face) {
    std::string out;
    std::size_t from = 0;
    while (from <= face.size()) {
        std::size_t comma = face.find(',', from);
        comma = comma == std::string_view::npos ? face.size() : comma;
        const std::string_view name = TrimCssBlanks(face.substr(from, comma - from));
        from = comma + 1;
        if (name.empty()) {
            return {};
        }
        const bool quoted =
            name.size() >= 2 && (name[0] == '"' || name[0] == '\'') && name.back() == name[0];
        bool plain = !quoted;
        bool wordStart = true;
        for (const char c : name) {
            const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' ||
                                static_cast<unsigned char>(c) >= 0x80;
            if (c == ' ') {
                wordStart = true;
                continue;
            }
            plain = plain && (letter || c == '-' || (!wordStart && IsDigit(c)));
            wordStart = false;
        }
        if (!plain && !quoted) {
            // A name a browser cannot read as CSS words: quoted, as it was meant.
            if (name.find_first_of("'\\") != std::string_view::npos) {
                return {};
            }
            out += (out.empty() ? "'" : ",'") + std::string(name) + "'";
            continue;
        }
        out += (out.empty() ? "" : ",") + std::string(name);
    }
    return out;
}

std::string CssFontSize(std::string_view size) {
    size = TrimCssBlanks(size);
    int sign = 0;
    if (!size.empty() && (size[0] == '+' || size[0] == '-')) {
        sign = size[0] == '+' ? 1 : -1;
        size.remove_prefix(1);
    }
    const std::optional<long> n = Pixels(size);
    if (!n || size.empty() || !IsDigit(size[0])) {
        return {};
    }
    const long level = std::clamp(sign == 0 ? *n : 3 + sign * *n, 1L, 7L);
    static constexpr const char* kKeywords[] = {"x-small", "small",    "medium",   "large",
                                                "x-large", "xx-large", "xxx-large"};
    return kKeywords[level - 1];
}

CellHints CellHintsOf(const HtmlNode& table) {
    CellHints hints;
    const std::string* padding = table.Find("cellpadding");
    if (padding != nullptr) {
        if (const std::optional<long> n = Pixels(*padding)) {
            Add(hints.declarations, "padding", Px(*n));
        }
    }
    const std::string* border = table.Find("border");
    const std::optional<long> width = border == nullptr ? std::nullopt : Pixels(*border);
    if (width && *width > 0) {
        const bool colored = table.Find("bordercolor") != nullptr;
        Add(hints.declarations, "border-width", "1px");
        Add(hints.declarations, "border-style", colored ? "solid" : "inset");
        Add(hints.declarations, "border-color", "inherit");
    }
    return hints;
}

CssDeclarations TakePresentationalHints(HtmlNode& element, const CellHints* cell,
                                        std::optional<BlockAlign>& align) {
    CssDeclarations out;
    const std::string& name = element.name;
    if (cell != nullptr) {
        out = cell->declarations;
    }
    if (name == "font") {
        FontHints(element, out);
    } else if (name == "table") {
        Add(out, "background-color", CssColor(element.Take("bgcolor")));
        TableHints(element, out);
    } else if (OneOf(name, {"td", "th", "tr", "tbody", "thead", "tfoot", "col", "colgroup"})) {
        TablePartHints(element, out, align);
    } else if (name == "img") {
        ImageHints(element, out);
    } else if (name == "center") {
        element.name = "div";
        Add(out, "text-align", "center");
        align = BlockAlign::Center;
    } else if (OneOf(name, {"p", "div", "h1", "h2", "h3", "h4", "h5", "h6", "caption", "legend"})) {
        if (const char* text = TextAlign(AsciiLower(TrimCssBlanks(element.Take("align"))), align)) {
            Add(out, "text-align", text);
        }
    } else if (name == "br") {
        const std::string clear = AsciiLower(TrimCssBlanks(element.Take("clear")));
        if (clear == "left" || clear == "right") {
            Add(out, "clear", clear);
        } else if (clear == "all" || clear == "both") {
            Add(out, "clear", "both");
        }
    } else if (name == "ul" || name == "li" || name == "ol") {
        ListHints(element, out);
        element.Take("compact");
    } else if (name == "hr") {
        Add(out, "width", CssLength(element.Take("width")));
        const std::string a = AsciiLower(TrimCssBlanks(element.Take("align")));
        if (a == "left" || a == "right" || a == "center") {
            Add(out, "margin-left", a == "left" ? "0" : "auto");
            Add(out, "margin-right", a == "right" ? "0" : "auto");
        }
    }
    if (name == "body" || name == "table" ||
        OneOf(name, {"td", "th", "tr", "tbody", "thead", "tfoot"})) {
        const std::string background = element.Take("background");
        if (!background.empty() && background.find_first_of("\"\\()") == std::string::npos) {
            Add(out, "background-image", "url(\"" + background + "\")");
        }
    }
    return out;
}

} // namespace pelmora
