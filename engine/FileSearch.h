#pragma once
// The search for source documents by file-name pattern, in one folder or in a folder
// and all its subfolders. The command line and the Add Folder dialog share one search
// state: they set the pattern, start the search and read the results.

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace pelmora {

/// The one search of the program and the window's hooks into it.
struct SearchState {
    /// File-name pattern: "*" and "?" match without regard to case; several patterns
    /// may be joined with ";" (a file matched by two of them is listed once).
    std::string SearchPattern;
    /// Set while a search runs; clearing it stops the search at its next step.
    std::atomic<bool> SearchRunning{false};
    /// Full paths found, in the order found; the caller empties it before a search.
    std::vector<std::string> SearchResults;
    /// Shows a status text in the window (empty text clears it); may be empty.
    std::function<void(const std::string&)> StatusText;
    /// Lets the window handle its events during a search; may be empty.
    std::function<void()> Yield;
};

/// The search state shared by the whole program.
SearchState& SharedSearch();

/// Searches folder and all folders below it for SearchPattern, appending to
/// SearchResults. When a search is already running it stops that one instead.
/// showStatus reports progress through StatusText.
void StartSearch(const std::string& folder, bool showStatus);

/// The walk below StartSearch: the matches of folder, then those of each subfolder
/// (in name order, depth first). Folders whose names begin with "." and symbolic
/// links to folders are not entered.
void SearchFolder(const std::string& folder, bool showStatus);

/// Appends the entries of folder (no subfolders) that match SearchPattern, in name
/// order. Runs only while SearchRunning is set; a missing or unreadable folder adds
/// nothing.
void SearchFiles(const std::string& folder, bool showStatus);

/// True when name matches one pattern ("*" any run, "?" one character, without regard
/// to case; a trailing ".*" also matches a name without extension).
bool MatchesPattern(const std::string& name, const std::string& pattern);

} // namespace pelmora
