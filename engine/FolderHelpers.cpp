#include "engine/FolderHelpers.h"

#include "engine/PathHelpers.h"

#include <cstdlib>
#include <filesystem>
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

} // namespace

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

std::string ChangeFolder(const std::string& path, const std::string& folder) {
    const std::size_t slash = path.rfind(kPathSeparator);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return folder + kPathSeparator + name;
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

} // namespace pelmora
