#include "engine/HtmlWriter.h"

#include "engine/HtmlDocument.h"
#include "engine/MarkupText.h"

#include <algorithm>
#include <initializer_list>

namespace pelmora {

namespace {

bool IsVoid(std::string_view name) {
    return OneOf(name,
                 {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta",
                  "source", "track", "wbr", "basefont", "bgsound", "frame", "keygen", "param"});
}

bool IsRawText(std::string_view name) {
    return OneOf(name, {"style", "script", "xmp", "iframe", "noembed", "noframes"});
}

class Writer {
public:
    explicit Writer(std::string& out) : out_(out) {}

    void Element(const HtmlNode& node, bool omitStart, bool omitEnd);

private:
    void Children(const HtmlNode& node);
    void Attributes(const HtmlNode& node);
    void Text(std::string_view text, bool inAttribute);
    void Raw(std::string_view text) { Text(text, false, true); }
    void Text(std::string_view text, bool inAttribute, bool raw);

    std::string& out_;
};

// Whether the end tag of node may be left out, given what follows it among its
// siblings (next, or nullptr) and its parent.
bool EndTagImplied(const HtmlNode& node, const HtmlNode* next, const HtmlNode& parent) {
    const std::string_view name = node.name;
    const bool nextIsElement = next != nullptr && next->kind == HtmlNode::Kind::Element;
    const std::string_view nextName = nextIsElement ? std::string_view(next->name) : "";
    if (next != nullptr && !nextIsElement) {
        return name == "head" && next->kind == HtmlNode::Kind::Text && !next->text.empty() &&
               !IsBlank(next->text[0]);
    }
    if (OneOf(name, {"html", "body", "head", "colgroup"})) {
        return true;
    }
    if (name == "li") {
        return next == nullptr || nextName == "li";
    }
    if (name == "dt" || name == "dd") {
        return (next == nullptr && name == "dd") || nextName == "dt" || nextName == "dd";
    }
    if (name == "td" || name == "th") {
        return next == nullptr || nextName == "td" || nextName == "th";
    }
    if (name == "tr") {
        return next == nullptr || nextName == "tr";
    }
    if (name == "tbody" || name == "thead") {
        return (next == nullptr && name == "tbody") || nextName == "tbody" || nextName == "tfoot";
    }
    if (name == "option") {
        return next == nullptr || nextName == "option" || nextName == "optgroup";
    }
    if (name != "p") {
        return false;
    }
    if (next == nullptr) {
        // Only where a p belongs: inside a run's element (a page may have put one
        // there) its end tag is needed to read the page back as it was.
        return OneOf(parent.name,
                     {"body",    "div",      "li",     "td",      "th",      "dd",    "blockquote",
                      "section", "article",  "aside",  "header",  "footer",  "main",  "nav",
                      "form",    "fieldset", "figure", "details", "caption", "center"});
    }
    return OneOf(nextName, {"address", "article",  "aside",      "blockquote", "details", "div",
                            "dl",      "fieldset", "figcaption", "figure",     "footer",  "form",
                            "h1",      "h2",       "h3",         "h4",         "h5",      "h6",
                            "header",  "hgroup",   "hr",         "main",       "menu",    "nav",
                            "ol",      "p",        "pre",        "section",    "table",   "ul"});
}

// Whether the start tag of node may be left out (only for elements without
// attributes whose start the parser infers from what they hold).
bool StartTagImplied(const HtmlNode& node, const HtmlNode* previous, bool previousEndOmitted) {
    if (!node.attributes.empty()) {
        return false;
    }
    const HtmlNode* first = node.children.empty() ? nullptr : node.children.front();
    if (node.name == "head") {
        return first == nullptr || first->kind == HtmlNode::Kind::Element;
    }
    if (node.name == "tbody" || node.name == "colgroup") {
        const bool tbody = node.name == "tbody";
        const bool previousOpen =
            previousEndOmitted && previous != nullptr &&
            (tbody ? OneOf(previous->name, {"tbody", "thead", "tfoot"}) : previous->Is("colgroup"));
        return first != nullptr && first->Is(tbody ? "tr" : "col") && !previousOpen;
    }
    return false;
}

void Writer::Element(const HtmlNode& node, bool omitStart, bool omitEnd) {
    if (!omitStart) {
        out_ += '<';
        out_ += node.name;
        Attributes(node);
        out_ += '>';
    }
    if (IsVoid(node.name)) {
        return;
    }
    if (IsRawText(node.name)) {
        for (const HtmlNode* child : node.children) {
            Raw(child->text);
        }
    } else {
        // The parser drops a line break right after these start tags.
        if ((node.name == "pre" || node.name == "textarea" || node.name == "listing") &&
            !node.children.empty() && node.children.front()->kind == HtmlNode::Kind::Text &&
            !node.children.front()->text.empty() && node.children.front()->text[0] == '\n') {
            out_ += '\n';
        }
        Children(node);
    }
    if (!omitEnd) {
        out_ += "</";
        out_ += node.name;
        out_ += '>';
    }
}

void Writer::Children(const HtmlNode& node) {
    bool previousEndOmitted = false;
    const std::size_t count = node.children.size();
    for (std::size_t i = 0; i < count; ++i) {
        const HtmlNode& child = *node.children[i];
        switch (child.kind) {
        case HtmlNode::Kind::Text:
            Text(child.text, false);
            previousEndOmitted = false;
            break;
        case HtmlNode::Kind::Comment:
            out_ += "<!--";
            Raw(child.text);
            out_ += "-->";
            previousEndOmitted = false;
            break;
        case HtmlNode::Kind::Element: {
            const HtmlNode* next = i + 1 < count ? node.children[i + 1] : nullptr;
            const bool omitEnd = EndTagImplied(child, next, node);
            const HtmlNode* previous = i > 0 ? node.children[i - 1] : nullptr;
            Element(child, StartTagImplied(child, previous, previousEndOmitted), omitEnd);
            previousEndOmitted = omitEnd;
            break;
        }
        }
    }
}

bool NeedsQuotes(std::string_view value) {
    if (value.empty()) {
        return true;
    }
    for (const char c : value) {
        if (IsBlank(c) || c == '"' || c == '\'' || c == '=' || c == '<' || c == '>' || c == '`') {
            return true;
        }
    }
    return false;
}

void Writer::Attributes(const HtmlNode& node) {
    for (const HtmlAttribute& attribute : node.attributes) {
        out_ += ' ';
        out_ += attribute.name;
        if (attribute.value.empty()) {
            continue;
        }
        out_ += '=';
        const bool quoted = NeedsQuotes(attribute.value);
        if (quoted) {
            out_ += '"';
        }
        Text(attribute.value, true);
        if (quoted) {
            out_ += '"';
        }
    }
}

void Writer::Text(std::string_view text, bool inAttribute) {
    Text(text, inAttribute, false);
}

void Writer::Text(std::string_view text, bool inAttribute, bool raw) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    const auto* plain = p;
    while (p < end) {
        const unsigned char c = *p;
        const char* reference = nullptr;
        std::size_t skip = 0;
        if (c == '&' && !raw) {
            reference = "&amp;";
        } else if (c == '<' && !raw && !inAttribute) {
            reference = "&lt;";
        } else if (c == '"' && !raw && inAttribute) {
            reference = "&quot;";
        } else if (c < 0x20 || c == 0x7F || c == 0xC2 || c == 0xEF || (c >= 0xF0 && c <= 0xF4)) {
            skip = ForbiddenCharacterAt(p, end);
        }
        if (reference == nullptr && skip == 0) {
            ++p;
            continue;
        }
        out_.append(reinterpret_cast<const char*>(plain), static_cast<std::size_t>(p - plain));
        if (reference != nullptr) {
            out_ += reference;
            ++p;
        } else {
            p += skip;
        }
        plain = p;
    }
    out_.append(reinterpret_cast<const char*>(plain), static_cast<std::size_t>(p - plain));
}

} // namespace

std::string WriteHtml(const HtmlNode& root) {
    std::string out = "<!DOCTYPE html>";
    Writer writer(out);
    const bool omitStart =
        root.attributes.empty() &&
        (root.children.empty() || root.children.front()->kind != HtmlNode::Kind::Comment);
    writer.Element(root, omitStart, true);
    return out;
}

} // namespace pelmora
