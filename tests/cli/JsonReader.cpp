#include "tests/cli/JsonReader.h"

#include <cctype>
#include <cstdlib>

namespace pelmora::test {

namespace {

class Reader {
public:
    explicit Reader(const std::string& text) : text_(text) {}

    bool AtEnd() {
        SkipBlanks();
        return at_ == text_.size();
    }
    bool Take(char c) {
        SkipBlanks();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    bool Peek(char c) {
        SkipBlanks();
        return at_ < text_.size() && text_[at_] == c;
    }

    std::optional<std::string> String() {
        if (!Take('"')) {
            return std::nullopt;
        }
        std::string value;
        while (at_ < text_.size() && text_[at_] != '"') {
            const unsigned char c = static_cast<unsigned char>(text_[at_++]);
            if (c < 0x20) {
                return std::nullopt;
            }
            if (c != '\\') {
                value += static_cast<char>(c);
                continue;
            }
            if (at_ >= text_.size()) {
                return std::nullopt;
            }
            const char escape = text_[at_++];
            switch (escape) {
            case '"':
                value += '"';
                break;
            case '\\':
                value += '\\';
                break;
            case '/':
                value += '/';
                break;
            case 'b':
                value += '\b';
                break;
            case 'f':
                value += '\f';
                break;
            case 'n':
                value += '\n';
                break;
            case 'r':
                value += '\r';
                break;
            case 't':
                value += '\t';
                break;
            case 'u': {
                auto code = Hex4();
                if (!code) {
                    return std::nullopt;
                }
                if (*code >= 0xD800 && *code <= 0xDBFF && text_.compare(at_, 2, "\\u") == 0) {
                    at_ += 2;
                    const auto low = Hex4();
                    if (!low || *low < 0xDC00 || *low > 0xDFFF) {
                        return std::nullopt;
                    }
                    AppendUtf8(value, 0x10000 + ((*code - 0xD800) << 10) + (*low - 0xDC00));
                } else if (*code >= 0xDC80 && *code <= 0xDCFF) {
                    // A lone low surrogate carries one raw byte.
                    value += static_cast<char>(*code - 0xDC00);
                } else if (*code >= 0xD800 && *code <= 0xDFFF) {
                    return std::nullopt;
                } else {
                    AppendUtf8(value, *code);
                }
                break;
            }
            default:
                return std::nullopt;
            }
        }
        if (!Take('"')) {
            return std::nullopt;
        }
        return value;
    }

    std::optional<double> Number() {
        SkipBlanks();
        const char* start = text_.c_str() + at_;
        char* end = nullptr;
        const double value = std::strtod(start, &end);
        if (end == start) {
            return std::nullopt;
        }
        at_ += static_cast<std::size_t>(end - start);
        return value;
    }

private:
    void SkipBlanks() {
        while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) {
            ++at_;
        }
    }
    std::optional<unsigned> Hex4() {
        if (at_ + 4 > text_.size()) {
            return std::nullopt;
        }
        unsigned value = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[at_++];
            if (!std::isxdigit(static_cast<unsigned char>(c))) {
                return std::nullopt;
            }
            value = value * 16 + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(c))
                                                           ? c - '0'
                                                           : std::tolower(c) - 'a' + 10);
        }
        return value;
    }
    // UTF-8 by its rule: a lead byte that counts the bytes after it, then six bits a byte.
    static void AppendUtf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
            return;
        }
        const int more = code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
        static constexpr unsigned kLead[] = {0xC0, 0xE0, 0xF0};
        out += static_cast<char>(kLead[more - 1] | (code >> (6 * more)));
        for (int shift = 6 * (more - 1); shift >= 0; shift -= 6) {
            out += static_cast<char>(0x80 | ((code >> shift) & 0x3F));
        }
    }

    const std::string& text_;
    std::size_t at_ = 0;
};

} // namespace

std::optional<std::map<std::string, JsonValue>> ReadFlatJsonObject(const std::string& line) {
    Reader reader(line);
    std::map<std::string, JsonValue> object;
    if (!reader.Take('{')) {
        return std::nullopt;
    }
    if (!reader.Take('}')) {
        do {
            const auto key = reader.String();
            if (!key || !reader.Take(':') || object.count(*key) != 0) {
                return std::nullopt;
            }
            JsonValue value;
            if (reader.Peek('"')) {
                auto text = reader.String();
                if (!text) {
                    return std::nullopt;
                }
                value.isString = true;
                value.text = *text;
            } else {
                const auto number = reader.Number();
                if (!number) {
                    return std::nullopt;
                }
                value.number = *number;
            }
            object[*key] = value;
        } while (reader.Take(','));
        if (!reader.Take('}')) {
            return std::nullopt;
        }
    }
    if (!reader.AtEnd()) {
        return std::nullopt;
    }
    return object;
}

} // namespace pelmora::test
