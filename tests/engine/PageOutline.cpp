#include "tests/engine/PageOutline.h"

#include "engine/HtmlDocument.h"

#include <algorithm>
#include <cctype>

namespace pelmora::test {
namespace {

const std::vector<std::string> kLines = {
    "p",  "div", "br",     "li",    "td", "th", "tr",  "h1", "h2", "h3",      "h4",
    "h5", "h6",  "center", "table", "ul", "ol", "pre", "dt", "dd", "caption", "blockquote"};

// An address as the browser follows it: %XX escapes read, and a link into the page
// naming its target with blanks as '_' (an id has no blanks).
std::string Address(const std::string& value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '%' && i + 2 < value.size() && std::isxdigit(value[i + 1]) &&
            std::isxdigit(value[i + 2])) {
            out += static_cast<char>(std::stoi(value.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += value[i];
        }
    }
    if (!out.empty() && out[0] == '#') {
        std::replace_if(
            out.begin(), out.end(), [](char c) { return std::isspace(c) != 0; }, '_');
    }
    return out;
}

const std::vector<std::string> kMeaningful = {"h1", "h2", "h3",    "h4", "h5", "h6", "ul",
                                              "ol", "li", "table", "tr", "td", "th", "pre"};

// An item that holds nothing but lists is no item of its own to a reader.
bool HoldsOnlyLists(const HtmlNode& item) {
    const auto list = [](const HtmlNode* child) { return child->Is("ul") || child->Is("ol"); };
    return std::any_of(item.children.begin(), item.children.end(), list) &&
           std::all_of(item.children.begin(), item.children.end(), [](const HtmlNode* child) {
               return child->Is("ul") || child->Is("ol") || child->Is("style") ||
                      child->kind == HtmlNode::Kind::Comment ||
                      (child->kind == HtmlNode::Kind::Text &&
                       child->text.find_first_not_of(" \t\n\r\f") == std::string::npos);
           });
}

void Walk(const HtmlNode& node, PageOutline& outline, std::string& text) {
    if (node.kind == HtmlNode::Kind::Text) {
        text += node.text;
        return;
    }
    if (node.kind != HtmlNode::Kind::Element || node.Is("style") || node.Is("script")) {
        return;
    }
    // Links go to ids and to the names of anchors (not of pictures).
    for (const char* target : {"id", "name"}) {
        const std::string* value = node.Find(target);
        if (value != nullptr && !value->empty() && (node.Is("a") || target[0] == 'i')) {
            std::string id = *value;
            std::replace_if(
                id.begin(), id.end(), [](char c) { return std::isspace(c) != 0; }, '_');
            outline.targets.insert(id);
        }
    }
    const std::string* href = node.Find("href");
    if (node.Is("a") && href != nullptr) {
        outline.structure.push_back("a href=" + Address(*href));
    } else if (node.Is("img")) {
        const std::string* src = node.Find("src");
        const std::string* alt = node.Find("alt");
        outline.structure.push_back("img src=" + Address(src ? *src : "") +
                                    " alt=" + (alt ? *alt : ""));
    } else if (std::find(kMeaningful.begin(), kMeaningful.end(), node.name) != kMeaningful.end() &&
               !(node.Is("li") && HoldsOnlyLists(node))) {
        outline.structure.push_back(node.name);
    }
    // A block or a line break separates words.
    const bool line = std::find(kLines.begin(), kLines.end(), node.name) != kLines.end();
    text += line ? " " : "";
    for (const HtmlNode* child : node.children) {
        Walk(*child, outline, text);
    }
    text += line ? " " : "";
}

} // namespace

PageOutline OutlineOf(const std::string& page) {
    PageOutline outline;
    std::string text = page;
    std::unique_ptr<HtmlDocument> document =
        RemoveForbiddenCharacters(text) ? HtmlDocument::Parse(text) : nullptr;
    if (document == nullptr) {
        return outline;
    }
    outline.parsed = true;
    std::string body;
    Walk(document->Body(), outline, body);
    std::string word;
    for (const char c : body + " ") {
        if (std::isspace(static_cast<unsigned char>(c))) {
            if (!word.empty()) {
                outline.words.push_back(word);
            }
            word.clear();
        } else {
            word += c;
        }
    }
    return outline;
}

} // namespace pelmora::test
