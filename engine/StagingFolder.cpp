#include "engine/StagingFolder.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>
#include <unistd.h>

namespace pelmora {

namespace fs = std::filesystem;

namespace {

constexpr const char* kOwnerFile = "owner";

// A folder is made and its record written within microseconds; one without a record
// this much later was left by a run killed in between.
constexpr auto kLongestSetUp = std::chrono::minutes(10);

// The start time of process pid in clock ticks since boot (field 22 of its stat
// line), which tells a living process from a later one given the same pid; empty
// when it cannot be read.
std::string ProcessStartTime(long pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) {
        return {};
    }
    // The command name in parentheses may hold blanks; the fields after it do not.
    const std::size_t close = line.rfind(')');
    if (close == std::string::npos) {
        return {};
    }
    std::istringstream fields(line.substr(close + 1));
    std::string field;
    for (int number = 3; number <= 22 && fields >> field; ++number) {
        if (number == 22) {
            return field;
        }
    }
    return {};
}

// Where a process id means this process's pids: this boot of this machine and this
// pid namespace. An output folder may be shared with other machines or containers,
// whose pids say nothing here. It stays the same for the life of the process, so it
// is read once, not for every page and every folder looked at.
const std::string& PidSpace() {
    static const std::string space = [] {
        std::ifstream bootFile("/proc/sys/kernel/random/boot_id");
        std::string boot;
        bootFile >> boot;
        std::error_code ec;
        const std::string pids = fs::read_symlink("/proc/self/ns/pid", ec).string();
        return (boot.empty() ? "-" : boot) + "/" + (ec ? "-" : pids);
    }();
    return space;
}

bool OlderThanAnySetUp(const fs::path& folder) {
    std::error_code ec;
    const auto changed = fs::last_write_time(folder, ec);
    return !ec && fs::file_time_type::clock::now() - changed > kLongestSetUp;
}

// True when the folder was left by a process of this machine that no longer runs.
bool OwnerGone(const fs::path& stagingFolder) {
    std::ifstream owner(stagingFolder / kOwnerFile);
    long pid = 0;
    std::string started;
    if (!(owner >> pid >> started) || pid <= 0) {
        return OlderThanAnySetUp(stagingFolder);
    }
    // Records of earlier versions name no pid space; they were written here.
    std::string space;
    if (owner >> space && space != PidSpace()) {
        return false;
    }
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
        return true;
    }
    const std::string now = ProcessStartTime(pid);
    return !now.empty() && now != started;
}

bool IsStagingName(const std::string& name) {
    const std::string prefix = kStagingFolderPrefix;
    return name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

StagingFolder::StagingFolder(const std::string& parent) {
    const fs::path base = fs::absolute(parent.empty() ? fs::path(".") : fs::path(parent));
    std::string pattern = (base / (std::string(kStagingFolderPrefix) + "XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("Cannot write into folder " + (parent.empty() ? "." : parent) +
                                 ": " + std::strerror(errno));
    }
    path_ = pattern;
    std::ofstream owner(fs::path(path_) / kOwnerFile);
    owner << ::getpid() << ' ' << ProcessStartTime(::getpid()) << ' ' << PidSpace() << '\n';
    owner.close();
    // Without its record the folder would look abandoned to other runs; a folder that
    // cannot take these few bytes would not take a page either.
    if (!owner) {
        const int error = errno;
        std::error_code ignored;
        fs::remove_all(path_, ignored);
        throw std::runtime_error("Cannot write into folder " + (parent.empty() ? "." : parent) +
                                 ": " + std::strerror(error != 0 ? error : EIO));
    }
}

StagingFolder::~StagingFolder() {
    // Holds only what the converter wrote for this document; remove_all never
    // follows links.
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::size_t RemoveStaleStagingFolders(const std::string& folder) {
    std::size_t removed = 0;
    std::error_code ec;
    const fs::path base = folder.empty() ? fs::path(".") : fs::path(folder);
    for (const fs::directory_entry& entry : fs::directory_iterator(base, ec)) {
        std::error_code kind;
        if (!IsStagingName(entry.path().filename().string()) || entry.is_symlink(kind) ||
            !entry.is_directory(kind) || !OwnerGone(entry.path())) {
            continue;
        }
        std::error_code gone;
        fs::remove_all(entry.path(), gone);
        removed += gone ? 0 : 1;
    }
    return removed;
}

} // namespace pelmora
