#include "engine/LibreOfficeCompaction.h"

#include "engine/BlankText.h"
#include "engine/HtmlDocument.h"
#include "engine/HtmlWriter.h"
#include "engine/MarkupText.h"
#include "engine/PageRewriter.h"

#include <cstring>
#include <memory>

namespace pelmora {

namespace {

constexpr std::size_t kNone = std::string::npos;

constexpr char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

// lower is written in lower case; text may be in any case.
bool EqualsLower(std::string_view text, std::string_view lower) {
    if (text.size() != lower.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (Lower(text[i]) != lower[i]) {
            return false;
        }
    }
    return true;
}

std::size_t FindChar(std::string_view text, std::size_t from, char c) {
    if (from >= text.size()) {
        return kNone;
    }
    const void* hit = std::memchr(text.data() + from, c, text.size() - from);
    return hit == nullptr ? kNone
                          : static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
}

// End of a tag's name that begins at `at`.
std::size_t NameEnd(std::string_view text, std::size_t at) {
    while (at < text.size() && !IsBlank(text[at]) && text[at] != '/' && text[at] != '>') {
        ++at;
    }
    return at;
}

// Reads a tag's attributes from `at` as a browser does, calling visit(name, value)
// for each. Returns the position of the '>' that ends the tag (one inside a quoted
// value does not), or kNone when the page ends first.
template <typename Visit>
std::size_t ReadAttributes(std::string_view text, std::size_t at, Visit&& visit) {
    const std::size_t size = text.size();
    while (at < size) {
        const char c = text[at];
        if (IsBlank(c) || c == '/') {
            ++at;
            continue;
        }
        if (c == '>') {
            return at;
        }
        const std::size_t nameAt = at++;
        while (at < size && !IsBlank(text[at]) && text[at] != '/' && text[at] != '>' &&
               text[at] != '=') {
            ++at;
        }
        const std::string_view name = text.substr(nameAt, at - nameAt);
        while (at < size && IsBlank(text[at])) {
            ++at;
        }
        if (at >= size || text[at] != '=') {
            visit(name, std::string_view());
            continue;
        }
        ++at;
        while (at < size && IsBlank(text[at])) {
            ++at;
        }
        if (at >= size) {
            return kNone;
        }
        const char quote = text[at];
        if (quote == '"' || quote == '\'') {
            const std::size_t close = FindChar(text, at + 1, quote);
            if (close == kNone) {
                return kNone;
            }
            visit(name, text.substr(at + 1, close - at - 1));
            at = close + 1;
        } else {
            const std::size_t valueAt = at;
            while (at < size && !IsBlank(text[at]) && text[at] != '>') {
                ++at;
            }
            visit(name, text.substr(valueAt, at - valueAt));
        }
    }
    return kNone;
}

// End of a comment that begins at `at` ("<!--"), just after its "-->"; kNone when
// the comment runs to the end of the page.
std::size_t CommentEnd(std::string_view text, std::size_t at) {
    // "<!-->" and "<!--->" are whole (empty) comments.
    if (text.substr(at + 4, 1) == ">") {
        return at + 5;
    }
    if (text.substr(at + 4, 2) == "->") {
        return at + 6;
    }
    const std::size_t close = text.find("-->", at + 4);
    return close == kNone ? kNone : close + 3;
}

} // namespace

bool IsLibreOfficePage(std::string_view page) {
    for (std::size_t lt = FindChar(page, 0, '<'); lt != kNone; lt = FindChar(page, lt + 1, '<')) {
        if (page.substr(lt + 1, 3) == "!--") {
            const std::size_t end = CommentEnd(page, lt);
            if (end == kNone) {
                return false;
            }
            lt = end - 1;
            continue;
        }
        const std::size_t nameEnd = NameEnd(page, lt + 1);
        const std::string_view name = page.substr(lt + 1, nameEnd - lt - 1);
        if (EqualsLower(name, "body")) {
            return false;
        }
        if (!EqualsLower(name, "meta")) {
            continue;
        }
        bool generator = false;
        std::string_view content;
        ReadAttributes(page, nameEnd, [&](std::string_view key, std::string_view value) {
            if (EqualsLower(key, "name")) {
                generator = EqualsLower(value, "generator");
            } else if (EqualsLower(key, "content")) {
                content = value;
            }
        });
        if (generator && content.substr(0, 11) == "LibreOffice") {
            return true;
        }
    }
    return false;
}

void CompactLibreOfficePage(std::string& page, std::string_view title) {
    // The parser turns control characters into replacement characters: they go first.
    std::string text = page;
    std::unique_ptr<HtmlDocument> document =
        RemoveForbiddenCharacters(text) ? HtmlDocument::Parse(text) : nullptr;
    if (document == nullptr) {
        return; // what cannot be read as a tree is left as it was
    }
    PageRewriter(*document, title).Rewrite();
    DropHiddenBlanks(document->Root());
    std::string written = WriteHtml(document->Root());
    if (document->Repaired()) {
        // A tree repaired from misnested tags is kept only if it reads back the same.
        const std::unique_ptr<HtmlDocument> again = HtmlDocument::Parse(written);
        if (again == nullptr || WriteHtml(again->Root()) != written) {
            return;
        }
    }
    page = std::move(written);
}

} // namespace pelmora
