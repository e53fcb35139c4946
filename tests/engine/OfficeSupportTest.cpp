// The converter's private source copies and its failures in words.

#include "engine/libreoffice/OfficeSupport.h"
#include "engine/Converter.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace pelmora::test {
namespace {

namespace fs = std::filesystem;

TEST(OfficeSupport, LoadAndStoreErrorsAreNamedInWords) {
    EXPECT_EQ(DescribeLoadError("SfxBaseModel::handleLoadError: 0x0xf26"),
              "the file is damaged or not in a format LibreOffice reads (LibreOffice error 0xf26)");
    EXPECT_EQ(DescribeLoadError("handleLoadError: 0x0x503"),
              "access to the file was denied (LibreOffice error 0x503)");
    EXPECT_EQ(DescribeLoadError("handleLoadError: 0x0x301"),
              "the file does not exist (LibreOffice error 0x301)");
    EXPECT_EQ(DescribeLoadError("unsupported URL"),
              "LibreOffice cannot read this document: unsupported URL");
    EXPECT_EQ(DescribeLoadError(""), "LibreOffice cannot read this document");
    // Writing: the input/output code in words, the number in brackets.
    const std::string store = "SfxBaseModel::impl_store <file:///out/0xff.htm> failed: ";
    EXPECT_EQ(
        DescribeStoreError(store + "0x507(Error Area:Io Class:Access Code:7) at x.cxx:3", "/"),
        "access to the file was denied (LibreOffice error 0x507)");
    EXPECT_EQ(DescribeStoreError(store + "0x909(Error Area:Io Class:Space Code:9)", "/"),
              "no space left on device (LibreOffice error 0x909)");
    EXPECT_EQ(DescribeStoreError(store + "0x11b(Error Area:Io Class:Abort Code:27)", "/missing"),
              "the writing was aborted (LibreOffice error 0x11b)");
}

TEST(OfficeSupport, DurationsInWords) {
    using namespace std::chrono;
    EXPECT_EQ(DescribeDuration(minutes(5)), "5 minutes");
    EXPECT_EQ(DescribeDuration(minutes(1)), "1 minute");
    EXPECT_EQ(DescribeDuration(seconds(3)), "3 seconds");
    EXPECT_EQ(DescribeDuration(seconds(90)), "90 seconds");
    EXPECT_EQ(DescribeDuration(milliseconds(1)), "1 millisecond");
    EXPECT_EQ(DescribeDuration(milliseconds(1500)), "1500 milliseconds");
}

TEST(OfficeSupport, CopyOfAReadOnlySourceIsWritableAndTheSourceUntouched) {
    TempFolder folder;
    WriteFile(folder / "in/letter.doc", "content");
    fs::permissions(folder / "in/letter.doc", fs::perms::owner_read);
    const std::string copy = CopySource(folder / "work", 7, folder / "in/letter.doc");
    EXPECT_EQ(copy, folder / "work/7/letter.doc");
    EXPECT_EQ(ReadFile(copy), "content");
    EXPECT_NE(fs::status(copy).permissions() & fs::perms::owner_write, fs::perms::none);
    EXPECT_EQ(fs::status(folder / "in/letter.doc").permissions() & fs::perms::owner_write,
              fs::perms::none);
    // Names the office cannot take, not UTF-8: a plain name, and plain extensions only.
    WriteFile(folder / "in/Bericht_M\xe4rz.doc", "latin-1");
    WriteFile(folder / "in/odd.d\xe4"
                       "c",
              "odd");
    EXPECT_EQ(CopySource(folder / "work", 8, folder / "in/Bericht_M\xe4rz.doc"),
              folder / "work/8/document.doc");
    EXPECT_EQ(ReadFile(CopySource(folder / "work", 9,
                                  folder / "in/odd.d\xe4"
                                           "c")),
              "odd");
    EXPECT_TRUE(fs::exists(folder / "work/9/document"));
}

TEST(OfficeSupport, SourcesThatCannotBeCopiedSayWhy) {
    TempFolder folder;
    WriteFile(folder / "empty.doc", "");
    fs::create_directories(folder / "folder.doc");
    const auto error = [&](const std::string& name) {
        try {
            CopySource(folder / "work", 1, folder / name);
        } catch (const ConverterError& e) {
            return std::string(e.what());
        }
        return std::string("(no error)");
    };
    EXPECT_EQ(error("empty.doc"), "the file is empty");
    EXPECT_EQ(error("folder.doc"), folder / "folder.doc" + " is a folder");
    EXPECT_EQ(error("missing.doc"), folder / "missing.doc" + " does not exist");
    EXPECT_FALSE(fs::exists(folder / "work/1"));
}

} // namespace
} // namespace pelmora::test
