#pragma once
// One node of a page read into a tree: an element with its attributes and children,
// a run of text, or a comment. Nodes belong to their HtmlDocument.

#include <string>
#include <string_view>
#include <vector>

namespace pelmora {

/// An attribute as the parser gave it: lower-case name, value with references decoded.
struct HtmlAttribute {
    std::string name;
    std::string value;
};

/// A node of the page tree; children are owned by the document, not by the node.
class HtmlNode {
public:
    enum class Kind : unsigned char { Element, Text, Comment };

    /// True for an element of that (lower-case) name.
    bool Is(std::string_view tag) const { return kind == Kind::Element && name == tag; }

    /// The attribute's value, or nullptr when the element has none of that name.
    const std::string* Find(std::string_view attribute) const;

    /// Sets the attribute, adding it at the end when the element has none yet.
    void Set(std::string_view attribute, std::string value);

    /// Removes the attribute and returns its value ("" when it had none).
    std::string Take(std::string_view attribute);

    /// Index of child among the children; children.size() when it is none of them.
    std::size_t IndexOf(const HtmlNode* child) const;

    /// Puts child (without a parent) at index among the children.
    void Insert(std::size_t index, HtmlNode* child);

    /// Replaces the element among its parent's children by its own children.
    void Unwrap();

    /// Takes the node out of its parent.
    void Detach();

    /// Unwrap() of each element, in one pass over the children of their parents:
    /// one call after another would cost as much as those children for each element.
    static void UnwrapAll(const std::vector<HtmlNode*>& elements);

    /// Detach() of each node, in one pass over the children of their parents.
    static void DetachAll(const std::vector<HtmlNode*>& nodes);

    Kind kind = Kind::Element;
    std::string name; // element: lower-case tag name
    std::string text; // text or comment: its characters, references decoded
    std::vector<HtmlAttribute> attributes;
    std::vector<HtmlNode*> children;
    HtmlNode* parent = nullptr;
};

} // namespace pelmora
