// The whole tree keeps one layout: every C++ file git tracks is as clang-format would write
// it with the .clang-format at the root.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

namespace {

struct Output {
    std::string text;
    int status = -1;
};

Output RunShell(const std::string& command) {
    Output out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return out;
    }
    std::array<char, 4096> buffer{};
    size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        out.text.append(buffer.data(), n);
    }
    out.status = pclose(pipe);
    return out;
}

TEST(SourceStyle, EveryTrackedSourceIsFormatted) {
    const std::string root = PELMORA_SOURCE_DIR;
    const Output files = RunShell("git -C '" + root + "' ls-files '*.cpp' '*.h' | wc -l");
    ASSERT_EQ(files.status, 0);
    ASSERT_GT(std::stoi(files.text), 0) << "no sources listed; is " << root << " a git checkout?";
    const Output check = RunShell("cd '" + root + "' && git ls-files -z '*.cpp' '*.h' | xargs -0 " +
                                  "clang-format --style=file --dry-run --Werror 2>&1");
    EXPECT_EQ(check.status, 0) << check.text.substr(0, 4000);
}

} // namespace
