// ConvertDocument converting for real through a LibreOffice session: every log code,
// what each option leaves on disk, and every kind of bad input.

#include "engine/Compaction.h"
#include "engine/Conversion.h"
#include "engine/PathHelpers.h"
#include "engine/libreoffice/LibreOfficeConverter.h"
#include "tests/engine/OfficeCommandLine.h"
#include "tests/support/Matchers.h"
#include "tests/support/TempFolder.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>
#include <regex>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

namespace pelmora::test {
namespace {

constexpr const char* kTime = "[0-2][0-9]:[0-5][0-9]:[0-5][0-9]";

// A red 8 x 8 PNG, as the hexadecimal picture data of an RTF document.
constexpr const char* kRedPng =
    "89504e470d0a1a0a0000000d49484452000000080000000808020000004b6d29dc0000001249444154789c"
    "63f8cfc0801561171db4120028ff3fc16eecdf610000000049454e44ae426082";

// The source documents of the tests: made with LibreOffice's own converter from RTF
// written here, plus the sample documents and some damaged files. Made once per
// build folder; every test process uses them (ctest runs tests in parallel).
class Sources {
public:
    Sources() : dir_(PELMORA_BINARY_DIR "/test-documents-2") {
        const int lock = ::open((dir_ + ".lock").c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0644);
        if (lock >= 0) {
            ::flock(lock, LOCK_EX);
        }
        if (!fs::exists(dir_ + "/done")) {
            Make();
        }
        if (lock >= 0) {
            ::close(lock);
        }
    }

    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    const std::string& Folder() const { return dir_; }

private:
    void Make() const {
        TempFolder work;
        WriteFile(work / "text.rtf",
                  "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}}\\f0\\lang1033 Hello "
                  "{\\lang1031 Welt} and    four spaces, {\\b bold}.\\par Second paragraph.\\par}");
        WriteFile(work / "pic.rtf",
                  std::string("{\\rtf1\\ansi{\\fonttbl{\\f0 Times;}}\\f0 With a picture\\par"
                              "{\\pict\\pngblip\\picw8\\pich8\\picwgoal960\\pichgoal960 ") +
                      kRedPng + "}\\par}");
        const std::string docs = work / "docs";
        fs::create_directory(docs);
        const std::string profile = work / "profile";
        RunOfficeConverter(profile, "doc:MS Word 97", docs,
                           ShellQuoted(work / "text.rtf") + " " + ShellQuoted(work / "pic.rtf"));
        RunOfficeConverter(profile, "xml:MS Word 2003 XML", docs, ShellQuoted(work / "text.rtf"));
        fs::copy_file(work / "text.rtf", docs + "/text.rtf");
        for (const auto& entry : fs::directory_iterator(PELMORA_TEST_DATA "/corpus")) {
            if (entry.path().extension() == ".doc") {
                fs::copy_file(entry.path(), fs::path(docs) / entry.path().filename());
            }
        }
        WriteFile(docs + "/zero.doc", "");
        const std::string text = ReadFile(docs + "/text.doc");
        WriteFile(docs + "/truncated.doc", text.substr(0, text.size() / 3));
        // A Word file's header over bytes that make no sense.
        std::string damaged = text.substr(0, 512);
        for (std::size_t i = damaged.size(); i < text.size(); ++i) {
            damaged += static_cast<char>(i * 7);
        }
        WriteFile(docs + "/damaged.doc", damaged);
        WriteFile(docs + "/done", "");
        fs::remove_all(dir_);
        fs::rename(docs, dir_);
    }

    std::string dir_;
};

Sources* gSources = nullptr;
LibreOfficeConverter* gConverter = nullptr;
std::unique_ptr<ConverterSession>* gSession = nullptr;

class LibreOfficeConversion : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        gSources = new Sources;
        gConverter = new LibreOfficeConverter;
        gSession = new std::unique_ptr<ConverterSession>(StartSession(*gConverter));
        ASSERT_TRUE(*gSession);
    }

    static void TearDownTestSuite() {
        EndSession(*gSession);
        delete gSession;
        delete gConverter;
        delete gSources;
    }

    std::string Source(const std::string& name) const { return gSources->Path(name); }

    bool Convert(const std::string& source, const std::string& output) {
        const ConversionResult result = ConvertDocument(gSession->get(), source, output, options);
        line = result.line;
        return result.Converted();
    }

    // Converting the plain text document works: a bad input did not spoil the session.
    void ExpectNextDocumentConverts() {
        DocumentOptions plain;
        plain.overwrite = true;
        const ConversionResult next =
            ConvertDocument(gSession->get(), Source("text.doc"), out / "next/text.htm", plain);
        EXPECT_TRUE(next.Converted()) << next.line;
    }

    TempFolder out;
    DocumentOptions options;
    std::string line;
};

TEST_F(LibreOfficeConversion, ConvertsDocRtfAndWord2003Xml) {
    const std::vector<std::string> before = FolderNames(gSources->Folder());
    for (const std::string name : {"text.doc", "text.rtf", "text.xml"}) {
        const std::string source = Source(name);
        const std::string output = out / ("text-" + name.substr(5) + ".htm");
        const std::string original = ReadFile(source);
        EXPECT_TRUE(Convert(source, output)) << line;
        EXPECT_THAT(line, MatchesRegex(std::string(kTime) + "  100, Successfully convert " +
                                       source + " to " + output));
        EXPECT_THAT(ReadFile(output), AllOf(HasSubstr("Welt"), HasSubstr("Second")));
        EXPECT_EQ(ReadFile(source), original);
    }
    // Nothing was written beside the sources, nothing but the pages beside the pages.
    EXPECT_EQ(FolderNames(gSources->Folder()), before);
    EXPECT_THAT(FolderNames(out.Path()),
                ElementsAre("text-doc.htm", "text-rtf.htm", "text-xml.htm"));
}

TEST_F(LibreOfficeConversion, ConvertsTheSampleDocuments) {
    for (const std::string name :
         {"simple.doc", "Word95.doc", "table-merges.doc", "HeaderFooterUnicode.doc", "empty.doc"}) {
        EXPECT_TRUE(Convert(Source(name), out / ChangeExtension(name, ".htm"))) << line;
    }
    EXPECT_THAT(ReadFile(out / "simple.htm"), HasSubstr("This is a simple file"));
}

TEST_F(LibreOfficeConversion, PictureFolderIsKeptOrRemoved) {
    options.keepPictureFolder = true;
    ASSERT_TRUE(Convert(Source("pic.doc"), out / "kept/pic.htm")) << line;
    const std::string page = ReadFile(out / "kept/pic.htm");
    std::smatch picture;
    ASSERT_TRUE(std::regex_search(page, picture, std::regex("src=\"(pic\\.files/[^\"]+)\"")))
        << page;
    EXPECT_TRUE(FileExists(out / ("kept/" + picture[1].str())));
    EXPECT_THAT(FolderNames(out / "kept"), ElementsAre("pic.files", "pic.htm"));

    ASSERT_TRUE(Convert(Source("two_images.doc"), out / "kept/two.htm")) << line;
    EXPECT_EQ(FolderNames(out / "kept/two.files").size(), 2u);

    options.keepPictureFolder = false;
    ASSERT_TRUE(Convert(Source("pic.doc"), out / "removed/pic.htm")) << line;
    EXPECT_THAT(FolderNames(out / "removed"), ElementsAre("pic.htm"));
}

TEST_F(LibreOfficeConversion, CompressedPageIsCompactedOnDisk) {
    ASSERT_TRUE(Convert(Source("text.doc"), out / "plain.htm")) << line;
    options.compact = true;
    ASSERT_TRUE(Convert(Source("text.doc"), out / "small.htm")) << line;
    EXPECT_THAT(line, HasSubstr("  100, Successfully convert "));
    std::string expected = ReadFile(out / "plain.htm");
    ASSERT_THAT(expected, HasSubstr("<font"));
    // The page's file name titles it when the document has no title.
    CompactHtmlText(expected, "small");
    EXPECT_EQ(ReadFile(out / "small.htm"), expected);
    EXPECT_THAT(expected, AllOf(HasSubstr("<meta charset=utf-8>"), Not(HasSubstr("<font"))));
}

TEST_F(LibreOfficeConversion, OverwriteRule) {
    const std::string output = out / "text.htm";
    WriteFile(output, "old page");
    EXPECT_FALSE(Convert(Source("text.doc"), output));
    EXPECT_THAT(line, MatchesRegex(std::string(kTime) + "  101, Output file " + output +
                                   " exists, Ignore!"));
    EXPECT_EQ(ReadFile(output), "old page");

    options.overwrite = true;
    EXPECT_FALSE(Convert(Source("zero.doc"), output));
    EXPECT_THAT(line, HasSubstr("  103, "));
    EXPECT_EQ(ReadFile(output), "old page");
    EXPECT_THAT(FolderNames(out.Path()), ElementsAre("text.htm"));

    EXPECT_TRUE(Convert(Source("text.doc"), output)) << line;
    EXPECT_THAT(ReadFile(output), HasSubstr("Welt"));

    // A page may never replace its own source.
    const std::string copy = out / "copy.doc";
    fs::copy_file(Source("text.doc"), copy);
    EXPECT_FALSE(Convert(copy, out / "./copy.doc"));
    EXPECT_THAT(line, HasSubstr("is the source document"));
    EXPECT_EQ(ReadFile(copy), ReadFile(Source("text.doc")));
}

TEST_F(LibreOfficeConversion, CreatesANestedOutputFolder) {
    const std::string output = out / "a/b/c/text.htm";
    EXPECT_TRUE(Convert(Source("text.doc"), output)) << line;
    EXPECT_TRUE(FileExists(output));
}

TEST_F(LibreOfficeConversion, MissingSourceIs102) {
    const std::string missing = Source("missing.doc");
    EXPECT_FALSE(Convert(missing, out / "missing.htm"));
    EXPECT_THAT(line, MatchesRegex(std::string(kTime) + "  102, Source file " + missing +
                                   " doesn't exist, Convert failure!"));
    EXPECT_THAT(FolderNames(out.Path()), ElementsAre());
}

TEST_F(LibreOfficeConversion, DamagedDocumentsFailWith103AndTheNextOneConverts) {
    for (const std::string name : {"zero.doc", "truncated.doc", "damaged.doc"}) {
        const std::string source = Source(name);
        EXPECT_FALSE(Convert(source, out / "bad/page.htm")) << name;
        EXPECT_THAT(line, MatchesRegex(std::string(kTime) + "  103, Convert " + source +
                                       " failure, the error message is .+"));
        EXPECT_FALSE(fs::exists(out / "bad/page.htm"));
        ExpectNextDocumentConverts();
    }
}

TEST_F(LibreOfficeConversion, FuzzedSampleEndsWithItsLineAndTheNextOneConverts) {
    const bool converted = Convert(Source("Fuzzed.doc"), out / "fuzzed.htm");
    // This LibreOffice reads what is left of the damaged file, as Word does.
    if (converted) {
        EXPECT_THAT(ReadFile(out / "fuzzed.htm"), HasSubstr("<html"));
    } else {
        EXPECT_THAT(line, HasSubstr("  103, Convert " + Source("Fuzzed.doc") + " failure, "));
        EXPECT_FALSE(fs::exists(out / "fuzzed.htm"));
    }
    ExpectNextDocumentConverts();
}

TEST_F(LibreOfficeConversion, ProtectedDocumentNeedsItsPassword) {
    const std::string source = Source("password_password_cryptoapi.doc");
    for (const std::string password : {"", "wrong"}) {
        options.password = password;
        EXPECT_FALSE(Convert(source, out / "secret.htm")) << password;
        EXPECT_THAT(line, MatchesRegex(std::string(kTime) + "  103, Convert " + source +
                                       " failure, the error message is .*[Pp]assword.*"));
        EXPECT_FALSE(fs::exists(out / "secret.htm"));
    }
    options.password = "password";
    EXPECT_TRUE(Convert(source, out / "secret.htm")) << line;
    ExpectNextDocumentConverts();
}

TEST_F(LibreOfficeConversion, ProtectedDocumentOpensWithTheFirstPasswordThatFits) {
    const std::string source = Source("password_password_cryptoapi.doc");
    options.password = "wrong";
    options.otherPasswords = {"also wrong", "password", "never tried"};
    EXPECT_TRUE(Convert(source, out / "secret.htm")) << line;
    EXPECT_THAT(ReadFile(out / "secret.htm"), HasSubstr("<html"));

    options.otherPasswords = {"also wrong", "Password"};
    EXPECT_FALSE(Convert(source, out / "secret2.htm"));
    EXPECT_THAT(line, HasSubstr("the password is wrong or missing"));
    EXPECT_FALSE(fs::exists(out / "secret2.htm"));
    ExpectNextDocumentConverts();
}

TEST_F(LibreOfficeConversion, UnwritableOutputFolderIs103WithTheReason) {
    WriteFile(out / "file", "x");
    EXPECT_FALSE(Convert(Source("text.doc"), out / "file/sub/text.htm"));
    EXPECT_THAT(line, HasSubstr("the error message is Cannot create folder " + (out / "file/sub/") +
                                ": Not a directory"));
    // The kernel's own folders refuse new files even to the superuser.
    EXPECT_FALSE(Convert(Source("text.doc"), "/sys/text.htm"));
    EXPECT_THAT(line, HasSubstr("the error message is Cannot write into folder /sys/: "));
    ExpectNextDocumentConverts();
}

} // namespace
} // namespace pelmora::test
