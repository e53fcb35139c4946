// The window's own helpers: the size column's text, a dialog's answer and the help
// page's place.

#include "app/WindowHelpers.h"

#include "tests/support/TempFolder.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace pelmora {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;
using test::WriteFile;

TEST(FormatFileSize, FollowsTheSizeColumnTable) {
    const auto size = [](std::int64_t bytes) { return FormatFileSize(bytes, ",", "."); };
    EXPECT_EQ(size(0), "0");
    EXPECT_EQ(size(1000), "1,000");
    EXPECT_EQ(size(1023), "1,023");
    EXPECT_EQ(size(1024), "1.00KB");
    EXPECT_EQ(size(10239), "10.00KB"); // 9 KB and a bit: two decimals, rounded up
    EXPECT_EQ(size(10240), "10.0KB");
    EXPECT_EQ(size(1000 * 1024 - 1), "1000.0KB");
    EXPECT_EQ(size(1000 * 1024), "0.98MB");
    EXPECT_EQ(size(10000 * 1024), "9.8MB");
    EXPECT_EQ(size(std::int64_t{1} << 30), "1.00GB");
    // Halves round away from zero: 3200 bytes are exactly 3.125 KB.
    EXPECT_EQ(size(3200), "3.13KB");
}

TEST(FormatFileSize, TakesSizesBeyondTwoGigabytes) {
    const auto size = [](std::int64_t bytes) { return FormatFileSize(bytes, ",", "."); };
    EXPECT_EQ(size((std::int64_t{1} << 31) + 1), "2.00GB");
    EXPECT_EQ(size(std::int64_t{5} << 40), "5120.00GB");
    EXPECT_EQ(size(INT64_MAX), "8589934592.00GB");
}

TEST(FormatFileSize, UsesTheGivenOrTheUserSeparators) {
    EXPECT_EQ(FormatFileSize(1000, ".", ","), "1.000");
    EXPECT_EQ(FormatFileSize(1536, ".", ","), "1,50KB");
    EXPECT_EQ(FormatFileSize(1000, "\u202f", ","), "1\u202f000");
    // The C locale names no thousands separator; the size column still groups.
    const char* before = std::getenv("LC_ALL");
    const std::string saved = before ? before : "";
    ::setenv("LC_ALL", "C", 1);
    EXPECT_EQ(FormatFileSize(1000), "1,000");
    EXPECT_EQ(FormatFileSize(1024), "1.00KB");
    if (before) {
        ::setenv("LC_ALL", saved.c_str(), 1);
    } else {
        ::unsetenv("LC_ALL");
    }
}

TEST(TrimAtNul, CutsAtTheFirstNul) {
    EXPECT_EQ(TrimAtNul(std::string("abc\0def\0", 8)), "abc");
    EXPECT_EQ(TrimAtNul("abc"), "abc");
    EXPECT_EQ(TrimAtNul(std::string("\0x", 2)), "");
}

TEST(HelpFilePath, InstalledShareFolderOrBesideTheProgram) {
    TempFolder dir;
    fs::create_directories(dir / "bin");
    EXPECT_EQ(HelpFilePath(dir / "bin/"), dir / "bin/help.html");
    WriteFile(dir / "share/doc/pelmora/help.html", "manual");
    EXPECT_EQ(HelpFilePath(dir / "bin/"), dir / "share/doc/pelmora/help.html");
    EXPECT_EQ(HelpFilePath(), AppFolder() + "help.html");
}

} // namespace
} // namespace pelmora
