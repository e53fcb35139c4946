#include "engine/Sharding.h"
#include "engine/ShardKeys.h"
#include "tests/support/Matchers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace pelmora {
namespace {

// File lists as archives hold them: numbered scans in one folder, documents spread
// over dated folders, and names that differ only in their last letters.
std::vector<std::string> SyntheticPaths() {
    std::vector<std::string> paths;
    for (int i = 0; i < 1000; ++i) {
        paths.push_back("/archive/scans/scan" + std::to_string(10000 + i) + ".doc");
    }
    for (int i = 0; i < 1000; ++i) {
        paths.push_back("docs/" + std::to_string(2000 + i % 25) + "/" + std::to_string(i % 12 + 1) +
                        "/minutes-" + std::to_string(i) + ".rtf");
    }
    for (int i = 0; i < 1000; ++i) {
        std::string name = "report";
        name += static_cast<char>('a' + i % 26);
        name += static_cast<char>('a' + i / 26 % 26);
        name += static_cast<char>('A' + i / 676);
        paths.push_back("/srv/share/" + name + ".doc");
    }
    return paths;
}

TEST(Sharding, PartsOfManyPathsAreAboutEqual) {
    const std::vector<std::string> paths = SyntheticPaths();
    for (const int count : {2, 3, 4, 5, 7, 10, 16}) {
        std::map<int, int> sizes;
        for (const std::string& path : paths) {
            const int part = ShardOf(ShardKey(path, "", ".htm"), count);
            ASSERT_GE(part, 1);
            ASSERT_LE(part, count);
            ++sizes[part];
        }
        // A fair split leaves each part within a few standard deviations of its share.
        const double expected = static_cast<double>(paths.size()) / count;
        const double tolerance = 4 * std::sqrt(expected);
        ASSERT_EQ(static_cast<int>(sizes.size()), count) << "an empty part of " << count;
        for (const auto& [part, size] : sizes) {
            EXPECT_NEAR(size, expected, tolerance) << "part " << part << " of " << count;
        }
    }
}

TEST(Sharding, ThePartsTogetherHoldEachFileOnceInListOrder) {
    const std::vector<std::string> paths = SyntheticPaths();
    for (const std::string& outputFolder : {std::string(), std::string("/out")}) {
        std::multiset<std::string> seen;
        for (int index = 1; index <= 3; ++index) {
            const auto part = FilesOfShard(paths, index, 3, outputFolder, ".htm");
            EXPECT_FALSE(part.empty());
            // Each part keeps the order of the list: its position in the list only grows.
            std::size_t last = 0;
            for (const std::string& file : part) {
                const auto at =
                    std::find(paths.begin() + static_cast<std::ptrdiff_t>(last), paths.end(), file);
                ASSERT_NE(at, paths.end()) << file << " out of order or not in the list";
                last = static_cast<std::size_t>(at - paths.begin()) + 1;
                seen.insert(file);
            }
        }
        EXPECT_EQ(seen, std::multiset<std::string>(paths.begin(), paths.end()));
    }
}

TEST(Sharding, OnePartOfOneIsTheWholeList) {
    const std::vector<std::string> list{"b.doc", "a.doc", "b.doc", "/x/c.rtf"};
    EXPECT_EQ(FilesOfShard(list, 1, 1, "", ".htm"), list);
    EXPECT_EQ(FilesOfShard(list, 1, 1, "/out", ".htm"), list);
    EXPECT_EQ(ShardOf("anything", 1), 1);
}

TEST(Sharding, SourcesOfOnePageShareAPart) {
    int differentFolders = 0;
    for (int i = 0; i < 300; ++i) {
        const std::string name = "n" + std::to_string(i);
        // Beside its source: the extension of the source does not matter.
        const int doc = ShardOf(ShardKey("/d/" + name + ".doc", "", ".htm"), 3);
        EXPECT_EQ(ShardOf(ShardKey("/d/" + name + ".rtf", "", ".htm"), 3), doc) << name;
        EXPECT_EQ(ShardOf(ShardKey("/d/" + name, "", ".htm"), 3), doc) << name;
        // Into one output folder: sources in different folders write the same page.
        const int out = ShardOf(ShardKey("/a/" + name + ".doc", "/out", ".htm"), 3);
        EXPECT_EQ(ShardOf(ShardKey("b/c/" + name + ".rtf", "/out", ".htm"), 3), out) << name;
        // Machines that mount the output folder under other paths still agree.
        EXPECT_EQ(ShardOf(ShardKey("/a/" + name + ".doc", "/mnt/x/out/", ".htm"), 3), out);
        // Beside their sources, the same name in two folders is two pages.
        if (ShardOf(ShardKey("/a/" + name + ".doc", "", ".htm"), 3) !=
            ShardOf(ShardKey("/b/" + name + ".doc", "", ".htm"), 3)) {
            ++differentFolders;
        }
    }
    EXPECT_GT(differentFolders, 100);
    EXPECT_EQ(ShardKey("/a/x.doc", "", ".htm"), "/a/x.htm");
    EXPECT_EQ(ShardKey("/a/x.doc", "/out", ".htm"), "x.htm");
}

// Shards of one batch may run builds of different ages on different machines; they only
// agree while the function stays what it was when it was chosen. These parts were
// recorded then (and agree with FNV-1a 64 and MurmurHash3's finalizer written out
// independently): a change here splits batches wrongly on mixed fleets.
TEST(Sharding, TheChoiceNeverChanges) {
    std::vector<int> parts;
    for (const char* key : {"", "a.htm", "/archive/scans/scan10000.htm", "docs/x.htm", "ü.htm"}) {
        parts.push_back(ShardOf(key, 7));
    }
    EXPECT_THAT(parts, ElementsAre(2, 5, 2, 2, 1));
    EXPECT_EQ(StableHash("a.htm"), 16906453623891431240ULL);
}

} // namespace
} // namespace pelmora
