// ConvertDocument against a recording converter: the calls it makes, the log lines
// and what it leaves on disk. Real conversions are in ConversionLibreOfficeTest.

#include "engine/Conversion.h"

#include "engine/PathHelpers.h"
#include "tests/support/TempFolder.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <regex>
#include <unistd.h>
#include <vector>

namespace pelmora {
namespace {

namespace fs = std::filesystem;
using test::FolderNames;
using test::ReadFile;
using test::TempFolder;
using test::WriteFile;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::MatchesRegex;
using ::testing::StartsWith;

constexpr const char* kPage = "<html><p><span lang=EN-US>new</span>   page</p></html>\r\n\r\n";

// What the recording converter does and what it saw.
struct Script {
    std::string failOpen;  // throw this from Documents.Open
    std::string failSave;  // throw this from SaveAs, after writing half a page
    bool writePage = true; // SaveAs writes the page
    std::vector<std::string> calls;
    std::string folder; // the last ChangeFileOpenDirectory
};

class RecordingDocument : public AutomationDocument {
public:
    explicit RecordingDocument(Script& script) : script_(script) {}
    void SaveAs(const std::string& fileName, std::int16_t fileFormat) override {
        script_.calls.push_back("SaveAs(" + fileName + ", " + std::to_string(fileFormat) + ")");
        const std::string page = script_.folder + fileName;
        if (!script_.failSave.empty()) {
            WriteFile(page, "<html><p>half");
            throw AutomationError(script_.failSave);
        }
        if (script_.writePage) {
            WriteFile(page, kPage);
            WriteFile(script_.folder + ChangeExtension(fileName, ".files") + "/image001.png",
                      "new");
        }
    }
    void Close() override { script_.calls.push_back("Close()"); }

private:
    Script& script_;
};

class RecordingApplication : public AutomationApplication, AutomationOptions, AutomationDocuments {
public:
    explicit RecordingApplication(Script& script) : script_(script) {}
    void SetDisplayAlerts(std::int16_t) override {}
    void SetConfirmConversions(bool) override {}
    void SetSaveNormalPrompt(bool) override {}
    void SetSavePropertiesPrompt(bool) override {}
    AutomationOptions& Options() override { return *this; }
    AutomationDocuments& Documents() override { return *this; }
    std::unique_ptr<AutomationDocument> Open(const std::string& fileName,
                                             std::optional<bool> confirmConversions, bool readOnly,
                                             bool addToRecentFiles,
                                             const std::string& passwordDocument) override {
        script_.calls.push_back("Open(" + fileName + ", " +
                                (confirmConversions ? "given" : "omitted") + ", " +
                                std::to_string(readOnly) + ", " + std::to_string(addToRecentFiles) +
                                ", [" + passwordDocument + "])");
        if (!script_.failOpen.empty()) {
            throw AutomationError(script_.failOpen);
        }
        return std::make_unique<RecordingDocument>(script_);
    }
    void ChangeFileOpenDirectory(const std::string& folder) override {
        script_.calls.push_back("ChangeFileOpenDirectory");
        script_.folder = folder;
    }
    void Quit() override { script_.calls.push_back("Quit()"); }

private:
    Script& script_;
};

class ConvertDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Put in place directly: the registered "Word.Application" stays the real one
        // for the tests that convert for real.
        session.application = std::make_unique<RecordingApplication>(script);
        WriteFile(source, "a Word document");
    }
    void TearDown() override { CloseWordSession(session); }

    bool Convert(const std::string& from, const std::string& to) {
        script.calls.clear();
        return ConvertDocument(session, from, to, line, options);
    }

    TempFolder dir;
    Script script;
    WordSession session;
    ConversionOptions options;
    std::string line;
    const std::string source = dir / "docs/report.doc";
};

TEST_F(ConvertDocumentTest, MakesTheConverterCallsInOrderAndReportsSuccess) {
    const std::string output = dir / "out/deep/er/report.htm";
    EXPECT_TRUE(Convert(source, output));
    EXPECT_THAT(line, MatchesRegex("[0-2][0-9]:[0-5][0-9]:[0-5][0-9]  100, Successfully convert " +
                                   source + " to " + output));
    ASSERT_EQ(script.calls.size(), 4u);
    EXPECT_EQ(script.calls[0], "Open(" + source + ", omitted, 1, 0, [ ])");
    EXPECT_EQ(script.calls[1], "ChangeFileOpenDirectory");
    EXPECT_EQ(script.calls[2], "SaveAs(report.htm, 8)");
    EXPECT_EQ(script.calls[3], "Close()");
    // The converter writes into a private folder inside the output folder, from
    // which the finished page is moved to its name.
    EXPECT_THAT(script.folder, StartsWith(dir / "out/deep/er/"));
    EXPECT_EQ(script.folder.back(), '/');
    EXPECT_EQ(ReadFile(output), kPage);
    EXPECT_THAT(FolderNames(dir / "out/deep/er"), ElementsAre("report.htm"));
    EXPECT_EQ(ReadFile(source), "a Word document");
}

TEST_F(ConvertDocumentTest, PassesThePasswordAsGiven) {
    options.Password = "secret";
    EXPECT_TRUE(Convert(source, dir / "out/report.htm"));
    EXPECT_EQ(script.calls.front(), "Open(" + source + ", omitted, 1, 0, [secret])");
}

TEST_F(ConvertDocumentTest, ExistingOutputWithoutOverwriteIsSkippedBeforeTheSourceCheck) {
    WriteFile(dir / "out/old.htm", "old page");
    EXPECT_FALSE(Convert(dir / "missing.doc", dir / "out/old.htm"));
    EXPECT_THAT(line, MatchesRegex("[0-9:]{8}  101, Output file " + (dir / "out/old.htm") +
                                   " exists, Ignore!"));
    EXPECT_THAT(script.calls, IsEmpty());
    EXPECT_EQ(ReadFile(dir / "out/old.htm"), "old page");
}

TEST_F(ConvertDocumentTest, MissingSourceIsReportedWithoutCallingTheConverter) {
    const std::string missing = dir / "docs/missing.doc";
    EXPECT_FALSE(Convert(missing, dir / "out/missing.htm"));
    EXPECT_THAT(line, MatchesRegex("[0-9:]{8}  102, Source file " + missing +
                                   " doesn't exist, Convert failure!"));
    EXPECT_THAT(script.calls, IsEmpty());
    EXPECT_FALSE(fs::exists(dir / "out"));
    // A folder is no source document either.
    EXPECT_FALSE(Convert(dir / "docs", dir / "out/docs.htm"));
    EXPECT_THAT(line, HasSubstr("  102, Source file "));
}

TEST_F(ConvertDocumentTest, TargetThatIsTheSourceItselfIsRefused) {
    options.Overwrite = true;
    fs::create_symlink(source, dir / "alias.htm");
    for (const std::string& target :
         {source, dir / "docs/./report.doc", dir / "docs/../docs/report.doc", dir / "alias.htm"}) {
        EXPECT_FALSE(Convert(source, target)) << target;
        EXPECT_THAT(line, MatchesRegex("[0-9:]{8}  103, Convert " + source +
                                       " failure, the error message is The output file .* is the "
                                       "source document"));
        EXPECT_THAT(script.calls, IsEmpty());
    }
    EXPECT_EQ(ReadFile(source), "a Word document");
}

TEST_F(ConvertDocumentTest, OverwriteReplacesThePageOnlyWhenTheConversionSucceeds) {
    const std::string output = dir / "out/report.htm";
    WriteFile(output, "old page");
    WriteFile(dir / "out/report.files/image001.png", "old picture");
    options.Overwrite = true;
    options.CreateFilesDir = true;

    script.failSave = "The disk is full";
    EXPECT_FALSE(Convert(source, output));
    EXPECT_THAT(line, MatchesRegex("[0-9:]{8}  103, Convert " + source +
                                   " failure, the error message is The disk is full"));
    EXPECT_EQ(ReadFile(output), "old page");
    EXPECT_EQ(ReadFile(dir / "out/report.files/image001.png"), "old picture");
    EXPECT_THAT(FolderNames(dir / "out"), ElementsAre("report.files", "report.htm"));

    script.failSave.clear();
    script.failOpen = "The password is incorrect";
    EXPECT_FALSE(Convert(source, output));
    EXPECT_THAT(line, HasSubstr("failure, the error message is The password is incorrect"));
    EXPECT_EQ(script.calls.size(), 1u);
    EXPECT_EQ(ReadFile(output), "old page");

    script.failOpen.clear();
    EXPECT_TRUE(Convert(source, output));
    EXPECT_EQ(ReadFile(output), kPage);
    EXPECT_EQ(ReadFile(dir / "out/report.files/image001.png"), "new");
    EXPECT_THAT(FolderNames(dir / "out"), ElementsAre("report.files", "report.htm"));
}

TEST_F(ConvertDocumentTest, ConverterThatWritesNoPageIsAFailure) {
    script.writePage = false;
    EXPECT_FALSE(Convert(source, dir / "out/report.htm"));
    EXPECT_THAT(line, HasSubstr("  103, Convert " + source + " failure, the error message is "));
    EXPECT_THAT(FolderNames(dir / "out"), IsEmpty());
}

TEST_F(ConvertDocumentTest, CompanionFolderIsKeptOrRemoved) {
    options.CreateFilesDir = true;
    EXPECT_TRUE(Convert(source, dir / "kept/report.htm"));
    EXPECT_EQ(ReadFile(dir / "kept/report.files/image001.png"), "new");

    // Pictures left from an earlier conversion go with the new ones.
    options.CreateFilesDir = false;
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
    options.Compress = true;
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
    WordSession none;
    std::string line;
    EXPECT_FALSE(ConvertDocument(none, dir / "a.doc", dir / "a.htm", line, {}));
    EXPECT_THAT(line, HasSubstr("  103, Convert " + (dir / "a.doc") + " failure"));
    EXPECT_FALSE(fs::exists(dir / "a.htm"));
}

} // namespace
} // namespace pelmora
