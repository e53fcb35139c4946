#include "engine/PageRewriter.h"

#include "engine/MarkupText.h"
#include "engine/RunStyles.h"
#include "engine/StyleClasses.h"
#include "engine/StyleSheetIndex.h"

#include <algorithm>
#include <initializer_list>

namespace pelmora {

namespace {

// Elements of HTML; anything else (the office's own, a misspelling) keeps only its
// content.
bool IsHtmlElement(std::string_view name) {
    static const std::unordered_set<std::string_view> kElements = {
        "a",       "abbr",     "address",  "area",     "article",    "aside",    "audio",
        "b",       "base",     "bdi",      "bdo",      "blockquote", "body",     "br",
        "button",  "canvas",   "caption",  "cite",     "code",       "col",      "colgroup",
        "data",    "datalist", "dd",       "del",      "details",    "dfn",      "dialog",
        "div",     "dl",       "dt",       "em",       "embed",      "fieldset", "figcaption",
        "figure",  "footer",   "form",     "h1",       "h2",         "h3",       "h4",
        "h5",      "h6",       "head",     "header",   "hgroup",     "hr",       "html",
        "i",       "iframe",   "img",      "input",    "ins",        "kbd",      "label",
        "legend",  "li",       "link",     "main",     "map",        "mark",     "menu",
        "meta",    "meter",    "nav",      "noscript", "object",     "ol",       "optgroup",
        "option",  "output",   "p",        "param",    "picture",    "pre",      "progress",
        "q",       "rp",       "rt",       "ruby",     "s",          "samp",     "script",
        "search",  "section",  "select",   "slot",     "small",      "source",   "span",
        "strong",  "style",    "sub",      "summary",  "sup",        "table",    "tbody",
        "td",      "template", "textarea", "tfoot",    "th",         "thead",    "time",
        "title",   "tr",       "track",    "u",        "ul",         "var",      "video",
        "wbr",     "font",     "center",   "strike",   "tt",         "big",      "nobr",
        "acronym", "dir",      "multicol"};
    return kElements.count(name) > 0;
}

// Obsolete elements that have a standard one with the same default look.
void RenameObsolete(HtmlNode& element, CssDeclarations& hints) {
    if (element.name == "strike") {
        element.name = "s";
    } else if (element.name == "tt") {
        element.name = "code";
    } else if (element.name == "acronym") {
        element.name = "abbr";
    } else if (element.name == "dir") {
        element.name = "ul";
    } else if (element.name == "multicol") {
        element.name = "div";
    } else if (element.name == "big") {
        element.name = "span";
        hints.push_back({"font-size", "larger", false});
    } else if (element.name == "nobr") {
        element.name = "span";
        hints.push_back({"white-space", "nowrap", false});
    }
}

// Declarations the office writes that mean nothing to a browser or are not CSS.
void DropOfficeDeclarations(CssDeclarations& declarations) {
    std::erase_if(declarations, [](const CssDeclaration& d) {
        return d.property == "so-language" ||
               ((d.property == "orphans" || d.property == "widows") && d.value == "0");
    });
}

bool IsFragmentChar(unsigned char c) {
    return c > 0x20 && c != 0x7F && c != '"' && c != '<' && c != '>' && c != '\\' && c != '^' &&
           c != '`' && c != '{' && c != '}' && c != '|';
}

// An address with the characters a URL may not hold written as %XX escapes: the
// browser escapes them so when it follows the link.
std::string EscapedAddress(std::string_view address) {
    address = TrimCssBlanks(address);
    std::string out;
    for (std::size_t i = 0; i < address.size(); ++i) {
        const auto c = static_cast<unsigned char>(address[i]);
        const bool badPercent =
            c == '%' &&
            !(i + 2 < address.size() && IsHexDigit(address[i + 1]) && IsHexDigit(address[i + 2]));
        if (IsFragmentChar(c) && !badPercent) {
            out += static_cast<char>(c);
            continue;
        }
        static constexpr char kDigits[] = "0123456789ABCDEF";
        out += '%';
        out += kDigits[c >> 4];
        out += kDigits[c & 15];
    }
    return out;
}

std::string ShownText(const HtmlNode& node) {
    if (node.kind == HtmlNode::Kind::Text) {
        return node.text;
    }
    std::string text;
    for (const HtmlNode* child : node.children) {
        text += ShownText(*child);
    }
    return text;
}

std::string CollapsedBlanks(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (IsBlank(c)) {
            if (!out.empty() && out.back() != ' ') {
                out += ' ';
            }
        } else {
            out += c;
        }
    }
    if (!out.empty() && out.back() == ' ') {
        out.pop_back();
    }
    return out;
}

const HtmlNode* FirstHeading(const HtmlNode& node) {
    for (const HtmlNode* child : node.children) {
        if (child->kind != HtmlNode::Kind::Element) {
            continue;
        }
        if (IsHeadingName(child->name) && !CollapsedBlanks(ShownText(*child)).empty()) {
            return child;
        }
        if (const HtmlNode* inner = FirstHeading(*child)) {
            return inner;
        }
    }
    return nullptr;
}

// Takes every style element out from under node and returns their text.
std::string TakeStyleSheets(HtmlNode& node) {
    std::string sheet;
    for (std::size_t i = 0; i < node.children.size(); ++i) {
        HtmlNode& child = *node.children[i];
        if (child.Is("style")) {
            for (const HtmlNode* text : child.children) {
                sheet += text->text;
            }
            child.Detach();
            --i;
        } else if (child.kind == HtmlNode::Kind::Element) {
            sheet += TakeStyleSheets(child);
        }
    }
    return sheet;
}

} // namespace

std::string IdWithoutBlanks(std::string_view name) {
    std::string id(name);
    std::replace_if(id.begin(), id.end(), IsBlank, '_');
    return id;
}

PageRewriter::PageRewriter(HtmlDocument& document, std::string_view title)
    : document_(document), title_(title) {}

void PageRewriter::Rewrite() {
    CollectIds(document_.Root());
    RewriteHead();
    BodyColors();
    const StyleSheetIndex sheet(sheet_);
    Visit(document_.Body(), sheet, BlockAlign::None);
    HtmlNode::UnwrapAll(unwrap_);
    HtmlNode::DetachAll(remove_);
    unwrap_.clear();
    remove_.clear();
    FixLinks(document_.Body());
    ShortenRunStyles(document_.Body(), sheet);
    MoveRepeatedStylesToClasses(document_.Body(), sheet_, StyleSheetIndex(sheet_));
    if (!sheet_.empty()) {
        HtmlNode* style = StyleElement();
        style->children.clear();
        style->Insert(0, document_.NewText(WriteStyleSheet(sheet_)));
    }
}

HtmlNode* PageRewriter::StyleElement() {
    HtmlNode& head = document_.Head();
    for (HtmlNode* child : head.children) {
        if (child->Is("style")) {
            return child;
        }
    }
    HtmlNode* style = document_.NewElement("style");
    head.Insert(head.children.size(), style);
    return style;
}

void PageRewriter::CollectIds(const HtmlNode& node) {
    if (const std::string* id = node.Find("id")) {
        ids_.insert(*id);
    }
    if (const std::string* href = node.Find("href");
        href != nullptr && !href->empty() && (*href)[0] == '#') {
        linkedFragments_.insert(href->substr(1));
    }
    for (const HtmlNode* child : node.children) {
        CollectIds(*child);
    }
}

void PageRewriter::RewriteHead() {
    HtmlNode& head = document_.Head();
    std::vector<HtmlNode*> kept;
    HtmlNode* title = nullptr;
    std::string sheet;
    bool keptStyle = false;
    for (HtmlNode* child : head.children) {
        if (child->kind != HtmlNode::Kind::Element) {
            continue; // blanks and comments in the head show nothing
        }
        if (child->Is("meta")) {
            const std::string* name = child->Find("name");
            if (child->Find("http-equiv") != nullptr || child->Find("charset") != nullptr ||
                (name != nullptr &&
                 OneOf(*name, {"generator", "GENERATOR", "created", "changed", "changedby",
                               "CHANGEDBY", "CHANGED", "CREATED"}))) {
                continue;
            }
        }
        if (child->Is("title")) {
            title = child;
        }
        if (child->Is("style")) {
            for (const HtmlNode* text : child->children) {
                sheet += text->text;
            }
            if (keptStyle) {
                continue;
            }
            keptStyle = true;
            child->Take("type");
        }
        kept.push_back(child);
    }
    // A style sheet in the body (not where it belongs) styles the page all the same.
    sheet += TakeStyleSheets(document_.Body());
    sheet_ = ParseStyleSheet(sheet);
    for (CssRule& rule : sheet_) {
        DropOfficeDeclarations(rule.declarations);
    }
    if (title == nullptr) {
        title = document_.NewElement("title");
        kept.insert(kept.begin(), title);
    }
    HtmlNode* charset = document_.NewElement("meta");
    charset->Set("charset", "utf-8");
    kept.insert(kept.begin(), charset);
    head.children.clear();
    for (HtmlNode* child : kept) {
        head.Insert(head.children.size(), child);
    }
    FillTitle(*title);
}

void PageRewriter::FillTitle(HtmlNode& title) {
    if (!CollapsedBlanks(ShownText(title)).empty()) {
        return;
    }
    const HtmlNode* heading = FirstHeading(document_.Body());
    std::string text = heading != nullptr ? CollapsedBlanks(ShownText(*heading)) : title_;
    if (CollapsedBlanks(text).empty()) {
        text = "Document";
    }
    title.children.clear();
    title.Insert(0, document_.NewText(std::move(text)));
}

// The body's colours become rules that come before the page's own, so that those win
// as they won over the attributes; its language and direction go to the html element.
void PageRewriter::BodyColors() {
    HtmlNode& body = document_.Body();
    std::vector<CssRule> first;
    for (const auto& [attribute, selector] :
         {std::pair{"link", "a:link"}, {"vlink", "a:visited"}, {"alink", "a:active"}}) {
        const std::string color = CssColor(body.Take(attribute));
        if (!color.empty()) {
            first.push_back({selector, {{"color", color, false}}, ""});
        }
    }
    sheet_.insert(sheet_.begin(), first.begin(), first.end());
    CssDeclarations hints;
    if (std::string color = CssColor(body.Take("text")); !color.empty()) {
        hints.push_back({"color", std::move(color), false});
    }
    if (std::string color = CssColor(body.Take("bgcolor")); !color.empty()) {
        hints.push_back({"background-color", std::move(color), false});
    }
    for (const char* margin : {"marginwidth", "marginheight", "leftmargin", "topmargin"}) {
        body.Take(margin);
    }
    if (!hints.empty()) {
        const StyleSheetIndex sheet(sheet_);
        ApplyStyle(body, std::move(hints), sheet);
    }
    HtmlNode& html = document_.Root();
    const std::string* dir = body.Find("dir");
    if (dir == nullptr || *dir == "ltr") {
        for (const char* attribute : {"lang", "dir"}) {
            if (body.Find(attribute) != nullptr && html.Find(attribute) == nullptr) {
                html.Set(attribute, body.Take(attribute));
            }
        }
    }
}

void PageRewriter::Visit(HtmlNode& node, const StyleSheetIndex& sheet, BlockAlign inherited) {
    for (HtmlNode* child : node.children) {
        if (child->kind == HtmlNode::Kind::Comment) {
            remove_.push_back(child);
        } else if (child->kind == HtmlNode::Kind::Element) {
            VisitElement(*child, sheet, inherited);
        }
    }
}

void PageRewriter::VisitElement(HtmlNode& element, const StyleSheetIndex& sheet,
                                BlockAlign inherited) {
    if (!IsHtmlElement(element.name)) {
        unwrap_.push_back(&element);
        Visit(element, sheet, inherited);
        return;
    }
    for (const char* office : {"sdval", "sdnum", "sdfixed", "language"}) {
        element.Take(office);
    }
    if (element.Is("a")) {
        Anchor(element);
    } else if (element.Is("img")) {
        Picture(element);
    } else if (element.Is("table")) {
        tables_[&element] = CellHintsOf(element);
    }
    const CellHints* cell = nullptr;
    if ((element.Is("td") || element.Is("th")) && element.parent != nullptr) {
        const HtmlNode* table = element.parent->parent;
        if (table != nullptr && !table->Is("table")) {
            table = table->parent;
        }
        const auto found = tables_.find(table);
        cell = found == tables_.end() ? nullptr : &found->second;
    }
    std::optional<BlockAlign> passes;
    CssDeclarations hints = TakePresentationalHints(element, cell, passes);
    RenameObsolete(element, hints);
    if (element.Is("table") && inherited != BlockAlign::None && !passes &&
        FindDeclaration(hints, "float") == nullptr &&
        FindDeclaration(hints, "margin-left") == nullptr) {
        // A table inside a block aligned by markup moves with the text, and its own
        // text goes back to the start, as browsers do for that alignment.
        if (inherited != BlockAlign::Left) {
            hints.push_back({"margin-left", "auto", false});
        }
        if (inherited != BlockAlign::Right) {
            hints.push_back({"margin-right", "auto", false});
        }
        hints.push_back({"text-align", "start", false});
    }
    ApplyStyle(element, std::move(hints), sheet);
    BlockAlign inside = element.Is("table") ? BlockAlign::None : passes.value_or(inherited);
    const std::string* style = element.Find("style");
    if (!passes && ((style != nullptr && style->find("text-align") != std::string::npos) ||
                    sheet.MaySet(element, "text-align"))) {
        inside = BlockAlign::None;
    }

    if (element.Is("ul") || element.Is("ol")) {
        WrapNestedLists(element);
    }
    Visit(element, sheet, inside);
}

void PageRewriter::Picture(HtmlNode& image) {
    const std::string name = image.Take("name");
    if (linkedFragments_.count(name) > 0 && image.Find("id") == nullptr &&
        ids_.insert(IdWithoutBlanks(name)).second) {
        image.Set("id", IdWithoutBlanks(name));
    }
    if (image.Find("alt") == nullptr) {
        image.Set("alt", "");
    }
}

// A list right inside a list (the office's way to begin at a deeper level) goes into
// an item of its own, laid out as a plain block: no marker, no number counted.
void PageRewriter::WrapNestedLists(HtmlNode& list) {
    for (std::size_t i = 0; i < list.children.size(); ++i) {
        HtmlNode* child = list.children[i];
        if (!child->Is("ul") && !child->Is("ol")) {
            continue;
        }
        HtmlNode* item = document_.NewElement("li");
        item->Set("style", "display:block");
        item->parent = &list;
        list.children[i] = item;
        item->Insert(0, child);
    }
}

void PageRewriter::ApplyStyle(HtmlNode& element, CssDeclarations hints,
                              const StyleSheetIndex& sheet) {
    const std::string* written = element.Find("style");
    if (written == nullptr && hints.empty()) {
        return;
    }
    CssDeclarations own = written == nullptr ? CssDeclarations() : ParseDeclarations(*written);
    DropOfficeDeclarations(own);
    CssDeclarations all;
    for (CssDeclaration& hint : hints) {
        // The page's rules and the element's own style win over what markup gives.
        const bool overridden = sheet.MaySet(element, hint.property) ||
                                std::any_of(own.begin(), own.end(), [&](const CssDeclaration& d) {
                                    return PropertiesOverlap(d.property, hint.property);
                                });
        if (!overridden) {
            RemoveDeclaration(all, hint.property);
            all.push_back(std::move(hint));
        }
    }
    for (CssDeclaration& d : own) {
        all.push_back(std::move(d));
    }
    if (all.empty()) {
        element.Take("style");
    } else {
        element.Set("style", WriteDeclarations(all));
    }
}

void PageRewriter::Anchor(HtmlNode& element) {
    const std::string name = element.Take("name");
    if (name.empty() || element.Find("id") != nullptr) {
        return;
    }
    const std::string id = IdWithoutBlanks(name);
    if (id != name) {
        renamedIds_[name] = id;
    }
    if (!ids_.insert(id).second) {
        return; // an element before has that id: links go there
    }
    HtmlNode* parent = element.parent;
    const bool bare = element.attributes.empty() && element.children.empty();
    if (bare && parent != nullptr && parent->Find("id") == nullptr && IsHtmlElement(parent->name) &&
        !OneOf(parent->name, {"body", "html", "head"}) && parent->IndexOf(&element) == 0) {
        // An empty anchor that begins an element marks that element.
        parent->Set("id", id);
        remove_.push_back(&element);
        return;
    }
    element.Set("id", id);
}

void PageRewriter::FixLinks(HtmlNode& node) {
    for (HtmlAttribute& attribute : node.attributes) {
        if (attribute.name != "href" && attribute.name != "src") {
            continue;
        }
        if (!attribute.value.empty() && attribute.value[0] == '#') {
            const auto renamed = renamedIds_.find(attribute.value.substr(1));
            if (renamed != renamedIds_.end()) {
                attribute.value = "#" + renamed->second;
            }
        }
        attribute.value = EscapedAddress(attribute.value);
    }
    for (HtmlNode* child : node.children) {
        FixLinks(*child);
    }
}

} // namespace pelmora
