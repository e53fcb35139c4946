#include "engine/StagingFolder.h"

#include "engine/PathHelpers.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>
#include <vector>

#include <fcntl.h>
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

// What a staging folder's record says: the process that made it and the page it is
// for. Empty fields when there is no record this program could have written.
struct Record {
    long pid = 0;
    std::string started;
    std::string space;
    std::string page;
    bool empty = false; ///< the record file exists and holds nothing
};

Record ReadRecord(const fs::path& stagingFolder) {
    Record record;
    // A link in a folder someone else made could lead anywhere.
    const int fd = ::open((stagingFolder / kOwnerFile).c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return record;
    }
    char buffer[8192];
    const ssize_t length = ::read(fd, buffer, sizeof buffer);
    ::close(fd);
    record.empty = length == 0;
    const std::string text(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
    const std::size_t lineEnd = text.find('\n');
    if (lineEnd == std::string::npos || text.back() != '\n') {
        return record;
    }
    std::istringstream fields(text.substr(0, lineEnd));
    Record read;
    std::string extra;
    if (fields >> read.pid >> read.started >> read.space && !(fields >> extra) && read.pid > 0) {
        read.page = text.substr(lineEnd + 1, text.size() - lineEnd - 2);
        if (!read.page.empty() && read.page.find('/') == std::string::npos) {
            return read;
        }
    }
    return record;
}

// True when the record names a process of this machine that no longer runs.
bool OwnerGone(const Record& record) {
    if (record.space != PidSpace()) {
        return false;
    }
    if (::kill(static_cast<pid_t>(record.pid), 0) != 0 && errno == ESRCH) {
        return true;
    }
    const std::string now = ProcessStartTime(record.pid);
    return !now.empty() && now != record.started;
}

// True for the entries a conversion writes into the staging folder of page: the
// page, its picture folder, the converter's work files, and the office's lock and
// temporary files (".~lock.NAME#", "luNNNN.tmp").
bool WrittenByARun(const std::string& entry, const std::string& page) {
    const std::string lock = ".~lock.";
    const std::string work = kStagingWorkPrefix;
    const bool officeTemporary = entry.size() > 6 && entry.rfind("lu", 0) == 0 &&
                                 entry.compare(entry.size() - 4, 4, ".tmp") == 0;
    return entry == page || entry == ChangeExtension(page, ".files") ||
           entry == lock + page + "#" || entry.rfind(work, 0) == 0 ||
           entry.rfind(lock + work, 0) == 0 || officeTemporary;
}

// Removes what the killed run wrote, then the folder if nothing else is left in it.
bool RemoveLeftFolder(const fs::path& folder) {
    const Record record = ReadRecord(folder);
    std::error_code ec;
    if (record.pid == 0) {
        // No record: being set up, killed before its record, or not ours at all.
        if (!OlderThanAnySetUp(folder)) {
            return false;
        }
        if (record.empty) {
            fs::remove(folder / kOwnerFile, ec);
        }
        return fs::remove(folder, ec) && !ec;
    }
    if (!OwnerGone(record)) {
        return false;
    }
    for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        if (WrittenByARun(it->path().filename().string(), record.page)) {
            std::error_code ignored;
            fs::remove_all(it->path(), ignored);
        }
    }
    // The record goes last, and only when nothing but it is left, so that the folder
    // never holds someone's files without the record that explains them.
    std::size_t entries = 0;
    for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        ++entries;
    }
    if (ec || entries != 1) {
        return false;
    }
    fs::remove(folder / kOwnerFile, ec);
    return fs::remove(folder, ec) && !ec;
}

bool IsStagingName(const std::string& name) {
    const std::string prefix = kStagingFolderPrefix;
    return name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

StagingFolder::StagingFolder(const std::string& parent, const std::string& pageName) {
    const fs::path base = fs::absolute(parent.empty() ? fs::path(".") : fs::path(parent));
    std::string pattern = (base / (std::string(kStagingFolderPrefix) + "XXXXXX")).string();
    const std::string where = parent.empty() ? "." : parent;
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("Cannot write into folder " + where + ": " + std::strerror(errno));
    }
    path_ = pattern;
    // The record comes in one write, so that no run killed on the way leaves half a
    // record; without it the folder would look abandoned to other runs, and a folder
    // that cannot take these few bytes would not take a page either.
    std::ostringstream text;
    text << ::getpid() << ' ' << ProcessStartTime(::getpid()) << ' ' << PidSpace() << '\n'
         << pageName << '\n';
    const std::string record = text.str();
    const int fd = ::open((fs::path(path_) / kOwnerFile).c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    const bool written =
        fd >= 0 && ::write(fd, record.data(), record.size()) == static_cast<ssize_t>(record.size());
    const int error = errno;
    if (fd >= 0) {
        ::close(fd);
    }
    if (!written) {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
        throw std::runtime_error("Cannot write into folder " + where + ": " +
                                 std::strerror(error != 0 ? error : EIO));
    }
}

StagingFolder::~StagingFolder() {
    // Holds only what the converter wrote for this document; remove_all never
    // follows links.
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

bool StagingFolder::MoveOut(const std::string& name, const std::string& target,
                            bool replace) const {
    const std::string from = path_ + "/" + name;
    int result =
        replace ? ::rename(from.c_str(), target.c_str())
                : ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE);
    if (result != 0 && !replace && (errno == EINVAL || errno == ENOSYS)) {
        // A file system that cannot rename without replacing: a new link fails on an
        // existing name just the same.
        result = ::link(from.c_str(), target.c_str());
        if (result == 0) {
            ::unlink(from.c_str());
        }
    }
    if (result == 0) {
        return true;
    }
    if (errno == EEXIST && !replace) {
        return false;
    }
    throw std::runtime_error("Cannot write " + target + ": " + std::strerror(errno));
}

std::size_t RemoveStaleStagingFolders(const std::string& folder) {
    std::size_t removed = 0;
    std::error_code ec;
    const fs::path base = folder.empty() ? fs::path(".") : fs::path(folder);
    for (const fs::directory_entry& entry : fs::directory_iterator(base, ec)) {
        std::error_code kind;
        if (IsStagingName(entry.path().filename().string()) && !entry.is_symlink(kind) &&
            entry.is_directory(kind) && RemoveLeftFolder(entry.path())) {
            ++removed;
        }
    }
    return removed;
}

} // namespace pelmora
