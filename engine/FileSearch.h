#pragma once
// The search for source documents by file-name pattern, in one folder or in a folder
// and all its subfolders. The command line and the Add Folder dialog each call
// FindFiles; the one shared search state lets the window stop a search and show its
// status texts.

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace pelmora {

/// The one search of the program and the window's hooks into it. A search may run on
/// a thread of its own: any thread may stop it.
struct SearchState {
    /// Set while a search runs; clearing it stops the search at its next step.
    std::atomic<bool> running{false};
    /// Shows a status text in the window (empty text clears it); may be empty. Called
    /// on the searching thread.
    std::function<void(const std::string&)> statusText;
};

/// A folder the search could not look into, and why.
struct SkippedFolder {
    std::string folder;
    std::string reason;
};

/// The search state shared by the whole program.
SearchState& SharedSearch();

/// The files of folder that match pattern, in name order; with includeSubfolders
/// then those of each subfolder (in name order, depth first; folders whose names
/// begin with "." and symbolic links to folders are not entered). pattern: "*" and
/// "?" match without regard to case; several patterns may be joined with ";" (a file
/// matched by two of them is listed once). A search with subfolders started while
/// one runs stops that one instead and finds nothing; a stopped search returns what
/// it found so far. showStatus reports progress through the shared status text.
/// Subfolders that cannot be read (no permission, a path too long) are appended to
/// skipped when that is given.
std::vector<std::string> FindFiles(const std::string& folder, const std::string& pattern,
                                   bool includeSubfolders, bool showStatus,
                                   std::vector<SkippedFolder>* skipped = nullptr);

/// Stops the running search at its next step.
void StopSearch();

/// True when name matches one pattern ("*" any run, "?" one character, without regard
/// to case; a trailing ".*" also matches a name without extension).
bool MatchesPattern(const std::string& name, const std::string& pattern);

} // namespace pelmora
