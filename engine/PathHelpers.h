#pragma once
// Small path and log helpers shared by the engine and its front ends. They never
// throw: failures become false, empty text or no action.

#include <string>
#include <vector>

namespace pelmora {

/// The path separator of this platform, wherever a folder ends or is joined.
inline constexpr char kPathSeparator = '/';

/// True when path names an existing file that is not a folder.
bool FileExists(const std::string& path);
/// path with its file name's extension replaced by extension (given with its dot).
std::string ChangeExtension(const std::string& path, const std::string& extension);
/// The folder of the running executable, ending with the separator.
std::string AppFolder();
/// The log file of both the command line and the window: today's date as YYYY-MM-DD
/// + ".log" in the user's folder of this program's state ("$XDG_STATE_HOME/pelmora/"
/// when that is an absolute path, else "$HOME/.local/state/pelmora/"; created when
/// missing).
std::string DefaultLogPath();
/// Appends text and a line end to path (created when missing); false on failure.
bool WriteLogFile(const std::string& path, const std::string& text);
/// The pieces of text between separators, empty ones included ("a;;b;" gives "a", "", "b",
/// ""; "" gives one empty piece).
std::vector<std::string> SplitAt(const std::string& text, char separator);

} // namespace pelmora
