#include "engine/LogFile.h"

#include "engine/WholeFiles.h"

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
    return WriteAll(fd_, line + '\n') == 0;
}

} // namespace pelmora
