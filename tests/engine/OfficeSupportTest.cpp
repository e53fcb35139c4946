// The converter's private source copies and its failures in words.

#include "engine/libreoffice/OfficeSupport.h"
#include "tests/support/TempFolder.h"
#include "engine/Converter.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace pelmora::test {
namespace {

namespace fs = std::filesystem;

TEST(OfficeSupport, LoadErrorsAreNamedByTheirClass) {
    EXPECT_EQ(DescribeLoadError("SfxBaseModel::handleLoadError: 0x0xf26"),
              "the file is damaged or not in a format LibreOffice reads (LibreOffice error 0xf26)");
    EXPECT_EQ(DescribeLoadError("handleLoadError: 0x0x503"),
              "access to the file was denied (LibreOffice error 0x503)");
    EXPECT_EQ(DescribeLoadError("handleLoadError: 0x0x301"),
              "the file does not exist (LibreOffice error 0x301)");
    EXPECT_EQ(DescribeLoadError("unsupported URL"),
              "LibreOffice cannot read this document: unsupported URL");
    EXPECT_EQ(DescribeLoadError(""), "LibreOffice cannot read this document");
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
