#include "tests/support/Pages.h"

#include "tests/support/TempFolder.h"

#include <regex>

namespace pelmora::test {

std::vector<std::string> PictureReferences(const std::string& page) {
    static const std::regex src(R"re(<img[^>]*\ssrc="([^"]*)")re", std::regex::icase);
    std::vector<std::string> names;
    const std::string html = ReadFile(page);
    for (std::sregex_iterator it(html.begin(), html.end(), src), end; it != end; ++it) {
        std::string raw = std::regex_replace((*it)[1].str(), std::regex("&amp;"), "&");
        std::string name;
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '%' && i + 2 < raw.size()) {
                name += static_cast<char>(std::stoi(raw.substr(i + 1, 2), nullptr, 16));
                i += 2;
            } else {
                name += raw[i];
            }
        }
        names.push_back(name);
    }
    return names;
}

std::string RedPng() {
    static const char* const hex =
        "89504e470d0a1a0a0000000d49484452000000080000000808020000004b6d29dc0000001249444154789c"
        "63f8cfc0801561171db4120028ff3fc16eecdf610000000049454e44ae426082";
    std::string bytes;
    for (std::size_t i = 0; hex[i] != '\0'; i += 2) {
        bytes += static_cast<char>(std::stoi(std::string(hex + i, 2), nullptr, 16));
    }
    return bytes;
}

} // namespace pelmora::test
