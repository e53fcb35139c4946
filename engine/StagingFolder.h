#pragma once
// The private folder a page is written in before it is moved into place, and the
// removal of such folders that killed runs left behind.

#include <cstddef>
#include <string>

namespace pelmora {

/// The name pattern of the private folders a page is written in before it is moved
/// into place: this prefix and six more characters.
inline constexpr const char* kStagingFolderPrefix = ".pelmora-";

/// A fresh private folder inside an output folder, removed with what it holds when
/// the object goes. It holds a record naming this process, so that a later run can
/// tell a folder left by a killed run from one still in use.
class StagingFolder {
public:
    /// Makes the folder inside parent ("" is the current folder); throws
    /// std::runtime_error when parent takes no new folder.
    explicit StagingFolder(const std::string& parent);
    ~StagingFolder();
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    /// The folder's path.
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

/// Removes the staging folders in folder that a process of this machine left when it
/// was killed; folders of living processes, of other machines or containers, and
/// every other name are kept. A folder without a record is removed once it is older
/// than any setting-up could take. Returns how many were removed.
std::size_t RemoveStaleStagingFolders(const std::string& folder);

} // namespace pelmora
