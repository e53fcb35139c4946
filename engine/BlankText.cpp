#include "engine/BlankText.h"

#include "engine/MarkupText.h"

#include <algorithm>
#include <initializer_list>
#include <unordered_set>

namespace pelmora {

namespace {

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

// In place: the text only gets shorter.
void Collapse(std::string& text) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (!IsBlank(text[i])) {
            text[kept++] = text[i++];
            continue;
        }
        bool lineBreak = false;
        for (; i < text.size() && IsBlank(text[i]); ++i) {
            lineBreak = lineBreak || text[i] == '\n';
        }
        text[kept++] = lineBreak ? '\n' : ' ';
    }
    text.resize(kept);
}

// Text split by markup that went is one run again.
void JoinTexts(std::vector<HtmlNode*>& children) {
    std::size_t kept = 0;
    for (HtmlNode* child : children) {
        if (kept > 0 && child->kind == HtmlNode::Kind::Text &&
            children[kept - 1]->kind == HtmlNode::Kind::Text) {
            children[kept - 1]->text += child->text;
            child->parent = nullptr;
        } else {
            children[kept++] = child;
        }
    }
    children.resize(kept);
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
    JoinTexts(children);
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
    const bool onlyBlocks = HoldsOnlyBlocks(node);
    const bool block = onlyBlocks || IsBlock(&node);
    // The children are kept in place: those before `kept` stay.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < children.size(); ++i) {
        HtmlNode* child = children[i];
        if (child->kind == HtmlNode::Kind::Text) {
            const HtmlNode* before = kept > 0 ? children[kept - 1] : nullptr;
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
            if (text.empty() || (onlyBlocks && IsBlankText(child))) {
                child->parent = nullptr;
                continue;
            }
        }
        children[kept++] = child;
    }
    children.resize(kept);
}

} // namespace pelmora
