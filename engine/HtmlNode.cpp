#include "engine/HtmlNode.h"

#include <algorithm>

namespace pelmora {

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

void HtmlNode::Detach() {
    if (parent != nullptr) {
        parent->children.erase(parent->children.begin() +
                               static_cast<std::ptrdiff_t>(parent->IndexOf(this)));
        parent = nullptr;
    }
}

} // namespace pelmora
