#include "engine/PathHelpers.h"
#include "engine/FolderHelpers.h"

#include "tests/support/DayLogName.h"
#include "tests/support/TempFolder.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <gtest/gtest.h>

#include <cstdio>

#include <optional>
#include <vector>

namespace pelmora {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

TEST(ChangeExtension, ReplacesOrAddsTheExtensionOfTheFileName) {
    EXPECT_EQ(ChangeExtension("/docs/report.doc", ".htm"), "/docs/report.htm");
    EXPECT_EQ(ChangeExtension("/docs/readme", ".htm"), "/docs/readme.htm");
    EXPECT_EQ(ChangeExtension("readme", "htm"), "readme.htm");
    EXPECT_EQ(ChangeExtension("page.htm", ".files"), "page.files");
    EXPECT_EQ(ChangeExtension("archive.tar.gz", ".htm"), "archive.tar.htm");
    EXPECT_EQ(ChangeExtension("a..doc", ".htm"), "a.htm");
}

TEST(ChangeExtension, NeverLooksIntoFolderNamesNorJoinsFolderDots) {
    EXPECT_EQ(ChangeExtension("/my.docs/readme", ".htm"), "/my.docs/readme.htm");
    EXPECT_EQ(ChangeExtension("../docs/a.doc", ".htm"), "../docs/a.htm");
    EXPECT_EQ(ChangeExtension("/x/../y.z/file", ".htm"), "/x/../y.z/file.htm");
    EXPECT_EQ(ChangeExtension("/x/../file.doc", ".html"), "/x/../file.html");
}

TEST(ChangeFolder, PutsTheFileNameIntoTheFolder) {
    EXPECT_EQ(ChangeFolder("/a/x.htm", "/out"), "/out/x.htm");
    EXPECT_EQ(ChangeFolder("x.htm", "/out"), "/out/x.htm");
    EXPECT_EQ(ChangeFolder("/a/x.htm", "/out/"), "/out//x.htm");
}

TEST(SplitAt, KeepsEveryPieceIncludingEmptyOnes) {
    EXPECT_EQ(SplitAt("a;;b;", ';'), (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_EQ(SplitAt(";x", ';'), (std::vector<std::string>{"", "x"}));
    EXPECT_EQ(SplitAt("one piece", ';'), (std::vector<std::string>{"one piece"}));
    EXPECT_EQ(SplitAt("", ';'), (std::vector<std::string>{""}));
}

TEST(FileAndFolderExists, TellFilesFromFolders) {
    TempFolder dir;
    WriteFile(dir / "a.doc", "x");
    fs::create_directory(dir / "sub");
    fs::create_symlink(dir / "a.doc", dir / "link.doc");
    EXPECT_TRUE(FileExists(dir / "a.doc"));
    EXPECT_TRUE(FileExists(dir / "link.doc"));
    EXPECT_FALSE(FileExists(dir / "sub"));
    EXPECT_FALSE(FileExists(dir / "missing.doc"));
    EXPECT_FALSE(FileExists(""));
    EXPECT_TRUE(FolderExists(dir / "sub"));
    EXPECT_TRUE(FolderExists(dir / "sub/"));
    EXPECT_FALSE(FolderExists(dir / "a.doc"));
    EXPECT_FALSE(FolderExists(dir / "missing"));
    EXPECT_FALSE(FolderExists(""));
}

TEST(CreateFolder, CreatesEveryMissingLevelAndReportsOnlyNewFolders) {
    TempFolder dir;
    EXPECT_TRUE(CreateFolder(dir / "a/b/c/"));
    EXPECT_TRUE(FolderExists(dir / "a/b/c"));
    EXPECT_FALSE(CreateFolder(dir / "a/b/c"));
    WriteFile(dir / "file", "x");
    EXPECT_FALSE(CreateFolder(dir / "file/sub"));
    EXPECT_FALSE(CreateFolder(""));
}

TEST(DeleteFolder, DeletesPlainFilesThenTheEmptyFolder) {
    TempFolder dir;
    WriteFile(dir / "page.files/image1.png", "png");
    WriteFile(dir / "page.files/filelist.xml", "xml");
    DeleteFolder(dir / "page.files");
    EXPECT_FALSE(fs::exists(dir / "page.files"));
    DeleteFolder(dir / "missing.files"); // no effect, no error
}

TEST(DeleteFolder, KeepsTheFolderWithSubfoldersAndHiddenFiles) {
    TempFolder dir;
    WriteFile(dir / "a.files/one.png", "1");
    WriteFile(dir / "a.files/sub/two.png", "2");
    WriteFile(dir / "b.files/.hidden", "h");
    DeleteFolder(dir / "a.files");
    EXPECT_FALSE(fs::exists(dir / "a.files/one.png"));
    EXPECT_EQ(ReadFile(dir / "a.files/sub/two.png"), "2");
    DeleteFolder(dir / "b.files/");
    EXPECT_EQ(ReadFile(dir / "b.files/.hidden"), "h");
}

TEST(DeleteFolder, NeverFollowsSymbolicLinks) {
    TempFolder dir;
    WriteFile(dir / "precious/thesis.doc", "keep");
    WriteFile(dir / "outside.doc", "keep too");
    fs::create_directory_symlink(dir / "precious", dir / "page.files");
    DeleteFolder(dir / "page.files");
    DeleteFolder(dir / "page.files/");
    EXPECT_EQ(ReadFile(dir / "precious/thesis.doc"), "keep");
    EXPECT_TRUE(fs::is_symlink(dir / "page.files"));

    WriteFile(dir / "other.files/image.png", "png");
    fs::create_symlink(dir / "outside.doc", dir / "other.files/linked.doc");
    DeleteFolder(dir / "other.files");
    EXPECT_EQ(ReadFile(dir / "outside.doc"), "keep too");
    EXPECT_FALSE(fs::exists(dir / "other.files/image.png"));
}

TEST(AppFolder, IsTheFolderOfTheRunningProgram) {
    const std::string folder = AppFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(FileExists(folder + "engine_tests"));
}

// Sets or removes an environment variable for one scope.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnvironment() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(DefaultLogPath, IsTodaysDateInTheStateFolderWithoutSlashes) {
    TempFolder dir;
    const ScopedEnvironment locale("LC_ALL", "C");
    const ScopedEnvironment home("HOME", (dir / "home").c_str());
    const std::string name = test::DayLogName();
    {
        const ScopedEnvironment state("XDG_STATE_HOME", (dir / "state").c_str());
        EXPECT_EQ(StateFolder(), dir / "state/pelmora/");
        EXPECT_EQ(DefaultLogPath(), dir / "state/pelmora/" + name);
        EXPECT_TRUE(fs::is_directory(dir / "state/pelmora"));
    }
    for (const char* state : {static_cast<const char*>(nullptr), "", "relative"}) {
        const ScopedEnvironment unset("XDG_STATE_HOME", state);
        EXPECT_EQ(DefaultLogPath(), dir / "home/.local/state/pelmora/" + name);
    }
    EXPECT_TRUE(fs::is_directory(dir / "home/.local/state/pelmora"));
}

TEST(WriteLogFile, AppendsEachTextAsALine) {
    TempFolder dir;
    EXPECT_TRUE(WriteLogFile(dir / "run.log", "first"));
    EXPECT_TRUE(WriteLogFile(dir / "run.log", "second\nthird"));
    EXPECT_EQ(ReadFile(dir / "run.log"), "first\nsecond\nthird\n");
    EXPECT_FALSE(WriteLogFile(dir / "no/such/folder/run.log", "lost"));
    EXPECT_FALSE(WriteLogFile("", "lost"));
}

} // namespace
} // namespace pelmora
