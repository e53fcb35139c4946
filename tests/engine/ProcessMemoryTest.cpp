// The memory the pool reads from /proc to size itself and to recycle an office: a
// process tree counts every process below its root.

#include "engine/ProcessMemory.h"

#include <cstring>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace pelmora {
namespace {

constexpr std::uint64_t kTouched = 64ull << 20;

TEST(ProcessMemory, ATreeCountsItsChildrenAndNoProcessHasNone) {
    EXPECT_GT(AvailableMemory(), 0u);
    EXPECT_EQ(ProcessTreeMemory(0), 0u);
    EXPECT_EQ(ProcessTreeMemory(-1), 0u);

    std::vector<char> block(kTouched);
    std::memset(block.data(), 1, block.size());
    const std::uint64_t alone = ProcessTreeMemory(getpid());
    EXPECT_GE(alone, kTouched);

    // The child holds the same touched pages until it is told to end.
    int hold[2];
    ASSERT_EQ(pipe(hold), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(hold[1]);
        char byte = 0;
        (void)!read(hold[0], &byte, 1);
        _exit(0);
    }
    close(hold[0]);
    const std::uint64_t withChild = ProcessTreeMemory(getpid());
    const std::uint64_t childAlone = ProcessTreeMemory(child);
    close(hold[1]);
    int status = 0;
    waitpid(child, &status, 0);

    EXPECT_GE(childAlone, kTouched / 2);
    EXPECT_GE(withChild, alone + kTouched / 2);
    EXPECT_EQ(ProcessTreeMemory(child), 0u);
}

// Sampled no later than the fastest growth could reach the ceiling, whatever the
// headroom; far below it, at most once a second.
TEST(ProcessMemory, AnOfficeIsSampledBeforeItCouldReachItsCeiling) {
    using std::chrono::milliseconds;
    constexpr std::uint64_t kMb = 1ull << 20;
    constexpr std::uint64_t ceiling = 3072 * kMb;
    EXPECT_EQ(NextMemorySample(ceiling, ceiling), milliseconds(50));
    EXPECT_EQ(NextMemorySample(ceiling + 500 * kMb, ceiling), milliseconds(50));
    EXPECT_EQ(NextMemorySample(ceiling - 100 * kMb, ceiling), milliseconds(50));
    EXPECT_EQ(NextMemorySample(ceiling - 130 * kMb, ceiling), milliseconds(100));
    EXPECT_EQ(NextMemorySample(200 * kMb, ceiling), milliseconds(1000));
    for (std::uint64_t used = 0; used < ceiling; used += 7 * kMb) {
        const milliseconds wait = NextMemorySample(used, ceiling);
        // 60 MB per 50 ms is the growth the office was measured at.
        EXPECT_LE(used + wait.count() / 50 * 60 * kMb, ceiling + 60 * kMb) << used;
    }
}

} // namespace
} // namespace pelmora
