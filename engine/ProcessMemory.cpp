#include "engine/ProcessMemory.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

namespace pelmora {

namespace fs = std::filesystem;

namespace {

std::uint64_t ReadKilobytes(const std::string& file, const std::string& key) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        if (line.compare(0, key.size(), key) == 0) {
            std::istringstream value(line.substr(key.size()));
            std::uint64_t kilobytes = 0;
            value >> kilobytes;
            return kilobytes;
        }
    }
    return 0;
}

} // namespace

std::uint64_t AvailableMemory() {
    return ReadKilobytes("/proc/meminfo", "MemAvailable:") << 10;
}

std::uint64_t ProcessTreeMemory(int pid) {
    if (pid <= 0) {
        return 0;
    }
    const std::string folder = "/proc/" + std::to_string(pid);
    std::uint64_t bytes = ReadKilobytes(folder + "/status", "VmRSS:") << 10;
    std::error_code ec;
    for (const fs::directory_entry& task : fs::directory_iterator(folder + "/task", ec)) {
        std::ifstream children(task.path() / "children");
        int child = 0;
        while (children >> child) {
            bytes += ProcessTreeMemory(child);
        }
    }
    return bytes;
}

} // namespace pelmora
