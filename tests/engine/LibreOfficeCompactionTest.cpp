// Compaction of the pages LibreOffice writes: made-up pages rewritten as clean HTML5,
// read back with the HTML5 parser to see that nothing a reader gets was lost.

#include "engine/LibreOfficeCompaction.h"
#include "engine/Compaction.h"
#include "engine/HtmlDocument.h"
#include "engine/HtmlWriter.h"
#include "tests/engine/PageOutline.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace pelmora::test {
namespace {

const std::string kHead = "<!DOCTYPE html>\n<html>\n<head>\n"
                          "\t<meta http-equiv=\"content-type\" content=\"text/html; "
                          "charset=utf-8\"/>\n"
                          "\t<meta name=\"generator\" content=\"LibreOffice 7.4.7.2 (Linux)\"/>\n"
                          "</head>\n<body>\n";

// What every compacted page begins with when its head had nothing else.
const std::string kCleanHead = "<!DOCTYPE html><meta charset=utf-8><title>doc</title><body>";

std::string Compacted(std::string page) {
    CompactHtmlText(page, "doc");
    return page;
}

// The compacted body of a LibreOffice page with the given body text.
std::string Body(const std::string& text) {
    const std::string page = Compacted(kHead + text);
    EXPECT_EQ(page.substr(0, kCleanHead.size()), kCleanHead);
    return page.substr(std::min(kCleanHead.size(), page.size()));
}

void ExpectSameOutline(const std::string& before, const std::string& after) {
    const PageOutline from = OutlineOf(before);
    const PageOutline to = OutlineOf(after);
    ASSERT_TRUE(to.parsed);
    EXPECT_EQ(to.words, from.words);
    EXPECT_EQ(to.structure, from.structure);
    EXPECT_EQ(to.targets, from.targets);
}

TEST(LibreOfficeCompaction, RecognisesLibreOfficePagesByTheirGenerator) {
    EXPECT_TRUE(IsLibreOfficePage(kHead));
    EXPECT_TRUE(IsLibreOfficePage("<HTML><META CONTENT='LibreOffice 24.2' NAME=Generator>"));
    EXPECT_FALSE(IsLibreOfficePage("<meta name=Generator content=\"Microsoft Word 9\">"));
    EXPECT_FALSE(IsLibreOfficePage("<meta name=\"author\" content=\"LibreOffice\">"));
    // Only the head counts, and never a comment.
    EXPECT_FALSE(
        IsLibreOfficePage("<body><meta name=\"generator\" content=\"LibreOffice 7.4\"></body>"));
    EXPECT_FALSE(
        IsLibreOfficePage("<!-- <meta name=\"generator\" content=\"LibreOffice 7.4\"> --><body>"));
    // A Word page that merely mentions LibreOffice keeps Word's rules.
    const std::string word = "<meta name=Generator content=\"Microsoft Word 9\">\r\n<p>"
                             "<span style='x'>Saved by LibreOffice</span>   </p>";
    EXPECT_EQ(Compacted(word), "\r\n<p>Saved by LibreOffice</p>");
}

TEST(LibreOfficeCompaction, WritesAHeadWithCharsetTitleAndACleanStyleSheet) {
    const std::string head =
        "<!DOCTYPE html>\n<html><head>\n\t<meta http-equiv=\"content-type\" "
        "content=\"text/html; charset=utf-8\"/>\n\t<title></title>\n"
        "\t<meta name=\"generator\" content=\"LibreOffice 7.4.7.2 (Linux)\"/>\n"
        "\t<meta name=\"author\" content=\"A\"/>\n\t<meta name=\"created\" content=\"2003\"/>\n"
        "\t<meta name=\"changed\" content=\"2004\"/>\n\t<style type=\"text/css\">\n"
        "\t\tp { color: #000000; orphans: 0; widows: 0; margin-bottom: 0.08in }\n"
        "\t\tp.western { font-family: \"Times New Roman\", serif; so-language: ru-RU }\n"
        "\t\th1 { so-language: en-US; orphans: 2 }\n\t</style>\n</head>\n"
        "<body lang=\"en-US\" text=\"#000000\" link=\"#000080\" vlink=\"#800000\" dir=\"ltr\">";
    // The first heading with text names an untitled page, else the document does.
    EXPECT_EQ(Compacted(head + "<h1> </h1><h2>The  <b>title</b></h2></body></html>"),
              "<!DOCTYPE html><html lang=en-US dir=ltr><meta charset=utf-8><title>The title</title>"
              "<meta name=author content=A><style>a:link{color:#000080}a:visited{color:#800000}"
              "p{color:#000;margin-bottom:.08in}p.western{font-family:\"Times New Roman\",serif}"
              "h1{orphans:2}</style><body style=color:#000><h1></h1><h2>The <b>title</b></h2>");
    EXPECT_NE(Compacted(head + "<p>x</p>").find("<title>doc</title>"), std::string::npos);
}

TEST(LibreOfficeCompaction, TurnsObsoleteMarkupIntoCssWithTheSameResult) {
    // Font tags: face, size and colour as the browser reads them.
    EXPECT_EQ(Body("<p><font face=\"Arial, sans-serif\" size=\"2\" color=\"#FF0000\">a</font> "
                   "<font size=\"+2\">b</font> <font face=\"3D Font, serif\">c</font></p>"),
              "<p><span style=font-family:Arial,sans-serif;font-size:small;color:#f00>a</span> "
              "<span style=font-size:x-large>b</span> "
              "<span style=\"font-family:'3D Font',serif\">c</span>");
    // A centred table: its cells get the table's padding and borders, unless they
    // set their own; the table's text goes back to the start, as browsers do.
    EXPECT_EQ(Body("<center><table border=\"1\" cellpadding=\"4\" cellspacing=\"0\" "
                   "width=\"50%\"><col width=\"128*\"/><col width=\"20\"/><tr valign=\"top\">"
                   "<td bgcolor=\"#ffff00\" nowrap>x</td><td style=\"padding: 0in\" width=\"20\">y"
                   "</td></tr></table></center>"),
              "<div style=text-align:center><table style=width:50%;border-width:1px;"
              "border-style:outset;border-spacing:0;margin-left:auto;margin-right:auto;"
              "text-align:start><col><col style=width:20px><tr style=vertical-align:top>"
              "<td style=padding:4px;border-width:1px;border-style:inset;border-color:inherit;"
              "background-color:#ff0;white-space:nowrap>x<td style=border-width:1px;"
              "border-style:inset;border-color:inherit;width:20px;padding:0>y</table></div>");
    EXPECT_EQ(
        Body("<p align=\"right\"><img src=\"a.png\" align=\"left\" border=\"2\" hspace=\"3\" "
             "width=\"10\" height=\"50%\"/><strike>s</strike><tt>t</tt><br clear=\"all\"/></p>"),
        "<p style=text-align:right><img src=a.png width=10 alt style=\"float:left;"
        "border:2px solid;margin-left:3px;margin-right:3px;height:50%\"><s>s</s>"
        "<code>t</code><br style=clear:both>");
    // A picture's middle on the baseline: half its box below it.
    EXPECT_EQ(Body("<img src=\"a.png\" align=\"middle\" height=\"21\" border=\"1\"/>"
                   "<img src=\"b.png\" align=\"middle\"/>"),
              "<img src=a.png height=21 alt style=\"vertical-align:-11.5px;border:1px solid\">"
              "<img src=b.png alt align=middle>");
    // The page's own rules win over markup, so markup they override gives nothing.
    const std::string sheet = "<style>p { text-align: left }</style>";
    EXPECT_NE(Compacted(kHead + sheet + "<p align=\"center\">x</p>").find("<p>x"),
              std::string::npos);
}

TEST(LibreOfficeCompaction, MakesTheOfficesOwnMarkupStandard) {
    EXPECT_EQ(Body("<p><a name=\"Mark 1\"></a>T <a href=\"#Mark 1\">go</a> <a name=\"in\">t</a> "
                   "<a name=\"in\"></a><img src=\"a b|c.png\" name=\"Image1\"/> "
                   "<img src=\"d.png\" alt=\"Kept\"/></p><sdfield type=PAGE>3</sdfield>"
                   "<p>ctl\x03x\x07y\x08z\xc2\x85!<!-- note --></p>"),
              "<p id=Mark_1>T <a href=#Mark_1>go</a> <a id=in>t</a> <a></a>"
              "<img src=a%20b%7Cc.png alt> <img src=d.png alt=Kept></p>3<p>ctlxyz!");
    // A list that begins at a deeper level gets an item of its own, counted by nothing.
    EXPECT_EQ(Body("<ol><ol type=\"a\"><li>x</li></ol><li>y</li></ol>"),
              "<ol><li style=display:block><ol type=a><li>x</ol><li>y</ol>");
}

TEST(LibreOfficeCompaction, DropsRunStylesTheTextHasAnywayAndMakesRepeatsClasses) {
    const std::string sheet = "<style>p.western { font-family: \"Times New Roman\", serif; "
                              "font-size: 12pt }</style>"; // in the body: it counts all the same
    const std::string run = "<font face=\"Times New Roman, serif\"><font size=\"3\" "
                            "style=\"font-size: 12pt\">same</font></font> "
                            "<font face=\"Arial\"><font size=\"2\" style=\"font-size: 10pt\">"
                            "arial</font></font> ";
    const std::string page =
        Compacted(kHead + sheet + "<p class=\"western\" style=\"margin: 0in\">" + run +
                  "</p><p class=\"western\" style=\"margin: 0in\">" + run +
                  "<sup><font size=\"3\" style=\"font-size: 12pt\">s</font>"
                  "</sup></p>");
    // The class outranks p.western as the style attribute did; a style used twice
    // that is shorter than a rule for it stays.
    EXPECT_NE(page.find("<style>p.western{font-family:\"Times New Roman\",serif;font-size:12pt}"
                        ".a.a{font-family:Arial;font-size:10pt}</style>"),
              std::string::npos)
        << page;
    EXPECT_NE(page.find("<p class=western style=margin:0>same <span class=a>arial</span><p "
                        "class=western style=margin:0>same <span class=a>arial</span> <sup>"
                        "<span style=font-size:12pt>s</span>"),
              std::string::npos)
        << page;
    // In justified lines each run keeps an element: the browser spreads the line's
    // room run by run.
    EXPECT_EQ(Body("<p style=\"text-align: justify\"><font face=\"A\"><span lang=\"de\">x</span>"
                   "</font><font face=\"B\">y</font> <font size=\"3\" style=\"font-size: 12pt\">"
                   "z</font></p>"),
              "<p style=text-align:justify><span style=font-family:A lang=de>x</span>"
              "<span style=font-family:B>y</span> <span style=font-size:12pt>z</span>");
}

TEST(LibreOfficeCompaction, CollapsesBlanksButNeverInsideProtectedText) {
    EXPECT_EQ(
        Body("<p>\n  one  \t two\n\n   three <br/>\n four </p>\n\n<ul>\n\t<li> a </li>\n</ul>"),
        "<p>one two\nthree<br>four<ul><li>a</ul>");
    EXPECT_EQ(Body("<p>a <b> b </b> c</p>"), "<p>a <b> b </b> c");
    const std::string kept[] = {
        "<pre>\n\na  <b>b</b>\n\n  c</pre>",
        "<textarea>  two  &lt;x</textarea>",
        "<script>if (a  <  b) { x = \"<font>\"; }</script>",
        "<span style=white-space:pre>  a  </span>",
    };
    for (const std::string& text : kept) {
        // pre and textarea lose one leading line break when read, and write it again.
        EXPECT_EQ(Body("<div>" + text + "</div>"), "<div>" + text + "</div>");
    }
}

TEST(LibreOfficeCompaction, LeavesPagesItCannotRewriteFaithfullyAsTheyWere) {
    const std::string pages[] = {
        kHead + "<p>not UTF-8: \xe9t\xe9</p>",
        "<html><head><meta name=\"generator\" content=\"LibreOffice 6\"></head><body>"
        "<table><tr><td>no doctype: quirks mode</table>",
        kHead + "<svg><rect width=\"1\"/></svg>",
        kHead +
            [] {
                std::string deep;
                for (int i = 0; i < 600; ++i) {
                    deep += "<div>"; // deeper than browsers nest
                }
                return deep;
            }(),
    };
    TempFolder folder;
    for (const std::string& page : pages) {
        EXPECT_EQ(Compacted(page), page);
        WriteFile(folder / "page.htm", page);
        EXPECT_NO_THROW(CompactHtml(folder / "page.htm"));
        EXPECT_EQ(ReadFile(folder / "page.htm"), page);
    }
}

TEST(LibreOfficeCompaction, KeepsTextAndStructureOfRandomPages) {
    const std::vector<std::string> pieces = {"<span style=\"color: #ff0000\">",
                                             "<span lang=\"de-DE\">",
                                             "</span>",
                                             "<font face=\"Arial\">",
                                             "<FONT color='#ff0000' size=4>",
                                             "</font>",
                                             "<sdfield type=PAGE>",
                                             "</sdfield>",
                                             "<p>",
                                             "<p align=center>",
                                             "</p>",
                                             "<br/>",
                                             "<b>",
                                             "</b>",
                                             "<div>",
                                             "</div>",
                                             " ",
                                             "  ",
                                             "\n",
                                             "\t",
                                             "word",
                                             "w",
                                             "<pre>",
                                             "</pre>",
                                             "<h2>",
                                             "</h2>",
                                             "<ul><li>",
                                             "</li>",
                                             "</ul>",
                                             "<table border=1><tr><td>",
                                             "</td><td width=10>",
                                             "</table>",
                                             "<center>",
                                             "</center>",
                                             "<!--",
                                             "-->",
                                             "<a name=\"x y\">",
                                             "<a href=\"#x y\">",
                                             "</a>",
                                             "<img src='a  b.png'/>",
                                             "<",
                                             ">",
                                             "&amp;",
                                             "&nbsp;",
                                             "=",
                                             "\"",
                                             "\x01",
                                             "<strike>",
                                             "</strike>",
                                             "<style>p { color: red }</style>",
                                             "<span style=\"font-size: 8pt\">",
                                             "<table>",
                                             "<tr>",
                                             "</td>",
                                             "<i>",
                                             "</i>"};
    std::mt19937 random(1103);
    int unchanged = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string page = kHead;
        const int count = std::uniform_int_distribution<int>(0, 40)(random);
        for (int i = 0; i < count; ++i) {
            page +=
                pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
        }
        SCOPED_TRACE(page);
        const std::string result = Compacted(page);
        if (result == page) {
            ++unchanged; // a tree the parser repaired so that it cannot be written back
            continue;
        }
        ExpectSameOutline(page, result);
        // Written from its own tree, the page reads back as the same tree.
        std::unique_ptr<HtmlDocument> again = HtmlDocument::Parse(result);
        ASSERT_NE(again, nullptr);
        ASSERT_EQ(WriteHtml(again->Root()), result);
        if (HasFailure()) {
            return;
        }
    }
    EXPECT_LT(unchanged, 1000);
}

} // namespace
} // namespace pelmora::test
