#include "tests/support/StagingRecord.h"

#include <filesystem>
#include <fstream>

namespace pelmora::test {

std::string StagingRecord(long pid, const std::string& started, const std::string& page) {
    // Where this machine's pids count: this boot and this pid namespace.
    std::ifstream bootFile("/proc/sys/kernel/random/boot_id");
    std::string boot;
    bootFile >> boot;
    const std::string pids = std::filesystem::read_symlink("/proc/self/ns/pid").string();
    return std::to_string(pid) + " " + started + " " + boot + "/" + pids + "\n" + page + "\n";
}

} // namespace pelmora::test
