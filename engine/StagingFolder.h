#pragma once
// The private folder a page is written in before it is moved into place, and the
// removal of such folders that killed runs left behind.

#include <cstddef>
#include <string>

namespace pelmora {

/// The name pattern of the private folders a page is written in before it is moved
/// into place: this prefix and six more characters.
inline constexpr const char* kStagingFolderPrefix = ".pelmora-";

/// The names of the files a converter writes into a staging folder on the way to the
/// page's own name (a short name the office can take, and what it makes of it) begin
/// with this.
inline constexpr const char* kStagingWorkPrefix = "pelmora-";

/// A fresh private folder inside an output folder, removed with what it holds when
/// the object goes. It is made with a record naming this process and the page it
/// will hold, so that a later run can tell a folder left by a killed run from one
/// still in use, and knows which of its entries that run wrote.
class StagingFolder {
public:
    /// Makes the folder inside parent ("" is the current folder) for the page named
    /// pageName; throws std::runtime_error when parent takes no new folder.
    StagingFolder(const std::string& parent, const std::string& pageName);
    ~StagingFolder();
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    /// The folder's path.
    const std::string& Path() const { return path_; }

    /// Moves the entry name of this folder to target. With replace an existing target
    /// is replaced; without, it is kept, even one that appears while this runs, and
    /// the result is false. Throws std::runtime_error with the reason when the move
    /// fails otherwise.
    bool MoveOut(const std::string& name, const std::string& target, bool replace) const;

private:
    std::string path_;
};

/// Removes the staging folders in folder that a process of this machine left when it
/// was killed, and of each only what a conversion writes there (its record, the
/// page, the page's picture folder and lock file): a folder that holds anything else
/// stays with that. Folders of living processes, of other machines or containers, and
/// every other name are kept. A folder without a record is removed only when it is
/// empty and older than any setting-up could take. Returns how many were removed.
std::size_t RemoveStaleStagingFolders(const std::string& folder);

} // namespace pelmora
