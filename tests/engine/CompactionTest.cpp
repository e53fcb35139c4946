#include "engine/Compaction.h"

#include "tests/support/TempFolder.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <random>
#include <string_view>
#include <vector>

namespace pelmora::test {
namespace {

namespace fs = std::filesystem;

// The compaction exactly as it was first written: every cut rescans the page from
// its beginning. The fast implementation must give the same bytes.
void PlainRemoveBlocks(std::string& page, const std::string& start, const std::string& end) {
    while (true) {
        const std::size_t a = page.find(start);
        if (a == std::string::npos) {
            return;
        }
        const std::size_t b = page.find(end, a + 1);
        if (b == std::string::npos) {
            return;
        }
        page.erase(a, b + end.size() - a);
    }
}

void PlainReplace(std::string& page, const std::string& find, const std::string& by) {
    std::string out;
    std::size_t from = 0;
    for (std::size_t hit = page.find(find); hit != std::string::npos; hit = page.find(find, from)) {
        out += page.substr(from, hit - from) + by;
        from = hit + find.size();
    }
    page = out + page.substr(from);
}

// The rules as they read: cut each Office block from its start to its end, then make
// each replacement, in this order.
std::string PlainCompact(std::string page) {
    PlainRemoveBlocks(page, "<meta name=ProgId", ">");
    PlainRemoveBlocks(page, "<meta name=Generator", ">");
    PlainRemoveBlocks(page, "<meta name=Originator", ">");
    PlainRemoveBlocks(page, "<link rel=Edit-Time-Data", ">");
    PlainRemoveBlocks(page, "<link rel=OLE-Object-Data", ">");
    PlainRemoveBlocks(page, "<!--[if gte mso 9]>", "<![endif]-->");
    PlainRemoveBlocks(page, "<!--[if gte vml 1]>", "<![endif]-->");
    PlainRemoveBlocks(page, "<!--[if !mso]>", "<![endif]-->");
    PlainRemoveBlocks(page, "<![if supportMisalignedColumns]>", "<![endif]>");
    PlainRemoveBlocks(page, "<span style='", ">");
    PlainRemoveBlocks(page, "<span lang=", ">");
    PlainReplace(page, "</span>", "");
    PlainReplace(page, "   ", "");
    PlainReplace(page, "  ", "");
    PlainReplace(page, "xmlns:o=\"urn:schemas-microsoft-com:office:office\"", "");
    PlainReplace(page, "xmlns:x=\"urn:schemas-microsoft-com:office:word\"", "");
    PlainReplace(page, "xmlns=\"http://www.w3.org/TR/REC-html40\"", "");
    PlainReplace(page, "\r\n\r\n", "\r\n");
    PlainReplace(page, "\r\n\r\n", "\r\n");
    return page;
}

std::string Compacted(std::string page) {
    CompactHtmlText(page);
    return page;
}

TEST(CompactHtmlText, CutsEveryOfficeBlock) {
    const std::string page = "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\" "
                             "xmlns:x=\"urn:schemas-microsoft-com:office:word\" "
                             "xmlns=\"http://www.w3.org/TR/REC-html40\">"
                             "<meta name=ProgId content=Word.Document>"
                             "<meta name=Generator content=\"Microsoft Word 9\">"
                             "<meta name=Originator content=\"Microsoft Word 9\">"
                             "<link rel=Edit-Time-Data href=\"x_files/editdata.mso\">"
                             "<link rel=OLE-Object-Data href=\"x_files/oledata.mso\">"
                             "<!--[if gte mso 9]><xml><o:DocumentProperties/></xml><![endif]-->"
                             "<!--[if gte vml 1]><v:shape/><![endif]-->"
                             "<![if !vml]><img src=a.gif><![endif]>"
                             "<!--[if !mso]><style>v\\:*</style><![endif]-->"
                             "<![if supportMisalignedColumns]><tr><td></td></tr><![endif]>"
                             "<p><span style='font-size:12pt'>Hello</span> "
                             "<span lang=EN-US>world</span><span class=x>!</span></p></html>";
    // The namespaces go after the space rules, so their separating spaces stay.
    EXPECT_EQ(Compacted(page), "<html   ><![if !vml]><img src=a.gif><![endif]>"
                               "<p>Hello world<span class=x>!</p></html>");
}

TEST(CompactHtmlText, RunsOfSpacesAndLineEndsShrinkAsTheRulesCombine) {
    // n spaces: one when n leaves remainder 1 on division by 3, none otherwise.
    const char* expectedSpaces[] = {"", "a b", "ab", "ab", "a b", "ab", "ab", "a b", "ab"};
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(Compacted("a" + std::string(n, ' ') + "b"), expectedSpaces[n]) << n;
    }
    // k CR LF pairs become ceil(ceil(k / 2) / 2).
    const int expectedPairs[] = {0, 1, 1, 1, 1, 2, 2, 2, 2, 3};
    for (int k = 1; k <= 9; ++k) {
        std::string pairs;
        for (int i = 0; i < k; ++i) {
            pairs += "\r\n";
        }
        std::string expected = "a";
        for (int i = 0; i < expectedPairs[k]; ++i) {
            expected += "\r\n";
        }
        EXPECT_EQ(Compacted("a" + pairs + "b"), expected + "b") << k;
    }
}

TEST(CompactHtmlText, LeavesWhatNoRuleMatches) {
    EXPECT_EQ(Compacted(""), "");
    const std::string plain = "<html><body><p class=MsoNormal>Text</p></body></html>\r\n";
    EXPECT_EQ(Compacted(plain), plain);
    // Markers are case-sensitive.
    const std::string upper = "<META NAME=PROGID content=x><meta name=progid content=y>";
    EXPECT_EQ(Compacted(upper), upper);
    // A start marker without its end keeps itself and everything after it.
    EXPECT_EQ(Compacted("a<!--[if gte mso 9]>b<![endif]-- c"),
              "a<!--[if gte mso 9]>b<![endif]-- c");
    // Bytes of any encoding pass through unchanged.
    using namespace std::string_literals;
    EXPECT_EQ(Compacted("caf\xe9 \xc3\xa9\0\xff<span lang=DE>w\x80rt</span>"s),
              "caf\xe9 \xc3\xa9\0\xffw\x80rt"s);
}

TEST(CompactHtmlText, BlocksEndAtTheFirstEndMarkerAndCutsCanJoinNewMarkers) {
    EXPECT_EQ(Compacted("<!--[if gte mso 9]>1<!--[if gte mso 9]>2<![endif]-->3<![endif]-->4"),
              "3<![endif]-->4");
    // A cut brings "<span " and "lang=" together: the joined tag is cut as well. The
    // style rule has finished by then, so a joined style tag stays.
    EXPECT_EQ(Compacted("<span <span lang=x>lang=y>word</span>"), "word");
    EXPECT_EQ(Compacted("<span <span lang=x>style='c'>word</span>"), "<span style='c'>word");
    // The end marker may begin inside the start marker's own text.
    std::string page = "abab";
    RemoveBlocks(page, "aba", "ab");
    EXPECT_EQ(page, "");
}

TEST(CompactHtmlText, EqualsTheRescanningAlgorithmOnRandomPages) {
    const std::vector<std::string> pieces = {"<span style='",
                                             "<span lang=",
                                             "<span ",
                                             "style='",
                                             "lang=",
                                             ">",
                                             "</span>",
                                             "</sp",
                                             "an>",
                                             " ",
                                             "  ",
                                             "\r\n",
                                             "\r",
                                             "\n",
                                             "<!--[if gte mso 9]>",
                                             "<!--[if gte vml 1]>",
                                             "<!--[if !mso]>",
                                             "<![endif]-->",
                                             "<![endif]",
                                             "-->",
                                             "<![endif]>",
                                             "<![if supportMisalignedColumns]>",
                                             "<meta name=ProgId",
                                             "<meta name=Generator",
                                             "<meta name=Originator",
                                             "<link rel=Edit-Time-Data",
                                             "<link rel=OLE-Object-Data",
                                             "<",
                                             "<!--[if ",
                                             "gte mso 9]>",
                                             "xmlns:o=\"urn:schemas-microsoft-com:office:office\"",
                                             "xmlns=\"http://www.w3.org/TR/REC-html40\"",
                                             "xmlns:x=",
                                             "\"urn:schemas-microsoft-com:office:word\"",
                                             "x",
                                             "word",
                                             std::string("\0", 1),
                                             "\xff"};
    std::mt19937 random(20240607);
    for (int round = 0; round < 20000; ++round) {
        std::string page;
        const int count = std::uniform_int_distribution<int>(0, 40)(random);
        for (int i = 0; i < count; ++i) {
            page +=
                pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
        }
        ASSERT_EQ(Compacted(page), PlainCompact(page)) << "page: " << page;
    }
}

TEST(RemoveBlocks, EqualsTheRescanningAlgorithmForAnyMarkers) {
    std::mt19937 random(7);
    const auto word = [&random](int minLength, int maxLength) {
        const int length = std::uniform_int_distribution<int>(minLength, maxLength)(random);
        std::string text;
        for (int i = 0; i < length; ++i) {
            text += "ab<"[std::uniform_int_distribution<int>(0, 2)(random)];
        }
        return text;
    };
    for (int round = 0; round < 50000; ++round) {
        const std::string start = word(1, 4);
        const std::string end = word(1, 3);
        std::string page = word(0, 30);
        std::string expected = page;
        PlainRemoveBlocks(expected, start, end);
        RemoveBlocks(page, start, end);
        ASSERT_EQ(page, expected) << "start " << start << " end " << end;
    }
}

// How often needle occurs in text.
std::size_t Occurrences(std::string_view text, std::string_view needle) {
    std::size_t count = 0;
    for (std::size_t at = text.find(needle); at != std::string_view::npos;
         at = text.find(needle, at + needle.size())) {
        ++count;
    }
    return count;
}

TEST(RemoveBlocks, APageOfManyCutsGivesTheRescanningResult) {
    // Each block holds a cut, a start marker split by another cut and so joined by it,
    // and text that ends the block: the page's result is the blocks' results in a row.
    const std::string block = "<span lang=EN>w<span <span lang=x>lang=y>v";
    std::string one = block;
    PlainRemoveBlocks(one, "<span lang=", ">");
    ASSERT_EQ(one, "wv");
    std::string three = block + block + block;
    PlainRemoveBlocks(three, "<span lang=", ">");
    ASSERT_EQ(three, one + one + one);

    const std::size_t blocks = 200000;
    std::string page;
    page.reserve(blocks * block.size());
    for (std::size_t i = 0; i < blocks; ++i) {
        page += block;
    }
    RemoveBlocks(page, "<span lang=", ">");
    ASSERT_EQ(page.size(), blocks * one.size());
    EXPECT_EQ(Occurrences(page, one), blocks);
}

TEST(CompactHtmlText, ALargeLibreOfficePageIsRewrittenWhole) {
    std::string page =
        "<!DOCTYPE html><html><head><meta name=\"generator\" content=\"LibreOffice\"/></head>";
    std::size_t paragraphs = 0;
    while (page.size() < (std::size_t{4} << 20)) {
        page += "<p><font face=\"Arial\">Text  in  a  font</font></p>\n";
        ++paragraphs;
    }
    CompactHtmlText(page);
    EXPECT_THAT(page, ::testing::Not(::testing::HasSubstr("<font")));
    // Every paragraph is still there, down to the last.
    EXPECT_EQ(Occurrences(page, "<p"), paragraphs);
    EXPECT_EQ(Occurrences(page, "Text"), paragraphs);
}

TEST(CompactHtml, ReplacesTheFileWithTheCompactedPage) {
    TempFolder dir;
    const std::string path = dir / "page.htm";
    const std::string page = "<p><span lang=EN-US>one</span>   two</p>\r\n\r\n" +
                             std::string(5000, ' ') + "<meta name=Generator content=x>";
    WriteFile(path, page);
    CompactHtml(path);
    EXPECT_EQ(ReadFile(path), PlainCompact(page));
    EXPECT_EQ(fs::file_size(path), PlainCompact(page).size());
    // Nothing is left beside the page.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);

    WriteFile(dir / "empty.htm", "");
    CompactHtml(dir / "empty.htm");
    EXPECT_TRUE(fs::exists(dir / "empty.htm"));
    EXPECT_EQ(fs::file_size(dir / "empty.htm"), 0u);
}

TEST(CompactHtml, ReportsWhyAPageCannotBeCompacted) {
    TempFolder dir;
    try {
        CompactHtml(dir / "missing.htm");
        FAIL() << "a missing page must fail";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot read " + (dir / "missing.htm") + ": No such file or directory");
    }
    fs::create_directory(dir / "folder.htm");
    EXPECT_THROW(CompactHtml(dir / "folder.htm"), std::runtime_error);
}

} // namespace
} // namespace pelmora::test
