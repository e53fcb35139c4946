#include "engine/BlankText.h"

#include <algorithm>
#include <initializer_list>
#include <unordered_set>

namespace pelmora {

namespace {

constexpr bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool OneOf(std::string_view name, std::initializer_list<std::string_view> names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Elements laid out as blocks (by the browser's own style): blanks beside them
// begin or end a line.
bool IsBlock(const HtmlNode* node) {
    static const std::unordered_set<std::string_view> kBlocks = {
        "p",       "div",    "table",    "ul",    "ol",    "dl",         "li",     "h1",
        "h2",      "h3",     "h4",       "h5",    "h6",    "blockquote", "pre",    "hr",
        "address", "form",   "fieldset", "dd",    "dt",    "caption",    "figure", "section",
        "article", "header", "footer",   "nav",   "aside", "main",       "tbody",  "thead",
        "tfoot",   "tr",     "td",       "th",    "col",   "colgroup",   "body",   "head",
        "html",    "title",  "meta",     "style", "link",  "script",     "br"};
    return node != nullptr && node->kind == HtmlNode::Kind::Element &&
           kBlocks.count(node->name) > 0;
}

// Elements whose children are blocks only: any blank among them is lost.
bool HoldsOnlyBlocks(const HtmlNode& node) {
    return OneOf(node.name, {"html", "head", "table", "thead", "tbody", "tfoot", "tr", "colgroup",
                             "ul", "ol", "dl"});
}

bool IsBlankText(const HtmlNode* node) {
    return node->kind == HtmlNode::Kind::Text &&
           std::all_of(node->text.begin(), node->text.end(), IsBlank);
}

void Collapse(std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (!IsBlank(text[i])) {
            out += text[i++];
            continue;
        }
        bool lineBreak = false;
        for (; i < text.size() && IsBlank(text[i]); ++i) {
            lineBreak = lineBreak || text[i] == '\n';
        }
        out += lineBreak ? '\n' : ' ';
    }
    text.swap(out);
}

bool KeepsBlanks(const HtmlNode& element) {
    if (OneOf(element.name,
              {"pre", "textarea", "listing", "xmp", "script", "style", "plaintext"})) {
        return true;
    }
    const std::string* style = element.Find("style");
    return style != nullptr && style->find("white-space") != std::string::npos;
}

} // namespace

void DropHiddenBlanks(HtmlNode& node, bool keepAll) {
    keepAll = keepAll || KeepsBlanks(node);
    std::vector<HtmlNode*>& children = node.children;
    // Text split by markup that went is one run again.
    for (std::size_t i = 1; i < children.size(); ++i) {
        if (children[i]->kind == HtmlNode::Kind::Text &&
            children[i - 1]->kind == HtmlNode::Kind::Text) {
            children[i - 1]->text += children[i]->text;
            children[i]->parent = nullptr;
            children.erase(children.begin() + static_cast<std::ptrdiff_t>(i));
            --i;
        }
    }
    for (HtmlNode* child : children) {
        if (child->kind == HtmlNode::Kind::Element) {
            DropHiddenBlanks(*child, keepAll);
        } else if (child->kind == HtmlNode::Kind::Text && !keepAll) {
            Collapse(child->text);
        }
    }
    if (keepAll) {
        return;
    }
    const bool block = IsBlock(&node) || HoldsOnlyBlocks(node);
    for (std::size_t i = 0; i < children.size(); ++i) {
        HtmlNode* child = children[i];
        if (child->kind != HtmlNode::Kind::Text) {
            continue;
        }
        const HtmlNode* before = i > 0 ? children[i - 1] : nullptr;
        const HtmlNode* after = i + 1 < children.size() ? children[i + 1] : nullptr;
        const bool lineStart = (before == nullptr && block) || IsBlock(before);
        const bool lineEnd = (after == nullptr && block) || IsBlock(after);
        std::string& text = child->text;
        if (lineStart && !text.empty() && IsBlank(text.front())) {
            text.erase(0, 1);
        }
        if (lineEnd && !text.empty() && IsBlank(text.back())) {
            text.pop_back();
        }
        if (text.empty() || (HoldsOnlyBlocks(node) && IsBlankText(child))) {
            child->parent = nullptr;
            children.erase(children.begin() + static_cast<std::ptrdiff_t>(i));
            --i;
        }
    }
}

} // namespace pelmora
