#include "engine/HtmlNode.h"

#include <algorithm>
#include <unordered_set>

namespace pelmora {

namespace {

using NodeSet = std::unordered_set<const HtmlNode*>;

// Appends the children of from to out as children of into, each child that goes
// replaced by its own children.
void Splice(HtmlNode& from, HtmlNode& into, const NodeSet& going, std::vector<HtmlNode*>& out) {
    for (HtmlNode* child : from.children) {
        if (going.count(child) > 0) {
            Splice(*child, into, going, out);
            child->children.clear();
            child->parent = nullptr;
        } else {
            child->parent = &into;
            out.push_back(child);
        }
    }
}

// The parents of nodes that are not among them, each once.
std::vector<HtmlNode*> OuterParents(const std::vector<HtmlNode*>& nodes, const NodeSet& going) {
    std::vector<HtmlNode*> parents;
    for (const HtmlNode* node : nodes) {
        if (node->parent != nullptr && going.count(node->parent) == 0) {
            parents.push_back(node->parent);
        }
    }
    std::sort(parents.begin(), parents.end());
    parents.erase(std::unique(parents.begin(), parents.end()), parents.end());
    return parents;
}

} // namespace

const std::string* HtmlNode::Find(std::string_view attribute) const {
    for (const HtmlAttribute& a : attributes) {
        if (a.name == attribute) {
            return &a.value;
        }
    }
    return nullptr;
}

void HtmlNode::Set(std::string_view attribute, std::string value) {
    for (HtmlAttribute& a : attributes) {
        if (a.name == attribute) {
            a.value = std::move(value);
            return;
        }
    }
    attributes.push_back({std::string(attribute), std::move(value)});
}

std::string HtmlNode::Take(std::string_view attribute) {
    for (auto a = attributes.begin(); a != attributes.end(); ++a) {
        if (a->name == attribute) {
            std::string value = std::move(a->value);
            attributes.erase(a);
            return value;
        }
    }
    return {};
}

std::size_t HtmlNode::IndexOf(const HtmlNode* child) const {
    return static_cast<std::size_t>(std::find(children.begin(), children.end(), child) -
                                    children.begin());
}

void HtmlNode::Insert(std::size_t index, HtmlNode* child) {
    child->parent = this;
    children.insert(children.begin() + static_cast<std::ptrdiff_t>(index), child);
}

void HtmlNode::Unwrap() {
    HtmlNode* up = parent;
    const std::size_t at = up->IndexOf(this);
    for (HtmlNode* child : children) {
        child->parent = up;
    }
    up->children.erase(up->children.begin() + static_cast<std::ptrdiff_t>(at));
    up->children.insert(up->children.begin() + static_cast<std::ptrdiff_t>(at), children.begin(),
                        children.end());
    children.clear();
    parent = nullptr;
}

void HtmlNode::UnwrapAll(const std::vector<HtmlNode*>& elements) {
    const NodeSet going(elements.begin(), elements.end());
    for (HtmlNode* parent : OuterParents(elements, going)) {
        std::vector<HtmlNode*> kept;
        kept.reserve(parent->children.size());
        Splice(*parent, *parent, going, kept);
        parent->children.swap(kept);
    }
}

void HtmlNode::DetachAll(const std::vector<HtmlNode*>& nodes) {
    const NodeSet going(nodes.begin(), nodes.end());
    for (HtmlNode* parent : OuterParents(nodes, going)) {
        std::erase_if(parent->children,
                      [&](const HtmlNode* child) { return going.count(child) > 0; });
    }
    for (HtmlNode* node : nodes) {
        node->parent = nullptr;
    }
}

void HtmlNode::Detach() {
    if (parent != nullptr) {
        parent->children.erase(parent->children.begin() +
                               static_cast<std::ptrdiff_t>(parent->IndexOf(this)));
        parent = nullptr;
    }
}

} // namespace pelmora
