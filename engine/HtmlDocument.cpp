#include "engine/HtmlDocument.h"

#include "engine/MarkupText.h"

#include <gumbo.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <vector>

namespace pelmora {

namespace {

// The parser's nodes live in blocks that are dropped at once: nothing is freed one by
// one, and the tree is never walked again to free it (that walk recurses as deep as
// the page nests).
class Arena {
public:
    Arena() = default;
    Arena(const Arena&) = delete;
    Arena& operator=(const Arena&) = delete;
    ~Arena() {
        for (char* block : blocks_) {
            std::free(block);
        }
    }

    static void* Allocate(void* arena, std::size_t size) {
        return static_cast<Arena*>(arena)->Take(size);
    }
    static void Free(void*, void*) {}

private:
    void* Take(std::size_t size) {
        size = (size + 15) & ~std::size_t{15};
        if (used_ + size > capacity_) {
            capacity_ = std::max(size, kBlock);
            char* block = static_cast<char*>(std::malloc(capacity_));
            if (block == nullptr) {
                std::abort(); // as the parser's own allocator does
            }
            blocks_.push_back(block);
            used_ = 0;
        }
        void* at = blocks_.back() + used_;
        used_ += size;
        return at;
    }

    static constexpr std::size_t kBlock = std::size_t{1} << 20;
    std::vector<char*> blocks_;
    std::size_t used_ = 0;
    std::size_t capacity_ = 0;
};

std::string TagName(const GumboElement& element) {
    if (element.tag != GUMBO_TAG_UNKNOWN) {
        return gumbo_normalized_tagname(element.tag);
    }
    GumboStringPiece piece = element.original_tag;
    gumbo_tag_from_original_text(&piece);
    std::string name(piece.data, piece.length);
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + 32);
        }
    }
    return name;
}

void CopyAttributes(const GumboElement& element, HtmlNode& node) {
    node.attributes.reserve(element.attributes.length);
    for (unsigned int i = 0; i < element.attributes.length; ++i) {
        const auto* a = static_cast<const GumboAttribute*>(element.attributes.data[i]);
        if (a->attr_namespace == GUMBO_ATTR_NAMESPACE_NONE && node.Find(a->name) == nullptr) {
            node.attributes.push_back({a->name, a->value});
        }
    }
}

// How the parser marks nodes it moved, cloned, re-opened or made of other tags while
// repairing misnested markup. Other errors (a colgroup or tbody left implied, a
// self-closing slash, a stray end tag) leave a tree that reads back as it is.
constexpr unsigned int kRepairs =
    GUMBO_INSERTION_CONVERTED_FROM_END_TAG | GUMBO_INSERTION_FROM_ISINDEX |
    GUMBO_INSERTION_FROM_IMAGE | GUMBO_INSERTION_RECONSTRUCTED_FORMATTING_ELEMENT |
    GUMBO_INSERTION_ADOPTION_AGENCY_CLONED | GUMBO_INSERTION_ADOPTION_AGENCY_MOVED |
    GUMBO_INSERTION_FOSTER_PARENTED;

const GumboVector& ChildrenOf(const GumboNode& node) {
    return node.type == GUMBO_NODE_DOCUMENT ? node.v.document.children : node.v.element.children;
}

// Whether an ancestor of element (up to a scope boundary) would be closed by its start
// tag when the page is read again: such a tree, made by the parser's repair of
// misnested tags, cannot be written so that it reads back the same.
bool ClosesAnAncestor(const HtmlNode& element) {
    const std::string& name = element.name;
    const bool heading = IsHeadingName(name);
    const bool closesP =
        heading ||
        OneOf(name,
              {"address", "article", "aside",   "blockquote", "center",     "details", "dialog",
               "dir",     "div",     "dl",      "fieldset",   "figcaption", "figure",  "footer",
               "header",  "hgroup",  "main",    "menu",       "nav",        "ol",      "p",
               "search",  "section", "summary", "ul",         "pre",        "listing", "form",
               "table",   "hr",      "xmp"});
    const bool item = OneOf(name, {"li", "dd", "dt"});
    const bool unique = OneOf(name, {"a", "form", "nobr", "button"});
    if (!closesP && !item && !unique) {
        return false;
    }
    for (const HtmlNode* up = element.parent; up != nullptr; up = up->parent) {
        if (OneOf(up->name, {"html", "table", "td", "th", "caption", "template", "object",
                             "marquee", "applet", "button"})) {
            return unique && up->name == name;
        }
        if ((closesP && up->name == "p") || (unique && up->name == name) ||
            (heading && IsHeadingName(up->name))) {
            return true;
        }
        if (item && (OneOf(up->name, {"li", "dd", "dt"}) || OneOf(up->name, {"ol", "ul", "dl"}))) {
            return OneOf(up->name, {"li", "dd", "dt"});
        }
    }
    return false;
}

} // namespace

std::size_t ForbiddenCharacterAt(const unsigned char* p, const unsigned char* end) {
    const unsigned char c = *p;
    if (c < 0x20) {
        return c == '\t' || c == '\n' || c == '\f' || c == '\r' ? 0 : 1;
    }
    if (c == 0x7F) {
        return 1;
    }
    if (c == 0xC2 && end - p > 1 && p[1] >= 0x80 && p[1] <= 0x9F) {
        return 2;
    }
    if (c == 0xEF && end - p > 2 && p[1] == 0xB7 && p[2] >= 0x90 && p[2] <= 0xAF) {
        return 3; // U+FDD0 to U+FDEF
    }
    if (c == 0xEF && end - p > 2 && p[1] == 0xBF && (p[2] == 0xBE || p[2] == 0xBF)) {
        return 3; // U+FFFE, U+FFFF
    }
    if (c == 0xF0 || c == 0xF1 || c == 0xF2 || c == 0xF3 || c == 0xF4) {
        // U+nFFFE and U+nFFFF of the supplementary planes
        if (end - p > 3 && (p[1] & 0x0F) == 0x0F && p[2] == 0xBF &&
            (p[3] == 0xBE || p[3] == 0xBF)) {
            return 4;
        }
    }
    return 0;
}

bool IsUtf8(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        if (*p < 0x80) {
            ++p;
            // Most of a page is ASCII: eight bytes at a time.
            while (end - p >= 8) {
                std::uint64_t word;
                std::memcpy(&word, p, sizeof word);
                if ((word & 0x8080808080808080u) != 0) {
                    break;
                }
                p += 8;
            }
            continue;
        }
        int more = 0;
        unsigned int code = 0;
        if ((*p & 0xE0) == 0xC0) {
            more = 1;
            code = *p & 0x1Fu;
        } else if ((*p & 0xF0) == 0xE0) {
            more = 2;
            code = *p & 0x0Fu;
        } else if ((*p & 0xF8) == 0xF0) {
            more = 3;
            code = *p & 0x07u;
        } else {
            return false;
        }
        if (end - p <= more) {
            return false;
        }
        for (int i = 1; i <= more; ++i) {
            if ((p[i] & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (p[i] & 0x3Fu);
        }
        static constexpr unsigned int kLeast[] = {0, 0x80, 0x800, 0x10000};
        if (code < kLeast[more] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        p += more + 1;
    }
    return true;
}

bool RemoveForbiddenCharacters(std::string& text) {
    if (!IsUtf8(text)) {
        return false;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    std::size_t kept = 0;
    for (const auto* at = p; at < end;) {
        if (*at >= 0x20 && *at < 0x7F) {
            text[kept++] = static_cast<char>(*at++);
            continue;
        }
        const std::size_t skip = ForbiddenCharacterAt(at, end);
        if (skip > 0) {
            at += skip;
            continue;
        }
        text[kept++] = static_cast<char>(*at++);
    }
    text.resize(kept);
    return true;
}

HtmlNode* HtmlDocument::NewNode(HtmlNode::Kind kind) {
    HtmlNode& node = nodes_.emplace_back();
    node.kind = kind;
    return &node;
}

HtmlNode* HtmlDocument::NewElement(std::string name) {
    HtmlNode* node = NewNode(HtmlNode::Kind::Element);
    node->name = std::move(name);
    return node;
}

HtmlNode* HtmlDocument::NewText(std::string text) {
    HtmlNode* node = NewNode(HtmlNode::Kind::Text);
    node->text = std::move(text);
    return node;
}

bool HtmlDocument::CopyTree(const void* parserRoot) {
    // The tree is copied without recursion: a pair of parser node and our parent.
    struct Pending {
        const GumboNode* from;
        HtmlNode* into;
        std::size_t depth;
    };
    std::vector<Pending> stack{{static_cast<const GumboNode*>(parserRoot), nullptr, 1}};
    while (!stack.empty()) {
        const Pending item = stack.back();
        stack.pop_back();
        const GumboNode& from = *item.from;
        repaired_ = repaired_ || (from.parse_flags & kRepairs) != 0;
        HtmlNode* node = nullptr;
        switch (from.type) {
        case GUMBO_NODE_ELEMENT:
        case GUMBO_NODE_TEMPLATE: {
            const GumboElement& element = from.v.element;
            if (element.tag_namespace != GUMBO_NAMESPACE_HTML ||
                element.tag == GUMBO_TAG_FRAMESET || element.tag == GUMBO_TAG_PLAINTEXT ||
                item.depth > kMaxDepth) {
                return false;
            }
            node = NewElement(TagName(element));
            node->parent = item.into;
            if (ClosesAnAncestor(*node)) {
                return false;
            }
            CopyAttributes(element, *node);
            const GumboVector& children = ChildrenOf(from);
            node->children.reserve(children.length);
            for (unsigned int i = children.length; i-- > 0;) {
                stack.push_back(
                    {static_cast<const GumboNode*>(children.data[i]), node, item.depth + 1});
            }
            break;
        }
        case GUMBO_NODE_TEXT:
        case GUMBO_NODE_WHITESPACE:
        case GUMBO_NODE_CDATA:
            node = NewText(from.v.text.text);
            break;
        case GUMBO_NODE_COMMENT:
            node = NewNode(HtmlNode::Kind::Comment);
            node->text = from.v.text.text;
            break;
        case GUMBO_NODE_DOCUMENT:
            return false;
        }
        if (item.into == nullptr) {
            root_ = node;
        } else {
            node->parent = item.into;
            item.into->children.push_back(node);
        }
    }
    return root_ != nullptr;
}

std::unique_ptr<HtmlDocument> HtmlDocument::Parse(std::string_view page) {
    if (!IsUtf8(page)) {
        return nullptr;
    }
    Arena arena;
    GumboOptions options = kGumboDefaultOptions;
    options.allocator = &Arena::Allocate;
    options.deallocator = &Arena::Free;
    options.userdata = &arena;
    options.max_errors = 0; // the nodes' own flags say what was repaired
    const GumboOutput* output = gumbo_parse_with_options(&options, page.data(), page.size());
    if (output == nullptr || output->root == nullptr ||
        output->document->v.document.doc_type_quirks_mode != GUMBO_DOCTYPE_NO_QUIRKS) {
        return nullptr;
    }
    std::unique_ptr<HtmlDocument> document(new HtmlDocument());
    if (!document->CopyTree(output->root)) {
        return nullptr;
    }
    for (HtmlNode* child : document->root_->children) {
        if (child->Is("head")) {
            document->head_ = child;
        } else if (child->Is("body")) {
            document->body_ = child;
        }
    }
    if (document->head_ == nullptr || document->body_ == nullptr) {
        return nullptr;
    }
    return document;
}

} // namespace pelmora
