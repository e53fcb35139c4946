#pragma once
// Small path, size and log helpers shared by the engine and the windows. They never
// throw: failures become false, empty text or no action.

#include <cstdint>
#include <string>
#include <vector>

namespace pelmora {

/// The path separator of this platform, wherever a folder ends or is joined.
inline constexpr char kPathSeparator = '/';

/// True when path names an existing file that is not a folder.
bool FileExists(const std::string& path);
/// True when path names an existing folder.
bool FolderExists(const std::string& path);
/// Creates path with every missing folder above it; true when it was created.
bool CreateFolder(const std::string& path);
/// Deletes the plain files of folder, then the folder if it is empty. Never follows
/// a symbolic link.
void DeleteFolder(const std::string& folder);
/// path with its file name's extension replaced by extension (given with its dot).
std::string ChangeExtension(const std::string& path, const std::string& extension);
/// folder + separator + the file name of path.
std::string ChangeFolder(const std::string& path, const std::string& folder);
/// The folder of the running executable, ending with the separator.
std::string AppFolder();
/// The user's folder of this program's state: "$XDG_STATE_HOME/pelmora/" (when that
/// is an absolute path), else "$HOME/.local/state/pelmora/"; ends with the
/// separator. Created when missing.
std::string StateFolder();
/// StateFolder() + today's date as YYYY-MM-DD + ".log": the log file of both the
/// command line and the window.
std::string DefaultLogPath();
/// The help page of the program in programFolder (ending with the separator):
/// "../share/doc/pelmora/help.html" from it once installed, else "help.html" beside
/// the program, as in the build tree.
std::string HelpFilePath(const std::string& programFolder = AppFolder());
/// Appends text and a line end to path (created when missing); false on failure.
bool WriteLogFile(const std::string& path, const std::string& text);
/// A file size as the task list shows it ("1,000", "1.00KB", "0.98MB", "1.00GB"),
/// with the user's locale separators.
std::string FormatFileSize(std::int64_t bytes);
/// FormatFileSize with the given separators instead of the user's.
std::string FormatFileSize(std::int64_t bytes, const std::string& thousandsSeparator,
                           const std::string& decimalSeparator);
/// text before its first NUL character.
std::string TrimAtNul(const std::string& text);
/// The pieces of text between separators, empty ones included ("a;;b;" gives "a", "", "b",
/// ""; "" gives one empty piece).
std::vector<std::string> SplitAt(const std::string& text, char separator);

} // namespace pelmora
