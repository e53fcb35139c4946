#include "cli/TemporaryFolder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pelmora {

namespace {

// A start is as much as an office writes at once before it can do anything.
constexpr std::size_t kProbeBytes = 64 * 1024;

// Writes and removes a probe file; the errno of the first step that fails, else 0.
int ProbeWrite(const std::string& folder) {
    std::string name = folder + "/.pelmora-probe-XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        return errno;
    }
    const std::string block(kProbeBytes, '\0');
    int error = 0;
    if (::write(fd, block.data(), block.size()) != static_cast<ssize_t>(block.size())) {
        error = errno != 0 ? errno : ENOSPC;
    }
    ::close(fd);
    ::unlink(name.c_str());
    return error;
}

} // namespace

std::string TemporaryFolder() {
    const char* folder = std::getenv("TMPDIR");
    return folder != nullptr && folder[0] != '\0' ? folder : "/tmp";
}

std::string TemporaryFolderProblem() {
    const std::string folder = TemporaryFolder();
    struct stat status {};
    int error = ::stat(folder.c_str(), &status) != 0 ? errno : 0;
    if (error == 0 && !S_ISDIR(status.st_mode)) {
        error = ENOTDIR;
    }
    if (error == 0) {
        error = ProbeWrite(folder);
    }
    if (error == 0) {
        return {};
    }
    return "pelmora: the temporary folder " + folder +
           " (TMPDIR) cannot be used: " + std::strerror(error);
}

} // namespace pelmora
