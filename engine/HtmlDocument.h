#pragma once
// A page read with a real HTML5 parser (gumbo) into a tree of HtmlNode that can be
// changed and written back. Only pages the tree can stand for faithfully are read:
// UTF-8 text in standards mode, HTML elements only, nesting no deeper than a browser
// keeps.

#include "engine/HtmlNode.h"

#include <deque>
#include <memory>
#include <string>
#include <string_view>

namespace pelmora {

/// A parsed page: its html element and the nodes it owns.
class HtmlDocument {
public:
    /// Deepest nesting read: browsers stop nesting at 512 elements, so a deeper page
    /// would not show as its tree says.
    static constexpr std::size_t kMaxDepth = 500;

    /// Parses page; nullptr when it is not valid UTF-8, not in standards mode, holds
    /// foreign (SVG, MathML) or frameset content, or nests deeper than kMaxDepth.
    static std::unique_ptr<HtmlDocument> Parse(std::string_view page);

    /// The html element; it always has a head and a body element.
    HtmlNode& Root() { return *root_; }

    /// The head and body elements.
    HtmlNode& Head() { return *head_; }
    HtmlNode& Body() { return *body_; }

    /// True when the parser moved, cloned or re-opened elements to repair misnested
    /// markup: such a tree may not read back the same once written.
    bool Repaired() const { return repaired_; }

    /// New nodes owned by the document, not yet in the tree.
    HtmlNode* NewElement(std::string name);
    HtmlNode* NewText(std::string text);

private:
    HtmlDocument() = default;

    HtmlNode* NewNode(HtmlNode::Kind kind);

    // Copies the parser's tree (a GumboNode) under root_; false when the tree holds
    // what the document cannot stand for.
    bool CopyTree(const void* parserRoot);

    std::deque<HtmlNode> nodes_;
    HtmlNode* root_ = nullptr;
    HtmlNode* head_ = nullptr;
    HtmlNode* body_ = nullptr;
    bool repaired_ = false;
};

/// True when text is well-formed UTF-8.
bool IsUtf8(std::string_view text);

/// Length of the UTF-8 sequence at p (before end) when it is a character a page must
/// not hold: a C0 control other than a blank, DEL, a C1 control or a noncharacter.
/// 0 for any other character.
std::size_t ForbiddenCharacterAt(const unsigned char* p, const unsigned char* end);

/// Removes the characters a page must not hold; false (text unchanged) when text is
/// not well-formed UTF-8.
bool RemoveForbiddenCharacters(std::string& text);

} // namespace pelmora
