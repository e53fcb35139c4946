#include "engine/FileSearch.h"

#include "tests/cli/CliTestSupport.h"
#include "tests/support/Matchers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>
#include <unistd.h>

namespace pelmora {
namespace {

// Each test starts from an idle search without hooks and leaves it so.
class FileSearchTest : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }

    static void Reset() {
        SearchState& search = SharedSearch();
        search.running = false;
        search.statusText = nullptr;
    }

    static std::vector<std::string> Search(const std::string& pattern, const std::string& folder,
                                           bool subfolders) {
        return FindFiles(folder, pattern, subfolders, false);
    }

    void Touch(const std::string& relative) { test::WriteFile(dir_ / relative, "x"); }

    test::TempFolder dir_;
};

TEST_F(FileSearchTest, FolderMatchesComeBeforeSubfoldersDepthFirstInNameOrder) {
    Touch("a.doc");
    Touch("sub/b.doc");
    EXPECT_THAT(Search("*.doc", dir_.Path(), true),
                ElementsAre(dir_ / "a.doc", dir_ / "sub/b.doc"));
    EXPECT_THAT(Search("*.doc", dir_.Path(), false), ElementsAre(dir_ / "a.doc"));

    Touch("z.doc");
    Touch("B/x.doc");
    Touch("B/deep/y.doc");
    Touch("_u/w.doc");
    Touch("C.DOC");
    // Upper-cased comparison: "_u" sorts after "sub" ('_' comes after the capitals).
    EXPECT_THAT(Search("*.doc", dir_.Path() + "/", true),
                ElementsAre(dir_ / "a.doc", dir_ / "C.DOC", dir_ / "z.doc", dir_ / "B/x.doc",
                            dir_ / "B/deep/y.doc", dir_ / "sub/b.doc", dir_ / "_u/w.doc"));
}

TEST_F(FileSearchTest, DotFoldersAndLinkedFoldersAreNotEntered) {
    Touch("a.doc");
    Touch(".hidden/h.doc");
    Touch("real/r.doc");
    std::filesystem::create_directory_symlink(dir_.Path(), dir_ / "real/loop");
    std::filesystem::create_directory_symlink(dir_ / "real", dir_ / "link");
    EXPECT_THAT(Search("*.doc", dir_.Path(), true),
                ElementsAre(dir_ / "a.doc", dir_ / "real/r.doc"));
}

TEST_F(FileSearchTest, MissingOrUnreadableFolderGivesNothing) {
    EXPECT_THAT(Search("*.doc", dir_ / "missing", true), IsEmpty());
    EXPECT_THAT(Search("*.doc", dir_ / "missing", false), IsEmpty());
    EXPECT_THAT(Search("*.doc", "", true), IsEmpty());

    Touch("a.doc");
    Touch("locked/l.doc");
    Touch("open/o.doc");
    std::filesystem::permissions(dir_ / "locked", std::filesystem::perms::none);
    const bool readable = access((dir_ / "locked").c_str(), R_OK) == 0;
    const auto found = Search("*.doc", dir_.Path(), true);
    if (readable) {
        // Running with rights that ignore permissions: the folder is simply searched.
        EXPECT_THAT(found, ElementsAre(dir_ / "a.doc", dir_ / "locked/l.doc", dir_ / "open/o.doc"));
    } else {
        EXPECT_THAT(found, ElementsAre(dir_ / "a.doc", dir_ / "open/o.doc"));
    }
}

TEST_F(FileSearchTest, BothKindsOfSearchOneAfterAnother) {
    Touch("a.doc");
    Touch("s/b.doc");
    EXPECT_THAT(Search("*.doc", dir_.Path(), true), ElementsAre(dir_ / "a.doc", dir_ / "s/b.doc"));
    EXPECT_FALSE(SharedSearch().running);
    EXPECT_THAT(Search("*.doc", dir_ / "s", false), ElementsAre(dir_ / "s/b.doc"));
    EXPECT_FALSE(SharedSearch().running);
    EXPECT_THAT(Search("*.doc", dir_.Path(), true), ElementsAre(dir_ / "a.doc", dir_ / "s/b.doc"));
}

TEST_F(FileSearchTest, PatternsIgnoreCaseAndDoNotStretchExtensions) {
    Touch("REPORT.DOC");
    Touch("a.docx");
    Touch("b.do");
    Touch("ab.doc");
    Touch("c.Rtf");
    EXPECT_THAT(Search("*.doc", dir_.Path(), false),
                ElementsAre(dir_ / "ab.doc", dir_ / "REPORT.DOC"));
    EXPECT_THAT(Search("?.RTF", dir_.Path(), false), ElementsAre(dir_ / "c.Rtf"));
    EXPECT_THAT(Search("[ab].doc", dir_.Path(), false), IsEmpty());
}

TEST_F(FileSearchTest, PatternListsAreSearchedPartByPartEachFileOnce) {
    Touch("b.rtf");
    Touch("a.doc");
    Touch("c.xml");
    Touch("d.txt");
    Touch("sub/e.XML");
    EXPECT_THAT(Search("*.doc;*.rtf;*.xml", dir_.Path(), true),
                ElementsAre(dir_ / "a.doc", dir_ / "b.rtf", dir_ / "c.xml", dir_ / "sub/e.XML"));
    EXPECT_THAT(Search("a.*; *.doc ;;", dir_.Path(), false), ElementsAre(dir_ / "a.doc"));
}

TEST_F(FileSearchTest, AMatchingFolderIsListedToo) {
    Touch("x.doc/inner.txt");
    EXPECT_THAT(Search("*.doc", dir_.Path(), false), ElementsAre(dir_ / "x.doc"));
}

TEST(MatchesPattern, WildcardsAsWindowsReadsThem) {
    EXPECT_TRUE(MatchesPattern("Report.Doc", "*.doc"));
    EXPECT_TRUE(MatchesPattern("a.b.doc", "*.doc"));
    EXPECT_FALSE(MatchesPattern("a.docx", "*.doc"));
    EXPECT_TRUE(MatchesPattern("README", "*.*"));
    EXPECT_TRUE(MatchesPattern("report", "report.*"));
    EXPECT_FALSE(MatchesPattern("reports", "report.*"));
    EXPECT_TRUE(MatchesPattern("x", "*"));
    EXPECT_TRUE(MatchesPattern("abc", "a*c*"));
    EXPECT_FALSE(MatchesPattern("ab", "a?c"));
    EXPECT_TRUE(MatchesPattern("aXbYc", "a*b*c"));
    EXPECT_FALSE(MatchesPattern("aXbYd", "a*b*c"));
}

TEST_F(FileSearchTest, StatusTextsCountTheFilesFound) {
    for (int i = 1; i <= 6; ++i) {
        Touch("f" + std::to_string(i) + ".doc");
    }
    Touch("sub/g.doc");
    std::vector<std::string> texts;
    SearchState& search = SharedSearch();
    search.statusText = [&](const std::string& text) { texts.push_back(text); };
    EXPECT_EQ(FindFiles(dir_.Path(), "*.doc", true, true).size(), 7u);
    ASSERT_EQ(texts.size(), 9u);
    EXPECT_EQ(texts.front(), "Now searching Word files, please wait...");
    EXPECT_EQ(texts[5], "5 files were found.");
    EXPECT_EQ(texts[7], "7 files were found.");
    EXPECT_EQ(texts.back(), "");

    texts.clear();
    EXPECT_EQ(FindFiles(dir_.Path(), "*.doc", true, false).size(), 7u);
    EXPECT_THAT(texts, IsEmpty());
}

// The window searches on a thread of its own and stops it from its own thread.
TEST_F(FileSearchTest, AStopFromAnotherThreadEndsTheSearchAtItsNextStep) {
    for (int i = 1; i <= 4; ++i) {
        Touch("f" + std::to_string(i) + ".doc");
    }
    Touch("sub/g.doc");
    SearchState& search = SharedSearch();
    std::vector<std::string> texts;
    // The stop comes while the search reports its second file; the file after it in
    // the same folder and the subfolder are passed over.
    search.statusText = [&](const std::string& text) {
        texts.push_back(text);
        if (text == "2 files were found.") {
            std::thread(StopSearch).join();
        }
    };
    std::vector<std::string> found;
    std::thread searching([&] { found = FindFiles(dir_.Path(), "*.doc", true, true); });
    searching.join();
    EXPECT_THAT(found, ElementsAre(dir_ / "f1.doc", dir_ / "f2.doc"));
    EXPECT_FALSE(search.running);
    // The status bar is cleared as after a search that ran to its end.
    EXPECT_EQ(texts.back(), "");

    // With the search idle, the next one runs whole.
    search.statusText = nullptr;
    EXPECT_EQ(FindFiles(dir_.Path(), "*.doc", true, false).size(), 5u);
}

TEST_F(FileSearchTest, StartingASearchDuringOneStopsItKeepingItsResults) {
    for (int i = 1; i <= 5; ++i) {
        Touch("f" + std::to_string(i) + ".doc");
    }
    Touch("sub/g.doc");
    SearchState& search = SharedSearch();
    std::vector<std::string> nested{"not called"};
    search.statusText = [&](const std::string& text) {
        if (text == "2 files were found.") {
            nested = FindFiles(dir_.Path(), "*.doc", true, false);
        }
    };
    EXPECT_THAT(FindFiles(dir_.Path(), "*.doc", true, true),
                ElementsAre(dir_ / "f1.doc", dir_ / "f2.doc"));
    EXPECT_THAT(nested, IsEmpty());
    EXPECT_FALSE(search.running);

    // The window's Cancel stops a search the same way.
    search.statusText = [&](const std::string& text) {
        if (text == "3 files were found.") {
            StopSearch();
        }
    };
    EXPECT_THAT(FindFiles(dir_.Path(), "*.doc", true, true),
                ElementsAre(dir_ / "f1.doc", dir_ / "f2.doc", dir_ / "f3.doc"));
    EXPECT_FALSE(search.running);
}

TEST_F(FileSearchTest, EmptyPatternSearchesNothingAndShowsNoStatus) {
    Touch("a.doc");
    std::vector<std::string> texts;
    SharedSearch().statusText = [&](const std::string& text) { texts.push_back(text); };
    EXPECT_THAT(FindFiles(dir_.Path(), "", true, true), IsEmpty());
    EXPECT_THAT(texts, IsEmpty());
    EXPECT_FALSE(SharedSearch().running);
}

} // namespace
} // namespace pelmora
