#include "engine/FileSearch.h"

#include "engine/PathHelpers.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace pelmora {

namespace {

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Name order as a Windows file system keeps it: compared upper-cased, so "_a" comes
// after "b"; names equal but for case fall back to their bytes, for a stable order.
bool NameLess(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ua = static_cast<unsigned char>(Upper(a[i]));
        const auto ub = static_cast<unsigned char>(Upper(b[i]));
        if (ua != ub) {
            return ua < ub;
        }
    }
    if (a.size() != b.size()) {
        return a.size() < b.size();
    }
    return a < b;
}

bool GlobMatch(const char* name, const char* nameEnd, const char* pattern, const char* patternEnd) {
    // Iterative matching with one backtrack point: the last "*" seen.
    const char* starPattern = nullptr;
    const char* starName = nullptr;
    while (name != nameEnd) {
        if (pattern != patternEnd && *pattern == '*') {
            starPattern = ++pattern;
            starName = name;
        } else if (pattern != patternEnd && (*pattern == '?' || Upper(*pattern) == Upper(*name))) {
            ++pattern;
            ++name;
        } else if (starPattern) {
            pattern = starPattern;
            name = ++starName;
        } else {
            return false;
        }
    }
    while (pattern != patternEnd && *pattern == '*') {
        ++pattern;
    }
    return pattern == patternEnd;
}

std::vector<std::string> SplitPatterns(const std::string& patterns) {
    std::vector<std::string> parts;
    for (std::string part : SplitAt(patterns, ';')) {
        const auto first = part.find_first_not_of(' ');
        if (first != std::string::npos) {
            part = part.substr(first, part.find_last_not_of(' ') - first + 1);
            if (std::find(parts.begin(), parts.end(), part) == parts.end()) {
                parts.push_back(std::move(part));
            }
        }
    }
    return parts;
}

struct Entry {
    std::string name_;
    bool isFolder_ = false;
};

// The entries of folder other than "." and "..", in name order; empty when the
// folder is missing or cannot be read, and then error says why. isFolder is false
// for a link to a folder.
std::vector<Entry> ListFolder(const std::string& folder, std::error_code& ec) {
    std::vector<Entry> entries;
    std::filesystem::directory_iterator it(folder, ec);
    const std::filesystem::directory_iterator end;
    while (!ec && it != end) {
        Entry entry;
        entry.name_ = it->path().filename().string();
        std::error_code typeError;
        entry.isFolder_ = it->is_directory(typeError) && !it->is_symlink(typeError);
        entries.push_back(std::move(entry));
        it.increment(ec);
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return NameLess(a.name_, b.name_); });
    return entries;
}

std::string WithSeparator(std::string folder) {
    if (folder.empty() || folder.back() != kPathSeparator) {
        folder += kPathSeparator;
    }
    return folder;
}

void ShowStatus(SearchState& search, const std::string& text) {
    if (search.statusText) {
        search.statusText(text);
    }
}

// What one search looks for and what it has found so far.
struct Walk {
    std::vector<std::string> patterns_;
    bool showStatus_ = false;
    std::vector<std::string> found_;
    std::vector<SkippedFolder>* skipped_ = nullptr;
};

// Appends the entries of here that match the search pattern, in their order. Runs
// only while the shared search runs.
void AppendMatches(const std::string& here, const std::vector<Entry>& entries, Walk& walk) {
    SearchState& search = SharedSearch();
    for (const Entry& entry : entries) {
        const bool matches =
            std::any_of(walk.patterns_.begin(), walk.patterns_.end(),
                        [&](const auto& p) { return MatchesPattern(entry.name_, p); });
        if (!matches) {
            continue;
        }
        if (!search.running) {
            return;
        }
        walk.found_.push_back(here + entry.name_);
        if (walk.showStatus_) {
            ShowStatus(search, std::to_string(walk.found_.size()) + " files were found.");
        }
    }
}

// The matches of folder, then those of each subfolder.
void SearchFolder(const std::string& folder, Walk& walk) {
    SearchState& search = SharedSearch();
    if (!search.running) {
        return;
    }
    const std::string here = WithSeparator(folder);
    // One listing serves both the folder's matches and its subfolders.
    std::error_code ec;
    const std::vector<Entry> entries = ListFolder(here, ec);
    // A folder that went away meanwhile held nothing to miss; any other is reported.
    if (ec && ec != std::errc::no_such_file_or_directory && walk.skipped_ != nullptr) {
        walk.skipped_->push_back({folder, ec.message()});
    }
    AppendMatches(here, entries, walk);
    for (const Entry& entry : entries) {
        if (entry.isFolder_ && entry.name_[0] != '.') {
            SearchFolder(here + entry.name_ + kPathSeparator, walk);
        }
    }
}

} // namespace

SearchState& SharedSearch() {
    static SearchState state;
    return state;
}

bool MatchesPattern(const std::string& name, const std::string& pattern) {
    const char* n = name.data();
    const char* p = pattern.data();
    if (GlobMatch(n, n + name.size(), p, p + pattern.size())) {
        return true;
    }
    // "*.*" finds every file, "report.*" also finds "report", as the patterns are
    // read on Windows.
    if (pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, ".*") == 0 &&
        name.find('.') == std::string::npos) {
        return GlobMatch(n, n + name.size(), p, p + pattern.size() - 2);
    }
    return false;
}

std::vector<std::string> FindFiles(const std::string& folder, const std::string& pattern,
                                   bool includeSubfolders, bool showStatus,
                                   std::vector<SkippedFolder>* skipped) {
    SearchState& search = SharedSearch();
    Walk walk{SplitPatterns(pattern), showStatus, {}, nullptr};
    if (!includeSubfolders) {
        // One folder is listed at once: there is no walk to announce or to stop.
        search.running = true;
        const std::string here = WithSeparator(folder);
        std::error_code ignored;
        AppendMatches(here, ListFolder(here, ignored), walk);
        search.running = false;
        return walk.found_;
    }
    if (folder.empty()) {
        return {};
    }
    if (search.running) {
        search.running = false;
        return {};
    }
    if (pattern.empty()) {
        // Nothing to look for; the status bar must not claim a search is running.
        return {};
    }
    if (showStatus) {
        ShowStatus(search, "Now searching Word files, please wait...");
    }
    search.running = true;
    walk.skipped_ = skipped;
    SearchFolder(WithSeparator(folder), walk);
    search.running = false;
    if (showStatus) {
        ShowStatus(search, "");
    }
    return walk.found_;
}

void StopSearch() {
    SharedSearch().running = false;
}

} // namespace pelmora
