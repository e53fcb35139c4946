#pragma once
// Folder helpers used inside the engine: whether a folder is there, making and
// emptying one, moving a name into one, and the folder of this program's state. They
// never throw: failures become false, empty text or no action.

#include <string>

namespace pelmora {

/// True when path names an existing folder.
bool FolderExists(const std::string& path);
/// Creates path with every missing folder above it; true when it was created.
bool CreateFolder(const std::string& path);
/// Deletes the plain files of folder, then the folder if it is empty. Never follows
/// a symbolic link.
void DeleteFolder(const std::string& folder);
/// folder + separator + the file name of path.
std::string ChangeFolder(const std::string& path, const std::string& folder);
/// The user's folder of this program's state: "$XDG_STATE_HOME/pelmora/" (when that
/// is an absolute path), else "$HOME/.local/state/pelmora/"; ends with the
/// separator. Created when missing.
std::string StateFolder();

} // namespace pelmora
