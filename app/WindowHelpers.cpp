#include "app/WindowHelpers.h"

#include <clocale>
#include <filesystem>
#include <langinfo.h>
#include <locale.h>
#include <system_error>

namespace pelmora {

namespace fs = std::filesystem;

namespace {

// Groups the decimal digits of value by three with separator.
std::string GroupedDigits(std::uint64_t value, const std::string& separator) {
    std::string digits = std::to_string(value);
    std::string out;
    const std::size_t lead = digits.size() % 3 == 0 ? 3 : digits.size() % 3;
    out.append(digits, 0, lead);
    for (std::size_t i = lead; i < digits.size(); i += 3) {
        out += separator;
        out.append(digits, i, 3);
    }
    return out;
}

// numerator / denominator with `decimals` digits, rounded half away from zero as the
// size column always did; integer arithmetic keeps every 64-bit size exact.
std::string FixedQuotient(std::int64_t numerator, std::int64_t denominator, int decimals,
                          const std::string& decimalSeparator) {
    const std::uint64_t scale = decimals == 2 ? 100 : 10;
    const auto num = static_cast<std::uint64_t>(numerator);
    const auto den = static_cast<std::uint64_t>(denominator);
    const std::uint64_t whole = num / den;
    const std::uint64_t rest = num % den;
    const std::uint64_t scaled = whole * scale + (rest * scale + den / 2) / den;
    std::string fraction = std::to_string(scaled % scale);
    fraction.insert(0, static_cast<std::size_t>(decimals) - fraction.size(), '0');
    return std::to_string(scaled / scale) + decimalSeparator + fraction;
}

// The user's numeric separators from the environment's locale; the C locale has no
// thousands separator, so "," and "." stand in where the locale gives none.
void UserSeparators(std::string& thousands, std::string& decimal) {
    thousands = ",";
    decimal = ".";
    locale_t user = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
    if (user == static_cast<locale_t>(0)) {
        return;
    }
    const char* sep = nl_langinfo_l(THOUSEP, user);
    const char* radix = nl_langinfo_l(RADIXCHAR, user);
    if (sep != nullptr && *sep != '\0') {
        thousands = sep;
    }
    if (radix != nullptr && *radix != '\0') {
        decimal = radix;
    }
    freelocale(user);
}

} // namespace

std::string HelpFilePath(const std::string& programFolder) {
    const std::string installed = programFolder + "../share/doc/pelmora/help.html";
    std::error_code ec;
    if (fs::exists(installed, ec)) {
        return fs::path(installed).lexically_normal().string();
    }
    return programFolder + "help.html";
}

std::string FormatFileSize(std::int64_t bytes) {
    std::string thousands;
    std::string decimal;
    UserSeparators(thousands, decimal);
    return FormatFileSize(bytes, thousands, decimal);
}

std::string FormatFileSize(std::int64_t bytes, const std::string& thousandsSeparator,
                           const std::string& decimalSeparator) {
    if (bytes < 1024) {
        if (bytes < 0) {
            return "-" + GroupedDigits(0 - static_cast<std::uint64_t>(bytes), thousandsSeparator);
        }
        return GroupedDigits(static_cast<std::uint64_t>(bytes), thousandsSeparator);
    }
    const std::int64_t kb = bytes / 1024;
    constexpr std::int64_t kMiB = 1048576;
    if (kb < 10) {
        return FixedQuotient(bytes, 1024, 2, decimalSeparator) + "KB";
    }
    if (kb < 1000) {
        return FixedQuotient(bytes, 1024, 1, decimalSeparator) + "KB";
    }
    if (kb < 10000) {
        return FixedQuotient(bytes, kMiB, 2, decimalSeparator) + "MB";
    }
    if (kb < 1000000) {
        return FixedQuotient(bytes, kMiB, 1, decimalSeparator) + "MB";
    }
    return FixedQuotient(bytes, kMiB * 1024, 2, decimalSeparator) + "GB";
}

std::string TrimAtNul(const std::string& text) {
    const std::size_t nul = text.find('\0');
    return nul == std::string::npos ? text : text.substr(0, nul);
}

} // namespace pelmora
