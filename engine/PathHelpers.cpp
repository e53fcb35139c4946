#include "engine/PathHelpers.h"

#include "engine/FolderHelpers.h"

#include <ctime>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace pelmora {

namespace fs = std::filesystem;

bool FileExists(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    return !ec && fs::exists(status) && !fs::is_directory(status);
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
