#include "engine/PathHelpers.h"

#include <clocale>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <langinfo.h>
#include <locale.h>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

namespace pelmora {

namespace fs = std::filesystem;

namespace {

// The path without trailing separators, so that a link "x.files/" is examined as the
// link itself and not as the folder it points to.
std::string WithoutTrailingSeparators(const std::string& path) {
    std::string out = path;
    while (out.size() > 1 && out.back() == kPathSeparator) {
        out.pop_back();
    }
    return out;
}

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

bool FileExists(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    return !ec && fs::exists(status) && !fs::is_directory(status);
}

bool FolderExists(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    std::error_code ec;
    return fs::is_directory(path, ec) && !ec;
}

bool CreateFolder(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    std::error_code ec;
    return fs::create_directories(WithoutTrailingSeparators(path), ec) && !ec;
}

void DeleteFolder(const std::string& folder) {
    if (folder.empty()) {
        return;
    }
    const fs::path dir = WithoutTrailingSeparators(folder);
    std::error_code ec;
    // A link in place of the folder is left alone: following it would delete the
    // files of some other folder.
    if (!fs::is_directory(fs::symlink_status(dir, ec)) || ec) {
        return;
    }
    fs::directory_iterator it(dir, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const fs::directory_entry& entry = *it;
        std::error_code kind;
        if (!entry.is_regular_file(kind) || entry.is_symlink(kind)) {
            continue;
        }
        // Dot files are this platform's hidden files, which stay as they always did.
        const std::string name = entry.path().filename().string();
        if (name.empty() || name.front() == '.') {
            continue;
        }
        std::error_code ignored;
        fs::remove(entry.path(), ignored);
    }
    std::error_code ignored;
    // Removes the folder only when it is now empty.
    if (fs::is_empty(dir, ignored) && !ignored) {
        fs::remove(dir, ignored);
    }
}

std::string ChangeExtension(const std::string& path, const std::string& extension) {
    const std::size_t slash = path.rfind(kPathSeparator);
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = path.rfind('.');
    std::string head =
        (dot == std::string::npos || dot < nameStart) ? path + "." : path.substr(0, dot);
    // Only the dot where name and extension meet is joined; ".." anywhere else in
    // the path is a folder reference and stays.
    if (!head.empty() && head.back() == '.' && !extension.empty() && extension.front() == '.') {
        head.pop_back();
    }
    return head + extension;
}

std::string ChangeFolder(const std::string& path, const std::string& folder) {
    const std::size_t slash = path.rfind(kPathSeparator);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return folder + kPathSeparator + name;
}

std::string AppFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) {
        return {};
    }
    std::string folder = exe.parent_path().string();
    if (folder.empty() || folder.back() != kPathSeparator) {
        folder += kPathSeparator;
    }
    return folder;
}

std::string StateFolder() {
    // The XDG base directory rules ignore a relative XDG_STATE_HOME.
    const char* state = std::getenv("XDG_STATE_HOME");
    fs::path base;
    if (state != nullptr && state[0] == kPathSeparator) {
        base = state;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || home[0] == '\0') {
            const passwd* user = getpwuid(getuid());
            home = user != nullptr ? user->pw_dir : "/";
        }
        base = fs::path(home) / ".local" / "state";
    }
    std::string folder = (base / "pelmora").string();
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    return folder + kPathSeparator;
}

std::string HelpFilePath(const std::string& programFolder) {
    const std::string installed = programFolder + "../share/doc/pelmora/help.html";
    std::error_code ec;
    if (fs::exists(installed, ec)) {
        return fs::path(installed).lexically_normal().string();
    }
    return programFolder + "help.html";
}

std::string DefaultLogPath() {
    // The ISO date whatever the locale: the short date was ambiguous ("12-08-26" in
    // the C locale), sorted badly, and in many locales held a "/".
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char date[32] = "0000-00-00";
    if (localtime_r(&now, &local) != nullptr) {
        std::strftime(date, sizeof date, "%Y-%m-%d", &local);
    }
    return StateFolder() + date + ".log";
}

bool WriteLogFile(const std::string& path, const std::string& text) {
    if (path.empty()) {
        return false;
    }
    std::ofstream out(path, std::ios::binary | std::ios::app);
    if (!out) {
        return false;
    }
    out << text << '\n';
    out.flush();
    return static_cast<bool>(out);
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

std::vector<std::string> SplitAt(const std::string& text, char separator) {
    std::vector<std::string> pieces;
    std::string::size_type start = 0;
    while (start <= text.size()) {
        auto end = text.find(separator, start);
        if (end == std::string::npos) {
            end = text.size();
        }
        pieces.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return pieces;
}

} // namespace pelmora
