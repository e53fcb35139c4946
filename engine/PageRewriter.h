#pragma once
// Rewrites a parsed LibreOffice page as clean HTML5 with the same look: obsolete
// elements and attributes become CSS, the office's own markup becomes standard markup
// or goes, anchors become ids, the head gets a charset, a title and a clean style
// sheet, and blanks that never show go.

#include "engine/CssSyntax.h"
#include "engine/HtmlDocument.h"
#include "engine/PresentationalHints.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace pelmora {

class StyleSheetIndex;

/// One rewrite of one page tree.
class PageRewriter {
public:
    /// title is the page's title when its own is empty (the document's name).
    PageRewriter(HtmlDocument& document, std::string_view title);

    /// Rewrites the tree in place.
    void Rewrite();

private:
    void RewriteHead();
    void RewriteBody(const StyleSheetIndex& sheet);
    void Visit(HtmlNode& node, const StyleSheetIndex& sheet, BlockAlign inherited);
    void VisitElement(HtmlNode& element, const StyleSheetIndex& sheet, BlockAlign inherited);
    void ApplyStyle(HtmlNode& element, CssDeclarations hints, const StyleSheetIndex& sheet);
    void Anchor(HtmlNode& element);
    void Picture(HtmlNode& image);
    void WrapNestedLists(HtmlNode& list);
    void CollectIds(const HtmlNode& node);
    void FixLinks(HtmlNode& node);
    void BodyColors();
    void FillTitle(HtmlNode& title);
    HtmlNode* StyleElement();

    HtmlDocument& document_;
    std::string title_;
    std::vector<CssRule> sheet_;
    std::unordered_map<const HtmlNode*, CellHints> tables_;
    std::unordered_set<std::string> ids_;
    std::unordered_set<std::string> linkedFragments_;
    std::unordered_map<std::string, std::string> renamedIds_;
    std::vector<HtmlNode*> unwrap_; // elements to replace by their content after the walk
    std::vector<HtmlNode*> remove_; // nodes to take out after the walk
};

/// A value of id without blanks (an id may not hold any), as a link to it needs it.
std::string IdWithoutBlanks(std::string_view name);

} // namespace pelmora
