#include "controls/paint/NumericKey.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace pelmora {

double LeadingNumber(const QString& text) {
    // Blanks anywhere are ignored, as the platform's numeric parse does.
    std::string digits;
    bool seenDigit = false, seenPoint = false, seenExponent = false;
    for (QChar c : text) {
        if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r') {
            continue;
        }
        const char ch = c.toLatin1();
        if (ch >= '0' && ch <= '9') {
            seenDigit = true;
        } else if ((ch == '+' || ch == '-') && (digits.empty() || digits.back() == 'e')) {
        } else if (ch == '.' && !seenPoint && !seenExponent) {
            seenPoint = true;
        } else if ((ch == 'e' || ch == 'E' || ch == 'd' || ch == 'D') && seenDigit &&
                   !seenExponent) {
            seenExponent = true;
            digits += 'e';
            continue;
        } else {
            break;
        }
        digits += ch;
    }
    // An exponent marker or sign with nothing after it is not part of the number.
    while (!digits.empty() &&
           (digits.back() == 'e' || digits.back() == '+' || digits.back() == '-')) {
        digits.pop_back();
    }
    if (!seenDigit || digits.empty()) {
        return 0;
    }
    if (digits[0] == '+') {
        digits.erase(0, 1); // the parser below takes no plus sign
    }
    if (digits.empty()) {
        return 0;
    }
    double value = 0;
    const char* end = digits.data() + digits.size();
    if (std::from_chars(digits.data(), end, value).ec == std::errc::result_out_of_range) {
        // Too large becomes infinite (and later overflows); too small is zero.
        const auto e = digits.find('e');
        const bool tiny = e != std::string::npos && e + 1 < digits.size() && digits[e + 1] == '-';
        if (tiny) {
            return 0;
        }
        return digits[0] == '-' ? -std::numeric_limits<double>::infinity()
                                : std::numeric_limits<double>::infinity();
    }
    return value;
}

NumericKey ReadNumericKey(const QString& key) {
    const double number = LeadingNumber(key);
    if (number == 0) {
        return NumericKey();
    }
    const double rounded = std::nearbyint(number); // halves to even
    if (!(rounded >= -32768 && rounded <= 32767)) {
        return NumericKey(true, true);
    }
    return NumericKey(true, false, static_cast<int16_t>(rounded));
}

} // namespace pelmora
