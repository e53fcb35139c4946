#include "cli/JsonReport.h"

#include "engine/PathHelpers.h"

#include <charconv>
#include <cstdio>
#include <filesystem>

namespace pelmora {

namespace fs = std::filesystem;

namespace {

// The length of the valid UTF-8 sequence that starts text at i, 0 when none does
// (stray continuation bytes, overlong forms, surrogates and values above U+10FFFF
// are not valid).
std::size_t Utf8SequenceLength(const std::string& text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + length > text.size()) {
        return 0;
    }
    // Only the second byte has a narrowed range; the rest are plain continuations.
    if (byte(i + 1) < low || byte(i + 1) > high) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) {
            return 0;
        }
    }
    return length;
}

std::string Escape(unsigned value) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\u%04x", value);
    return escape;
}

} // namespace

std::string JsonReport::Quote(const std::string& text) {
    std::string quoted = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const std::size_t length = Utf8SequenceLength(text, i);
        if (length == 0) {
            quoted += Escape(0xDC00u + c);
            ++i;
            continue;
        }
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += static_cast<char>(c);
        } else if (c == '\n') {
            quoted += "\\n";
        } else if (c == '\t') {
            quoted += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            quoted += Escape(c);
        } else {
            quoted.append(text, i, length);
        }
        i += length;
    }
    return quoted + "\"";
}

std::string JsonReport::MessageOf(const std::string& logLine) {
    // "hh:mm:ss  " opens every line the engine formats.
    constexpr std::size_t kTimeLength = 10;
    if (logLine.size() >= kTimeLength && logLine[2] == ':' && logLine[5] == ':' &&
        logLine.compare(8, 2, "  ") == 0) {
        return logLine.substr(kTimeLength);
    }
    return logLine;
}

std::size_t JsonReport::CountPictures(const std::string& page) {
    const fs::path folder = ChangeExtension(page, ".files");
    std::size_t count = 0;
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        return 0;
    }
    for (auto it = fs::recursive_directory_iterator(folder, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        std::error_code kind;
        count += it->is_regular_file(kind) ? 1 : 0;
    }
    return count;
}

std::string JsonReport::Object(const std::string& source, const std::string& page, int code,
                               const std::string& message, double seconds, std::size_t pictures) {
    // to_chars, unlike printf, never writes a decimal comma whatever the locale.
    char secondsText[32];
    const auto written = std::to_chars(secondsText, secondsText + sizeof secondsText,
                                       seconds < 0 ? 0.0 : seconds, std::chars_format::fixed, 3);
    return "{\"source\":" + Quote(source) + ",\"page\":" + Quote(page) +
           ",\"code\":" + std::to_string(code) + ",\"message\":" + Quote(message) +
           ",\"seconds\":" + std::string(secondsText, written.ptr) +
           ",\"pictures\":" + std::to_string(pictures) + "}\n";
}

std::string JsonReport::Record(const BatchDocument& document,
                               const DocumentOutcome& outcome) const {
    const ConversionResult& result = outcome.result;
    // A page that was not written has no pictures of this run; one left from before
    // (101) still reports what is there beside it.
    const bool pageThere =
        result.code == ConversionCode::kConverted || result.code == ConversionCode::kOutputExists;
    return Object(document.source, document.page, static_cast<int>(result.code),
                  MessageOf(result.line), outcome.seconds,
                  pageThere ? CountPictures(document.page) : 0);
}

} // namespace pelmora
