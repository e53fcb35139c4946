// ConvertDocument against a recording converter: the calls it makes, the log lines
// and what it leaves on disk. Real conversions are in ConversionLibreOfficeTest.

#include "engine/Conversion.h"

#include "engine/PathHelpers.h"
#include "engine/StagingFolder.h"
#include "tests/support/Matchers.h"
#include "tests/support/RecordingConverter.h"
#include "tests/support/StagingRecord.h"
#include "tests/support/TempFolder.h"

#include <chrono>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace pelmora::test {
namespace {

constexpr const char* kPage = "<html><p><span lang=EN-US>new</span>   page</p></html>\r\n\r\n";

class ConvertDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        script.SetPage(kPage);
        script.SetPicture("new");
        session = StartSession(converter);
        ASSERT_TRUE(session);
        WriteFile(source, "a Word document");
    }
    void TearDown() override { EndSession(session); }

    bool Convert(const std::string& from, const std::string& to) {
        script.ClearCalls();
        const ConversionResult result = ConvertDocument(session.get(), from, to, options);
        line = result.line;
        code = result.code;
        return result.Converted();
    }

    TempFolder dir;
    RecordingConverter converter;
    ConverterScript& script = converter.Script();
    std::unique_ptr<ConverterSession> session;
    DocumentOptions options;
    std::string line;
    ConversionCode code = ConversionCode::kFailed;
    const std::string source = dir / "docs/report.doc";
};

TEST_F(ConvertDocumentTest, MakesTheConverterCallsInOrderAndReportsSuccess) {
    const std::string output = dir / "out/deep/er/report.htm";
    EXPECT_TRUE(Convert(source, output));
    EXPECT_EQ(code, ConversionCode::kConverted);
    EXPECT_THAT(line, MatchesRegex("[0-2][0-9]:[0-5][0-9]:[0-5][0-9]  100, Successfully convert " +
                                   source + " to " + output));
    ASSERT_EQ(script.Calls().size(), 3u);
    EXPECT_EQ(script.Calls()[0], "Open(" + source + ", [ ])");
    EXPECT_EQ(script.Calls()[1], "SaveAsPage(report.htm)");
    EXPECT_EQ(script.Calls()[2], "Close()");
    // The converter writes into a private folder inside the output folder, from
    // which the finished page is moved to its name.
    EXPECT_THAT(script.Folder(), StartsWith(dir / "out/deep/er/"));
    EXPECT_EQ(script.Folder().back(), '/');
    EXPECT_EQ(ReadFile(output), kPage);
    EXPECT_THAT(FolderNames(dir / "out/deep/er"), ElementsAre("report.htm"));
    EXPECT_EQ(ReadFile(source), "a Word document");
}

TEST_F(ConvertDocumentTest, PassesThePasswordAsGiven) {
    options.password = "secret";
    EXPECT_TRUE(Convert(source, dir / "out/report.htm"));
    EXPECT_EQ(script.Calls().front(), "Open(" + source + ", [secret])");
}

TEST_F(ConvertDocumentTest, OtherPasswordsAreTriedOnlyWhenThePasswordIsRefused) {
    // Any other failure is the document's own: trying more passwords would not help.
    options.password = "first";
    options.otherPasswords = {"second", "third"};
    script.SetFailOpen("the file is damaged");
    EXPECT_FALSE(Convert(source, dir / "out/report.htm"));
    EXPECT_THAT(line, HasSubstr("the error message is the file is damaged"));
    EXPECT_EQ(script.Calls().size(), 1u);
    EXPECT_EQ(script.Calls().front(), "Open(" + source + ", [first])");
}

TEST_F(ConvertDocumentTest, ExistingOutputWithoutOverwriteIsSkippedBeforeTheSourceCheck) {
    WriteFile(dir / "out/old.htm", "old page");
    EXPECT_FALSE(Convert(dir / "missing.doc", dir / "out/old.htm"));
    EXPECT_EQ(code, ConversionCode::kOutputExists);
    EXPECT_THAT(line, MatchesRegex("[0-9:]{8}  101, Output file " + (dir / "out/old.htm") +
                                   " exists, Ignore!"));
    EXPECT_THAT(script.Calls(), IsEmpty());
    EXPECT_EQ(ReadFile(dir / "out/old.htm"), "old page");
}

TEST_F(ConvertDocumentTest, MissingSourceIsReportedWithoutCallingTheConverter) {
    const std::string missing = dir / "docs/missing.doc";
    EXPECT_FALSE(Convert(missing, dir / "out/missing.htm"));
    EXPECT_EQ(code, ConversionCode::kSourceMissing);
    EXPECT_THAT(line, MatchesRegex("[0-9:]{8}  102, Source file " + missing +
                                   " doesn't exist, Convert failure!"));
    EXPECT_THAT(script.Calls(), IsEmpty());
    EXPECT_FALSE(fs::exists(dir / "out"));
    // A folder is no source document either.
    EXPECT_FALSE(Convert(dir / "docs", dir / "out/docs.htm"));
    EXPECT_THAT(line, HasSubstr("  102, Source file "));
}

TEST_F(ConvertDocumentTest, TargetThatIsTheSourceItselfIsRefused) {
    options.overwrite = true;
    fs::create_symlink(source, dir / "alias.htm");
    for (const std::string& target :
         {source, dir / "docs/./report.doc", dir / "docs/../docs/report.doc", dir / "alias.htm"}) {
        EXPECT_FALSE(Convert(source, target)) << target;
        EXPECT_EQ(code, ConversionCode::kFailed);
        EXPECT_THAT(line, MatchesRegex("[0-9:]{8}  103, Convert " + source +
                                       " failure, the error message is The output file .* is the "
                                       "source document"));
        EXPECT_THAT(script.Calls(), IsEmpty());
    }
    EXPECT_EQ(ReadFile(source), "a Word document");
}

TEST_F(ConvertDocumentTest, OverwriteReplacesThePageOnlyWhenTheConversionSucceeds) {
    const std::string output = dir / "out/report.htm";
    WriteFile(output, "old page");
    WriteFile(dir / "out/report.files/image001.png", "old picture");
    options.overwrite = true;
    options.keepPictureFolder = true;

    script.SetFailSave("The disk is full");
    EXPECT_FALSE(Convert(source, output));
    EXPECT_THAT(line, MatchesRegex("[0-9:]{8}  103, Convert " + source +
                                   " failure, the error message is The disk is full"));
    EXPECT_EQ(ReadFile(output), "old page");
    EXPECT_EQ(ReadFile(dir / "out/report.files/image001.png"), "old picture");
    EXPECT_THAT(FolderNames(dir / "out"), ElementsAre("report.files", "report.htm"));

    script.SetFailSave("");
    script.SetFailOpen("The password is incorrect");
    EXPECT_FALSE(Convert(source, output));
    EXPECT_THAT(line, HasSubstr("failure, the error message is The password is incorrect"));
    EXPECT_EQ(script.Calls().size(), 1u);
    EXPECT_EQ(ReadFile(output), "old page");

    script.SetFailOpen("");
    EXPECT_TRUE(Convert(source, output));
    EXPECT_EQ(ReadFile(output), kPage);
    EXPECT_EQ(ReadFile(dir / "out/report.files/image001.png"), "new");
    EXPECT_THAT(FolderNames(dir / "out"), ElementsAre("report.files", "report.htm"));
}

TEST_F(ConvertDocumentTest, PageThatAnotherRunWritesMeanwhileIsNeverReplacedWithoutOverwrite) {
    const std::string output = dir / "out/report.htm";
    options.keepPictureFolder = true;
    script.SetOnOpen([&](const std::string&) {
        WriteFile(output, "their page");
        WriteFile(dir / "out/report.files/image001.png", "their picture");
    });
    EXPECT_FALSE(Convert(source, output));
    EXPECT_THAT(line, MatchesRegex("[0-9:]{8}  101, Output file " + output + " exists, Ignore!"));
    EXPECT_EQ(ReadFile(output), "their page");
    EXPECT_EQ(ReadFile(dir / "out/report.files/image001.png"), "their picture");
    EXPECT_THAT(FolderNames(dir / "out"), ElementsAre("report.files", "report.htm"));

    // The last step itself never replaces a page that appeared just before it.
    const StagingFolder staging(dir / "out", "report.htm");
    WriteFile(staging.Path() + "/report.htm", "ours");
    EXPECT_FALSE(staging.MoveOut("report.htm", output, false));
    EXPECT_EQ(ReadFile(output), "their page");
    EXPECT_TRUE(staging.MoveOut("report.htm", output, true));
    EXPECT_EQ(ReadFile(output), "ours");
}

TEST_F(ConvertDocumentTest, ConverterThatWritesNoPageIsAFailure) {
    script.SetWritePage(false);
    EXPECT_FALSE(Convert(source, dir / "out/report.htm"));
    EXPECT_THAT(line, HasSubstr("  103, Convert " + source + " failure, the error message is "));
    EXPECT_THAT(FolderNames(dir / "out"), IsEmpty());
}

TEST_F(ConvertDocumentTest, CompanionFolderIsKeptOrRemoved) {
    options.keepPictureFolder = true;
    EXPECT_TRUE(Convert(source, dir / "kept/report.htm"));
    EXPECT_EQ(ReadFile(dir / "kept/report.files/image001.png"), "new");

    // Pictures left from an earlier conversion go with the new ones.
    options.keepPictureFolder = false;
    WriteFile(dir / "gone/report.files/image009.png", "old");
    EXPECT_TRUE(Convert(source, dir / "gone/report.htm"));
    EXPECT_THAT(FolderNames(dir / "gone"), ElementsAre("report.htm"));
}

TEST_F(ConvertDocumentTest, FolderOfTheSourceIsNeverEmptiedAsAPictureFolder) {
    const std::string inside = dir / "thesis.files/thesis.doc";
    WriteFile(inside, "chapter one");
    WriteFile(dir / "thesis.files/notes.txt", "notes");
    EXPECT_TRUE(Convert(inside, dir / "thesis.htm"));
    EXPECT_EQ(ReadFile(inside), "chapter one");
    EXPECT_EQ(ReadFile(dir / "thesis.files/notes.txt"), "notes");
}

TEST_F(ConvertDocumentTest, CompressWritesTheCompactedPage) {
    options.compact = true;
    EXPECT_TRUE(Convert(source, dir / "out/report.htm"));
    EXPECT_THAT(line, HasSubstr("  100, Successfully convert "));
    EXPECT_EQ(ReadFile(dir / "out/report.htm"), "<html><p>newpage</p></html>\r\n");
}

TEST_F(ConvertDocumentTest, FolderThatCannotBeCreatedOrWrittenGivesTheReason) {
    WriteFile(dir / "plain-file", "x");
    EXPECT_FALSE(Convert(source, dir / "plain-file/out/report.htm"));
    EXPECT_THAT(line, MatchesRegex("[0-9:]{8}  103, Convert " + source +
                                   " failure, the error message is Cannot create folder " +
                                   (dir / "plain-file/out/") + ": Not a directory"));
    // The kernel's own folders refuse new entries even to the superuser.
    EXPECT_FALSE(Convert(source, "/sys/pelmora-out/report.htm"));
    EXPECT_THAT(line, HasSubstr("the error message is Cannot create folder /sys/pelmora-out/: "));
    EXPECT_FALSE(Convert(source, "/sys/report.htm"));
    EXPECT_THAT(line, HasSubstr("the error message is Cannot write into folder /sys/: "));
}

TEST_F(ConvertDocumentTest, OutputWithoutFolderGoesIntoTheCurrentFolder) {
    const fs::path before = fs::current_path();
    fs::create_directory(dir / "here");
    fs::current_path(dir / "here");
    const bool converted = Convert(source, "report.htm");
    fs::current_path(before);
    EXPECT_TRUE(converted) << line;
    EXPECT_THAT(line, HasSubstr(" to report.htm"));
    EXPECT_THAT(FolderNames(dir / "here"), ElementsAre("report.htm"));
}

TEST(ConvertDocument, WithoutAnOpenSessionEveryDocumentFails) {
    TempFolder dir;
    WriteFile(dir / "a.doc", "x");
    const ConversionResult result = ConvertDocument(nullptr, dir / "a.doc", dir / "a.htm", {});
    EXPECT_EQ(result.code, ConversionCode::kFailed);
    EXPECT_THAT(result.line, HasSubstr("  103, Convert " + (dir / "a.doc") + " failure"));
    EXPECT_FALSE(fs::exists(dir / "a.htm"));
}

// Writes an owner record as a converting process leaves it in its staging folder.
// The record a run writes into its staging folder for the page page.htm.
void WriteOwner(const std::string& folder, long pid, const std::string& started) {
    fs::create_directories(folder);
    WriteFile(folder + "/owner", StagingRecord(pid, started, "page.htm"));
}

void Age(const std::string& path) {
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(1));
}

// Field 22 of /proc/self/stat, read here independently of the engine.
std::string OwnStartTime() {
    const std::string stat = ReadFile("/proc/self/stat");
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    for (int number = 3; number <= 22; ++number) {
        fields >> field;
    }
    return field;
}

TEST(StaleStagingFolders, OnlyThoseOfGoneProcessesAndOnlyThatNamePattern) {
    TempFolder dir;
    // A process that has ended and been reaped: its pid names nobody now.
    const pid_t child = fork();
    if (child == 0) {
        _exit(0);
    }
    ASSERT_GT(child, 0);
    waitpid(child, nullptr, 0);

    WriteOwner(dir / ".pelmora-dead01", child, "12345");
    WriteFile(dir / ".pelmora-dead01/page.htm", "<html><p>half");
    WriteFile(dir / ".pelmora-dead01/lu12345abcd.tmp", "");
    WriteOwner(dir / ".pelmora-alive1", getpid(), OwnStartTime());
    // This process's pid, but another start time: the pid was given to a new process.
    WriteOwner(dir / ".pelmora-reused", getpid(), "1");
    WriteOwner(dir / ".pelmora-old", child, "12345");   // not the pattern's length
    WriteOwner(dir / "pelmora-dead02", child, "12345"); // no leading dot
    fs::create_directories(dir / ".pelmora-noown1");    // being set up, or unknown
    // Left by a run killed between making the folder and writing its record.
    fs::create_directories(dir / ".pelmora-noold1");
    Age(dir / ".pelmora-noold1");
    // Not made by a run: no record, or one no run writes. Old, and still kept.
    WriteFile(dir / ".pelmora-mydata/notes.txt", "precious");
    WriteFile(dir / ".pelmora-XYZ123/owner", "made up\n");
    Age(dir / ".pelmora-mydata");
    Age(dir / ".pelmora-XYZ123");
    // A gone run's folder that someone put a file into: only the run's page goes.
    WriteOwner(dir / ".pelmora-dead03", child, "12345");
    WriteFile(dir / ".pelmora-dead03/page.htm", "<html>");
    WriteFile(dir / ".pelmora-dead03/page.files/a.png", "png");
    WriteFile(dir / ".pelmora-dead03/notes.txt", "precious");
    // Another machine or container shares the folder: its pids mean nothing here.
    WriteFile(dir / ".pelmora-other1/owner",
              std::to_string(child) + " 12345 0f0e0d0c-aaaa-bbbb-cccc-000000000000/pid:[1]\n");
    WriteFile(dir / ".pelmora-file01", "a file, not a folder");

    EXPECT_EQ(RemoveStaleStagingFolders(dir.Path()), 3u);
    EXPECT_THAT(FolderNames(dir.Path()),
                ::testing::UnorderedElementsAre(".pelmora-alive1", ".pelmora-old", "pelmora-dead02",
                                                ".pelmora-noown1", ".pelmora-other1",
                                                ".pelmora-file01", ".pelmora-mydata",
                                                ".pelmora-XYZ123", ".pelmora-dead03"));
    EXPECT_EQ(ReadFile(dir / ".pelmora-mydata/notes.txt"), "precious");
    EXPECT_EQ(ReadFile(dir / ".pelmora-XYZ123/owner"), "made up\n");
    EXPECT_THAT(FolderNames(dir / ".pelmora-dead03"),
                ::testing::UnorderedElementsAre("notes.txt", "owner"));

    // What this program writes names its process and where that pid counts.
    std::string kept;
    {
        const StagingFolder staging(dir.Path(), "a\npage.htm");
        kept = staging.Path();
        EXPECT_EQ(RemoveStaleStagingFolders(dir.Path()), 0u);
        EXPECT_TRUE(fs::is_directory(kept));
        std::istringstream record(ReadFile(kept + "/owner"));
        long pid = 0;
        std::string started;
        std::string space;
        record >> pid >> started >> space;
        EXPECT_EQ(record.str().substr(record.tellg()), "\na\npage.htm\n");
        EXPECT_EQ(pid, getpid());
        EXPECT_EQ(started, OwnStartTime());
        EXPECT_THAT(space, ::testing::HasSubstr("/pid:["));
    }
    EXPECT_FALSE(fs::exists(kept));
    EXPECT_EQ(RemoveStaleStagingFolders(dir.Path()), 0u);
}

TEST(FormatLogLine, EachCodeHasItsOwnWording) {
    const std::string time = "[0-2][0-9]:[0-5][0-9]:[0-5][0-9]  ";
    EXPECT_THAT(FormatLogLine(ConversionCode::kConverted, "/a/x.doc", "/out/x.htm"),
                MatchesRegex(time + "100, Successfully convert /a/x.doc to /out/x.htm"));
    EXPECT_THAT(FormatLogLine(ConversionCode::kOutputExists, "/a/x.doc", "/out/x.htm"),
                MatchesRegex(time + "101, Output file /out/x.htm exists, Ignore!"));
    EXPECT_THAT(FormatLogLine(ConversionCode::kSourceMissing, "/a/x.doc", "/out/x.htm"),
                MatchesRegex(time + "102, Source file /a/x.doc doesn't exist, Convert failure!"));
    EXPECT_THAT(
        FormatLogLine(ConversionCode::kFailed, "/a/x.doc", "/out/x.htm", "disk full"),
        MatchesRegex(time + "103, Convert /a/x.doc failure, the error message is disk full"));
    EXPECT_THAT(FormatLogLine(ConversionCode::kConverterUnavailable, {}, {}),
                MatchesRegex(time + "104, Can not load Microsoft Word, Terminate!"));

    const ConversionResult skipped =
        MakeConversionResult(ConversionCode::kOutputExists, "/a/x.doc", "/out/x.htm");
    EXPECT_FALSE(skipped.Converted());
    EXPECT_FALSE(skipped.Failed());
    EXPECT_TRUE(MakeConversionResult(ConversionCode::kSourceMissing, "a", "b").Failed());
}

TEST(PagePath, TheSourceWithThePageExtensionInTheOutputFolderIfAny) {
    EXPECT_EQ(PagePath("/docs/report.doc", "", ".htm"), "/docs/report.htm");
    EXPECT_EQ(PagePath("/docs/report.doc", "/out", kWindowPageExtension), "/out/report.html");
    EXPECT_EQ(PagePath("readme", "/out", ".htm"), "/out/readme.htm");
}

} // namespace
} // namespace pelmora::test
