// Gathering the exporter's pictures into the page's companion folder.

#include "engine/libreoffice/PagePictures.h"
#include "engine/Converter.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace pelmora::test {
namespace {

namespace fs = std::filesystem;

TEST(PagePictures, CompanionFolderReplacesTheExtension) {
    EXPECT_EQ(CompanionFolderName("page.htm"), "page.files");
    EXPECT_EQ(CompanionFolderName("my.report.html"), "my.report.files");
    EXPECT_EQ(CompanionFolderName("page"), "page.files");
}

TEST(PagePictures, MovesReferencedPicturesAndRewritesEveryReference) {
    TempFolder folder;
    WriteFile(folder / "page_htm_1a.png", "png");
    WriteFile(folder / "page_htm_2b.jpg", "jpg");
    WriteFile(folder / "page.htm",
              "<body background=\"page_htm_2b.jpg\"><img src=\"page_htm_1a.png\" alt=\"a\"/>"
              "<IMG SRC='page_htm_1a.png'><p style=\"background: url(page_htm_2b.jpg)\">x</p>"
              "<img src=\"page_htm_1a.png\"></body>");
    EXPECT_EQ(MovePagePictures(folder.Path(), "page.htm"), 2);
    EXPECT_EQ(ReadFile(folder / "page.htm"),
              "<body background=\"page.files/page_htm_2b.jpg\">"
              "<img src=\"page.files/page_htm_1a.png\" alt=\"a\"/>"
              "<IMG SRC='page.files/page_htm_1a.png'>"
              "<p style=\"background: url(page.files/page_htm_2b.jpg)\">x</p>"
              "<img src=\"page.files/page_htm_1a.png\"></body>");
    EXPECT_EQ(ReadFile(folder / "page.files/page_htm_1a.png"), "png");
    EXPECT_EQ(ReadFile(folder / "page.files/page_htm_2b.jpg"), "jpg");
    EXPECT_FALSE(fs::exists(folder / "page_htm_1a.png"));
}

TEST(PagePictures, EscapedNamesKeepTheExportersEncoding) {
    TempFolder folder;
    const std::string stem = "my page#1 \xC3\xBC&x";
    WriteFile(folder / (stem + "_html_9f.png"), "png");
    WriteFile(folder / (stem + ".html"), "<img src=\"my%20page%231%20%C3%BC&amp;x_html_9f.png\">");
    EXPECT_EQ(MovePagePictures(folder.Path(), stem + ".html"), 1);
    EXPECT_EQ(
        ReadFile(folder / (stem + ".html")),
        "<img "
        "src=\"my%20page%231%20%C3%BC&amp;x.files/my%20page%231%20%C3%BC&amp;x_html_9f.png\">");
    EXPECT_TRUE(fs::exists(folder / (stem + ".files/" + stem + "_html_9f.png")));
}

TEST(PagePictures, OtherFilesAndReferencesAreLeftAlone) {
    TempFolder folder;
    const std::string page = "<img src=\"logo.png\"><img src=\"other_htm_1.png\">"
                             "<img src=\"http://example.com/page_htm_1.png\">"
                             "<img src=\"sub/page_htm_1.png\"><img src=\"page_htm_gone.png\">";
    WriteFile(folder / "page.htm", page);
    WriteFile(folder / "logo.png", "user's");
    WriteFile(folder / "other_htm_1.png", "another page's");
    WriteFile(folder / "page_htm_unreferenced.png", "not ours to move");
    WriteFile(folder / "sub/page_htm_1.png", "in a subfolder");
    EXPECT_EQ(MovePagePictures(folder.Path(), "page.htm"), 0);
    EXPECT_EQ(ReadFile(folder / "page.htm"), page);
    EXPECT_FALSE(fs::exists(folder / "page.files"));
    for (const char* name : {"logo.png", "other_htm_1.png", "page_htm_unreferenced.png"}) {
        EXPECT_TRUE(fs::exists(folder / name)) << name;
    }
}

TEST(PagePictures, CompanionThatIsAFileIsAFailureWithTheReason) {
    TempFolder folder;
    WriteFile(folder / "page_htm_1.png", "png");
    WriteFile(folder / "page.htm", "<img src=\"page_htm_1.png\">");
    WriteFile(folder / "page.files", "a file in the way");
    try {
        MovePagePictures(folder.Path(), "page.htm");
        FAIL() << "expected an ConverterError";
    } catch (const ConverterError& e) {
        EXPECT_NE(std::string(e.what()).find("page.files"), std::string::npos) << e.what();
    }
    EXPECT_THROW(MovePagePictures(folder.Path(), "missing.htm"), ConverterError);
}

} // namespace
} // namespace pelmora::test
