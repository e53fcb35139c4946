#include "engine/TextLines.h"

namespace pelmora {

namespace {

void AppendHexEscape(std::string& out, unsigned char byte) {
    static const char kDigits[] = "0123456789abcdef";
    out += "\\x";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0f];
}

} // namespace

std::string EscapeControlCharacters(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (byte == '\n') {
            out += "\\n";
        } else if (byte == '\r') {
            out += "\\r";
        } else if (byte == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7f) {
            AppendHexEscape(out, byte);
        } else if (byte == 0xc2 && next >= 0x80 && next <= 0x9f) {
            // A terminal reads U+009B as the start of a command, as it reads ESC "[".
            AppendHexEscape(out, byte);
            AppendHexEscape(out, next);
            ++i;
        } else {
            out += static_cast<char>(byte);
        }
    }
    return out;
}

} // namespace pelmora
