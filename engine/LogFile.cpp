#include "engine/LogFile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace pelmora {

LogFile::~LogFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool LogFile::Append(const std::string& line) {
    if (fd_ < 0) {
        if (path_.empty()) {
            return false;
        }
        fd_ = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
        if (fd_ < 0) {
            return false;
        }
    }
    const std::string text = line + '\n';
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd_, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace pelmora
