#include "engine/libreoffice/PagePictures.h"

#include "engine/Converter.h"
#include "engine/WholeFiles.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <system_error>
#include <vector>

namespace pelmora {

namespace fs = std::filesystem;

namespace {

struct Span {
    std::size_t begin_;
    std::size_t end_;
};

bool SameLetters(const std::string& text, std::size_t at, const char* word) {
    // Most places differ in their first letter; tolower is a call per letter.
    if ((text[at] | 0x20) != word[0]) {
        return false;
    }
    for (std::size_t i = 1; word[i] != '\0'; ++i) {
        if (at + i >= text.size() ||
            std::tolower(static_cast<unsigned char>(text[at + i])) != word[i]) {
            return false;
        }
    }
    return true;
}

std::size_t SkipSpaces(const std::string& text, std::size_t at) {
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) {
        ++at;
    }
    return at;
}

// The value after `at` (which points just past "=" or "("), quoted or not.
Span ValueAt(const std::string& text, std::size_t at, bool css) {
    at = SkipSpaces(text, at);
    if (at < text.size() && (text[at] == '"' || text[at] == '\'')) {
        const std::size_t close = text.find(text[at], at + 1);
        return {at + 1, close == std::string::npos ? at + 1 : close};
    }
    std::size_t end = at;
    while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end])) &&
           text[end] != '>' && !(css && text[end] == ')')) {
        ++end;
    }
    return {at, end};
}

// Every place a picture can be named: src= and background= attributes and CSS url().
std::vector<Span> FindReferences(const std::string& page) {
    std::vector<Span> found;
    for (std::size_t i = 1; i < page.size(); ++i) {
        const bool attributeStart = std::isspace(static_cast<unsigned char>(page[i - 1]));
        std::size_t after = std::string::npos;
        if (attributeStart && SameLetters(page, i, "src")) {
            after = i + 3;
        } else if (attributeStart && SameLetters(page, i, "background")) {
            after = i + 10;
        } else if (SameLetters(page, i, "url(")) {
            found.push_back(ValueAt(page, i + 4, true));
            continue;
        }
        if (after != std::string::npos) {
            after = SkipSpaces(page, after);
            if (after < page.size() && page[after] == '=') {
                found.push_back(ValueAt(page, after + 1, false));
            }
        }
    }
    return found;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

void AppendUtf8(std::string& out, unsigned long code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// An attribute value as the file name it stands for: character references, then
// percent escapes, undone.
std::string DecodeReference(const std::string& raw) {
    std::string text;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const std::size_t semicolon = raw[i] == '&' ? raw.find(';', i) : std::string::npos;
        if (semicolon == std::string::npos || semicolon - i > 10) {
            text += raw[i];
            continue;
        }
        const std::string entity = raw.substr(i + 1, semicolon - i - 1);
        static const std::pair<const char*, char> named[] = {
            {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
        const auto match = std::find_if(std::begin(named), std::end(named),
                                        [&](const auto& n) { return entity == n.first; });
        if (match != std::end(named)) {
            text += match->second;
        } else if (entity.size() > 1 && entity[0] == '#') {
            const bool hex = entity[1] == 'x' || entity[1] == 'X';
            AppendUtf8(text, std::stoul("0" + entity.substr(hex ? 2 : 1), nullptr, hex ? 16 : 10));
        } else {
            text += raw[i];
            continue;
        }
        i = semicolon;
    }
    std::string name;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 &&
            HexDigit(text[i + 2]) >= 0) {
            name += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 2;
        } else {
            name += text[i];
        }
    }
    return name;
}

// A file name as a relative URL: every byte but letters, digits and "-._~" escaped,
// which takes any name, UTF-8 or not.
std::string PercentEncoded(const std::string& name) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string url;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) != 0 && byte < 0x80) {
            url += c;
        } else if (c == '-' || c == '.' || c == '_' || c == '~') {
            url += c;
        } else {
            url += '%';
            url += kDigits[byte >> 4];
            url += kDigits[byte & 0x0f];
        }
    }
    return url;
}

std::string ReadPage(const fs::path& path) {
    std::string page;
    if (ReadAll(path.string(), page) != 0) {
        throw ConverterError("cannot read the page " + path.string());
    }
    return page;
}

} // namespace

std::string CompanionFolderName(const std::string& pageName) {
    const std::size_t dot = pageName.rfind('.');
    return (dot == std::string::npos ? pageName : pageName.substr(0, dot)) + ".files";
}

namespace {

// Puts text in place of the page at pagePath, whole or not at all.
void ReplacePage(const fs::path& pagePath, const std::string& text) {
    const fs::path temporary = pagePath.string() + ".pictures";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (!out.flush()) {
            throw ConverterError("cannot write the page " + pagePath.string());
        }
    }
    std::error_code error;
    fs::rename(temporary, pagePath, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw ConverterError("cannot write the page " + pagePath.string() + ": " + error.message());
    }
}

// Moves the picture base/name into base/companion; false when it is no plain file
// (a reference to something else, or a link the page must not carry off).
bool MovePicture(const fs::path& base, const std::string& name, const std::string& companion) {
    std::error_code error;
    if (!fs::is_regular_file(fs::symlink_status(base / name, error))) {
        return false;
    }
    fs::create_directory(base / companion, error);
    if (!error) {
        fs::rename(base / name, base / companion / name, error);
    }
    if (error) {
        throw ConverterError("cannot move the picture " + name + " into " +
                             (base / companion).string() + ": " + error.message());
    }
    return true;
}

// Moves the pictures of the page the export wrote as base/storedName into the
// companion folder of pageName, rewriting the page's references to them.
int MovePictures(const fs::path& base, const std::string& storedName, const std::string& pageName,
                 const std::vector<std::string>& writtenThrough) {
    const fs::path pagePath = base / storedName;
    const std::size_t dot = storedName.rfind('.');
    const std::string stem = dot == std::string::npos ? storedName : storedName.substr(0, dot);
    const std::string infix =
        "_" + (dot == std::string::npos ? "" : storedName.substr(dot + 1)) + "_";
    const std::string companion = CompanionFolderName(pageName);
    const std::string companionReference = PercentEncoded(companion) + "/";
    const std::string throughFolder = "./" + (base / "").parent_path().filename().string() + "/";
    std::vector<std::string> prefixes{throughFolder, throughFolder.substr(2)};
    prefixes.insert(prefixes.end(), writtenThrough.begin(), writtenThrough.end());

    const std::string page = ReadPage(pagePath);
    std::string rewritten;
    std::set<std::string> moved;
    std::size_t copied = 0;
    for (const Span& span : FindReferences(page)) {
        std::string raw = page.substr(span.begin_, span.end_ - span.begin_);
        std::string name = DecodeReference(raw);
        // Written relative to the page's final folder, a reference reaches the picture
        // through the folder the export wrote it into.
        for (const std::string& prefix : prefixes) {
            if (!prefix.empty() && name.rfind(prefix, 0) == 0) {
                name = name.substr(prefix.size());
                raw = raw.substr(raw.rfind('/') + 1);
                break;
            }
        }
        const std::size_t rawInfix = raw.rfind(infix);
        if (name.find('/') != std::string::npos || name.rfind(stem + infix, 0) != 0 ||
            rawInfix == std::string::npos) {
            continue;
        }
        if (!moved.count(name)) {
            if (!MovePicture(base, name, companion)) {
                continue;
            }
            moved.insert(name);
        }
        // The picture's own reference already carries the page's stem in the
        // exporter's encoding; the folder is that stem with ".files". A page written
        // under another name gets its own name's folder, encoded here.
        rewritten.append(page, copied, span.begin_ - copied);
        rewritten +=
            (storedName == pageName ? raw.substr(0, rawInfix) + ".files/" : companionReference) +
            raw;
        copied = span.end_;
    }
    if (moved.empty()) {
        return 0;
    }
    rewritten.append(page, copied, std::string::npos);
    ReplacePage(pagePath, rewritten);
    return static_cast<int>(moved.size());
}

} // namespace

int MovePagePictures(const std::string& folder, const std::string& pageName) {
    return MovePictures(folder.empty() ? fs::current_path() : fs::path(folder), pageName, pageName,
                        {});
}

int PlaceStoredPage(const std::string& folder, const std::string& storedName,
                    const std::string& pageName, const std::vector<std::string>& writtenThrough) {
    const fs::path base = folder.empty() ? fs::current_path() : fs::path(folder);
    const int moved = MovePictures(base, storedName, pageName, writtenThrough);
    std::error_code error;
    fs::rename(base / storedName, base / pageName, error);
    if (error) {
        throw ConverterError("cannot write the page " + (base / pageName).string() + ": " +
                             error.message());
    }
    return moved;
}

} // namespace pelmora
