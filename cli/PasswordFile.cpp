#include "cli/PasswordFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <ostream>
#include <sys/stat.h>

namespace pelmora {

bool ReadPasswordFile(const std::string& path, std::vector<std::string>& passwords,
                      std::ostream& warnings, std::string& problem) {
    std::ifstream file(path, std::ios::binary);
    struct stat status {};
    if (!file || ::stat(path.c_str(), &status) != 0) {
        problem = "pelmora: cannot read the password file " + path + ": " + std::strerror(errno);
        return false;
    }
    if (S_ISDIR(status.st_mode)) {
        problem = "pelmora: the password file " + path + " is a folder";
        return false;
    }
    if ((status.st_mode & (S_IRGRP | S_IROTH)) != 0) {
        warnings << "pelmora: warning: other users can read the password file " << path
                 << " (chmod 600 it)\n"
                 << std::flush;
    }
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty()) {
            passwords.push_back(line);
        }
    }
    return true;
}

} // namespace pelmora
