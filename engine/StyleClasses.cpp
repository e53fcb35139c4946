#include "engine/StyleClasses.h"

#include "engine/StyleSheetIndex.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace pelmora {

namespace {

struct Usage {
    std::size_t count = 0;
    std::size_t first = 0; // order of first use, so the page comes out the same each time
    std::string name;
};

void Collect(HtmlNode& node, std::unordered_map<std::string, Usage>& styles,
             std::unordered_set<std::string>& classes, const StyleSheetIndex& index) {
    if (const std::string* style = node.Find("style");
        style != nullptr && style->find("!important") == std::string::npos) {
        Usage& usage = styles[*style];
        if (usage.count++ == 0) {
            usage.first = styles.size();
        }
    }
    if (node.Find("class") != nullptr) {
        std::string kept;
        for (const std::string_view name : ClassesOf(node)) {
            classes.insert(std::string(name));
            if (index.NamesClass(name)) {
                kept += (kept.empty() ? "" : " ") + std::string(name);
            }
        }
        if (kept.empty()) {
            node.Take("class");
        } else {
            node.Set("class", kept);
        }
    }
    for (HtmlNode* child : node.children) {
        if (child->kind == HtmlNode::Kind::Element) {
            Collect(*child, styles, classes, index);
        }
    }
}

// Short class names: a, b, ... z, a0, a1 ... that no class of the page uses.
std::string NextName(std::size_t& counter, const std::unordered_set<std::string>& taken) {
    static constexpr char kFirst[] = "abcdefghijklmnopqrstuvwxyz";
    static constexpr char kMore[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    while (true) {
        std::size_t n = counter++;
        std::string name(1, kFirst[n % 26]);
        for (n /= 26; n > 0; n /= 36) {
            name += kMore[(n - 1) % 36];
        }
        if (taken.count(name) == 0) {
            return name;
        }
    }
}

void Apply(HtmlNode& node, const std::unordered_map<std::string, Usage>& styles) {
    if (const std::string* style = node.Find("style")) {
        const auto found = styles.find(*style);
        if (found != styles.end() && !found->second.name.empty()) {
            const std::string* classes = node.Find("class");
            node.Set("class",
                     classes == nullptr ? found->second.name : *classes + " " + found->second.name);
            node.Take("style");
        }
    }
    for (HtmlNode* child : node.children) {
        if (child->kind == HtmlNode::Kind::Element) {
            Apply(*child, styles);
        }
    }
}

} // namespace

void MoveRepeatedStylesToClasses(HtmlNode& root, std::vector<CssRule>& sheet,
                                 const StyleSheetIndex& index) {
    std::unordered_map<std::string, Usage> styles;
    std::unordered_set<std::string> classes;
    Collect(root, styles, classes, index);
    if (index.Outranks()) {
        return; // an id or !important rule could beat a class where it lost to the style
    }
    std::vector<std::pair<const std::string*, Usage*>> repeated;
    for (auto& [style, usage] : styles) {
        if (usage.count > 1) {
            repeated.emplace_back(&style, &usage);
        }
    }
    std::sort(repeated.begin(), repeated.end(), [](const auto& a, const auto& b) {
        return a.second->count != b.second->count ? a.second->count > b.second->count
                                                  : a.second->first < b.second->first;
    });
    const int repeat = index.MostClasses() + 1;
    std::size_t counter = 0;
    for (auto& [style, usage] : repeated) {
        std::size_t next = counter;
        std::string name = NextName(next, classes);
        std::string selector;
        for (int i = 0; i < repeat; ++i) {
            selector += "." + name;
        }
        // Worth it only when the rule costs less than the styles it replaces.
        const std::size_t saved = usage->count * (style->size() + 8);
        const std::size_t cost =
            selector.size() + style->size() + 2 + usage->count * (name.size() + 8);
        if (saved <= cost) {
            continue;
        }
        counter = next;
        usage->name = std::move(name);
        sheet.push_back({selector, ParseDeclarations(*style), ""});
    }
    Apply(root, styles);
}

} // namespace pelmora
