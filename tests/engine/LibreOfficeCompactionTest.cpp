// Compaction of the pages LibreOffice writes: checked with a tag reader of the test's
// own on made-up pages and on the pages the real converter makes of every sample
// document.

#include "engine/LibreOfficeCompaction.h"
#include "engine/Compaction.h"
#include "engine/Conversion.h"
#include "engine/PathHelpers.h"
#include "engine/libreoffice/LibreOfficeConverter.h"
#include "tests/support/TempFolder.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <gtest/gtest.h>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace pelmora::test {
namespace {

namespace fs = std::filesystem;

const std::string kHead = "<!DOCTYPE html>\n<html>\n<head>\n"
                          "\t<meta http-equiv=\"content-type\" content=\"text/html; "
                          "charset=utf-8\"/>\n"
                          "\t<meta name=\"generator\" content=\"LibreOffice 7.4.7.2 (Linux)\"/>\n"
                          "</head>\n<body>\n";

std::string Compacted(std::string page) {
    CompactHtmlText(page);
    return page;
}

// What a page is made of, read the way a browser's tokenizer reads it.
struct PageParts {
    std::vector<std::string> tags;         // every tag as written, in order
    std::map<std::string, int> opened;     // per element name
    std::map<std::string, int> closed;     // per element name
    std::set<std::string> strayOrUnclosed; // names closed while none was open, or left open
    std::vector<std::string> words;        // the text, split at blanks and line breaks
    std::vector<std::string> verbatim;     // comments, pre, script, style, textarea contents
};

std::string LowerCase(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

bool OneOf(const std::string& name, std::initializer_list<const char*> names) {
    return std::any_of(names.begin(), names.end(), [&](const char* n) { return name == n; });
}

// Text as shown: the two references a compaction may write, read left to right.
std::string Decoded(const std::string& run) {
    std::string shown;
    for (std::size_t i = 0; i < run.size(); ++i) {
        if (run.compare(i, 4, "&lt;") == 0) {
            shown += '<';
            i += 3;
        } else if (run.compare(i, 5, "&amp;") == 0) {
            shown += '&';
            i += 4;
        } else {
            shown += run[i];
        }
    }
    return shown;
}

// Elements that start a new line: the words on their two sides never run together.
bool StartsALine(const std::string& name) {
    return OneOf(name, {"p",     "br",    "div",    "td",      "tr",        "th",  "li",
                        "table", "thead", "tbody",  "tfoot",   "caption",   "col", "colgroup",
                        "h1",    "h2",    "h3",     "h4",      "h5",        "h6",  "body",
                        "head",  "html",  "title",  "ul",      "ol",        "dl",  "dt",
                        "dd",    "hr",    "center", "address", "blockquote"});
}

// The end of the tag whose attributes begin at i: its '>' or the page's end. A quote
// opens a value only where a value may begin, right after '=' and blanks.
std::size_t TagEnd(const std::string& page, std::size_t i) {
    enum { Between, Name, AfterName, BeforeValue, Unquoted } state = Between;
    for (; i < page.size(); ++i) {
        const char c = page[i];
        const bool blank = std::isspace(static_cast<unsigned char>(c)) != 0;
        if (state == BeforeValue && (c == '"' || c == '\'')) {
            i = page.find(c, i + 1);
            if (i == std::string::npos) {
                return page.size();
            }
            state = Between;
        } else if (c == '>') {
            return i;
        } else if (state == Unquoted) {
            state = blank ? Between : Unquoted;
        } else if (state == BeforeValue) {
            state = blank ? BeforeValue : Unquoted;
        } else if (c == '=' && (state == Name || state == AfterName)) {
            state = BeforeValue;
        } else if (c == '/') {
            state = Between;
        } else if (blank) {
            state = state == Name || state == AfterName ? AfterName : Between;
        } else {
            state = Name;
        }
    }
    return page.size();
}

PageParts ReadPage(const std::string& page) {
    PageParts parts;
    std::map<std::string, int> depth;
    std::string text;
    std::string run;
    int preDepth = 0;
    std::string preText;
    const auto endRun = [&] {
        const std::string shown = Decoded(run);
        text += shown;
        if (preDepth > 0) {
            preText += shown;
        }
        run.clear();
    };
    std::size_t i = 0;
    while (i < page.size()) {
        if (page[i] != '<') {
            run += page[i++];
            continue;
        }
        if (page.compare(i, 4, "<!--") == 0) {
            std::size_t end = page.find("-->", i + 4);
            if (page.compare(i + 4, 1, ">") == 0) {
                end = i + 2;
            } else if (page.compare(i + 4, 2, "->") == 0) {
                end = i + 3;
            }
            end = end == std::string::npos ? page.size() : end + 3;
            endRun();
            parts.verbatim.push_back(page.substr(i, end - i));
            i = end;
            continue;
        }
        const bool closing = i + 1 < page.size() && page[i + 1] == '/';
        std::size_t n = i + (closing ? 2 : 1);
        if (n >= page.size() || !std::isalpha(static_cast<unsigned char>(page[n]))) {
            if (n < page.size() && (page[i + 1] == '!' || page[i + 1] == '?' || closing)) {
                endRun();
                const std::size_t gt = page.find('>', i);
                i = gt == std::string::npos ? page.size() : gt + 1;
                continue;
            }
            run += page[i++];
            continue;
        }
        endRun();
        std::string name;
        while (n < page.size() && !std::isspace(static_cast<unsigned char>(page[n])) &&
               page[n] != '/' && page[n] != '>') {
            name += page[n++];
        }
        name = LowerCase(name);
        const std::size_t gt = TagEnd(page, n);
        const std::size_t end = gt < page.size() ? gt + 1 : page.size();
        parts.tags.push_back(page.substr(i, end - i));
        i = end;
        if (StartsALine(name)) {
            text += '\n';
        }
        if (OneOf(name, {"meta", "br", "img", "hr", "col", "link", "input"})) {
            continue;
        }
        if (closing) {
            ++parts.closed[name];
            if (--depth[name] < 0) {
                parts.strayOrUnclosed.insert(name);
            }
            if (name == "pre" && preDepth > 0 && --preDepth == 0) {
                parts.verbatim.push_back(preText);
                preText.clear();
            }
            continue;
        }
        ++parts.opened[name];
        ++depth[name];
        if (name == "pre") {
            ++preDepth;
        }
        if (OneOf(name, {"script", "style", "textarea", "title"})) {
            std::size_t close = i;
            while ((close = page.find("</", close)) != std::string::npos &&
                   LowerCase(page.substr(close + 2, name.size())) != name) {
                close += 2;
            }
            close = close == std::string::npos ? page.size() : close;
            parts.verbatim.push_back(page.substr(i, close - i));
            if (name == "textarea") {
                text += page.substr(i, close - i);
            }
            i = close;
        }
    }
    endRun();
    std::string word;
    for (const char c : text + " ") {
        if (std::isspace(static_cast<unsigned char>(c))) {
            if (!word.empty()) {
                parts.words.push_back(word);
            }
            word.clear();
        } else {
            word += c;
        }
    }
    for (const auto& [name, count] : depth) {
        if (count > 0) {
            parts.strayOrUnclosed.insert(name);
        }
    }
    return parts;
}

// The compacted page keeps the structure and text of the page it came from.
void ExpectSameStructureAndText(const std::string& before, const std::string& after) {
    const PageParts from = ReadPage(before);
    const PageParts to = ReadPage(after);
    for (const auto& [name, count] : from.opened) {
        const auto closedBefore = from.closed.find(name);
        const bool balanced = closedBefore != from.closed.end() && closedBefore->second == count &&
                              !from.strayOrUnclosed.count(name);
        if (balanced) {
            EXPECT_EQ(to.opened.count(name) ? to.opened.at(name) : 0,
                      to.closed.count(name) ? to.closed.at(name) : 0)
                << "<" << name << "> opened and closed unequally";
            EXPECT_FALSE(to.strayOrUnclosed.count(name)) << "<" << name << "> stray or unclosed";
        }
    }
    for (const auto& [name, count] : from.closed) {
        if (!from.opened.count(name)) {
            EXPECT_LE(to.closed.count(name) ? to.closed.at(name) : 0, count) << name;
        }
    }
    EXPECT_EQ(to.words, from.words);
    EXPECT_EQ(to.verbatim, from.verbatim);
    // Every tag left is one of the page's tags, unchanged and in its order.
    std::size_t k = 0;
    for (const std::string& tag : to.tags) {
        while (k < from.tags.size() && from.tags[k] != tag) {
            ++k;
        }
        ASSERT_LT(k, from.tags.size()) << "a tag the page did not have: " << tag;
        ++k;
    }
}

// The compacted body of a LibreOffice page with the given body text.
std::string Body(const std::string& text) {
    const std::string head = Compacted(kHead);
    const std::string page = Compacted(kHead + text);
    EXPECT_EQ(page.substr(0, head.size()), head);
    return page.substr(head.size());
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

TEST(LibreOfficeCompaction, CutsOfficeMetaTagsAndKeepsThoseForBrowsers) {
    const std::string page =
        "<html><head>\n\t<meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\"/>\n"
        "\t<meta charset=\"utf-8\">\n\t<title>T</title>\n"
        "\t<meta name=\"generator\" content=\"LibreOffice 7.4.7.2 (Linux)\"/>\n"
        "\t<meta name=\"author\" content=\"A\"/>\n\t<meta name=\"created\" content=\"2003\"/>\n"
        "\t<meta name=\"changedby\" content=\"B\"/>\n\t<meta name=\"changed\" content=\"2004\"/>\n"
        "\t<meta name=\"description\" content=\"D\"/>\n"
        "\t<meta name=\"viewport\" content=\"width=device-width\"/>\n</head></html>\n";
    EXPECT_EQ(Compacted(page),
              "<html><head><meta http-equiv=\"content-type\" content=\"text/html; "
              "charset=utf-8\"/><meta charset=\"utf-8\"><title>T</title>"
              "<meta name=\"description\" content=\"D\"/>"
              "<meta name=\"viewport\" content=\"width=device-width\"/></head></html>");
}

TEST(LibreOfficeCompaction, CutsRunFormattingAsPairs) {
    // The fault seen on real pages: the opening tag stayed and ran on over the page.
    EXPECT_EQ(Body("<p><span style=\"font-variant: small-caps\">small caps</span> and</p>"),
              "<p>small caps and</p>");
    EXPECT_EQ(Body("<p><font face=\"Arial\"><font size=\"2\" style=\"font-size: 10pt\">A "
                   "<span lang=\"de-DE\">Wort</span></font> <b>b</b></font></p>"),
              "<p>A Wort <b>b</b></p>");
    EXPECT_EQ(Body("<sdfield type=PAGE subtype=RANDOM format=PAGE>8</sdfield>"), "8");
    // Spans that do more than format a run stay, with their closing tags; the
    // closing tags pair with the innermost open span.
    EXPECT_EQ(Body("<span style=\"color: red\"><span class=\"sd-abs-pos\" style=\"x\">a</span>"
                   "<span style=\"display: none\">hidden</span>"
                   "<span style=\"position: absolute\">b</span><span>c</span></span>"),
              "<span class=\"sd-abs-pos\" style=\"x\">a</span>"
              "<span style=\"display: none\">hidden</span>"
              "<span style=\"position: absolute\">b</span><span>c</span>");
    // Unmatched tags stay as they were: no pair, no cut.
    EXPECT_EQ(Body("<font color=\"red\">open <span lang=\"en\">x</span></span></font></font>"),
              "open x</span></font>");
    EXPECT_EQ(Body("<span style=\"color: red\">never closed <font face=\"A\">x"),
              "<span style=\"color: red\">never closed <font face=\"A\">x");
    // Pairs of different names may cross; each name pairs on its own.
    EXPECT_EQ(Body("<font face=\"A\"><span lang=\"en\">a</font>b</span>"), "ab");
    // A cut must not turn a text '<' into a tag, nor a text '&' into a reference.
    EXPECT_EQ(Body("1 <<font face=\"A\">b</font> &<span lang=\"en\">amp;</span> <<font>"),
              "1 &lt;b &amp;amp; <<font>");
}

TEST(LibreOfficeCompaction, CollapsesBlanksButNeverInsideProtectedText) {
    EXPECT_EQ(Body("<p>one  \t two\n\n   three</p>\n\n<p>\n  four <font face=\"A\"> </font> five"
                   "</p>\n<br/>\n six"),
              "<p>one two\nthree</p><p>four five</p><br/>six");
    EXPECT_EQ(Body("a\r\n\r\n  b"), "a\r\nb");
    // A run of blanks beside an element that shows nothing keeps one blank, so the
    // words on both sides stay apart.
    EXPECT_EQ(Body("one <script>x</script> two"), "one <script>x</script> two");
    const std::string kept[] = {
        "<pre>a  <font face=\"A\">b</font>\n\n  c</pre>",
        "<script>if (a  <  b) { x = \"<font>\"; }</script>",
        "<style>p  {  color: red }  </style>",
        "<textarea>  two  <span lang=\"en\">x</span></textarea>",
        "<!--  <font face=\"A\">  -->",
        "<a title=\"  two  <font>  \" href='a  b'>x</a>",
        "<title>  <span lang=\"en\">T</span>  </title>",
    };
    for (const std::string& text : kept) {
        const std::string result = Body("<div>" + text + "</div>");
        if (text.rfind("<pre>", 0) == 0) {
            // Tags inside pre are still markup; only its text is untouched.
            EXPECT_EQ(result, "<div><pre>a  b\n\n  c</pre></div>");
        } else {
            EXPECT_EQ(result, "<div>" + text + "</div>");
        }
    }
}

TEST(LibreOfficeCompaction, KeepsStructureAndTextOfRandomPages) {
    const std::vector<std::string> pieces = {"<span style=\"color: #ff0000\">",
                                             "<span lang=\"de-DE\">",
                                             "<span class=\"x\">",
                                             "<span style=\"display: none\">",
                                             "</span>",
                                             "</SPAN>",
                                             "<font face=\"Arial\">",
                                             "<FONT color='#ff0000'>",
                                             "</font>",
                                             "<sdfield type=PAGE>",
                                             "</sdfield>",
                                             "<p>",
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
                                             "\r\n",
                                             "word",
                                             "w",
                                             "<pre>",
                                             "</pre>",
                                             "<script>",
                                             "</script>",
                                             "<style>",
                                             "</style>",
                                             "<textarea>",
                                             "</textarea>",
                                             "<!--",
                                             "-->",
                                             "<a title=\"  <font> x \">",
                                             "</a>",
                                             "<img src='a  b.png'/>",
                                             "<meta name=\"created\" content=\"x\"/>",
                                             "<",
                                             ">",
                                             "&amp;",
                                             "=",
                                             "\"",
                                             "'",
                                             "</",
                                             "<!x>",
                                             "<span style=\"a>b\">",
                                             "<font\nface=x>"};
    std::mt19937 random(1103);
    for (int round = 0; round < 5000; ++round) {
        std::string page = kHead;
        const int count = std::uniform_int_distribution<int>(0, 40)(random);
        for (int i = 0; i < count; ++i) {
            page +=
                pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
        }
        SCOPED_TRACE(page);
        const std::string result = Compacted(page);
        ASSERT_LE(result.size(), page.size());
        ExpectSameStructureAndText(page, result);
        // The compacted page names no generator any more; its rules find nothing more.
        std::string again = result;
        CompactLibreOfficePage(again);
        ASSERT_EQ(again, result) << "a second compaction still cuts";
        if (HasFailure()) {
            return;
        }
    }
}

// An RTF document with runs in many fonts, sizes, colours, languages and effects.
std::string FormattedRtf() {
    std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}{\\f1 Arial;}"
                      "{\\f2 Courier New;}}{\\colortbl;\\red255\\green0\\blue0;"
                      "\\red0\\green0\\blue255;}\\f0\\lang1033 ";
    for (int i = 0; i < 20; ++i) {
        rtf += "Paragraph " + std::to_string(i) + ": {\\f1\\fs20 Arial ten} {\\cf1 red} " +
               "{\\cf2\\f2 blue mono} {\\scaps small caps} {\\lang1031 deutsches Wort} " +
               "{\\v hidden} {\\b\\i bold italic {\\ul under}} and    spaces.\\par ";
    }
    return rtf + "}";
}

TEST(LibreOfficeCompaction, PagesOfEverySampleDocumentStaySoundAndGetSmaller) {
    TempFolder out;
    WriteFile(out / "formatted.rtf", FormattedRtf());
    std::vector<std::string> sources = {out / "formatted.rtf"};
    for (const auto& entry : fs::directory_iterator(PELMORA_TEST_DATA "/corpus")) {
        if (entry.path().extension() == ".doc") {
            sources.push_back(entry.path().string());
        }
    }
    std::sort(sources.begin(), sources.end());
    LibreOfficeConverter converter;
    std::unique_ptr<ConverterSession> session = StartSession(converter);
    ASSERT_TRUE(session);
    std::size_t before = 0;
    std::size_t after = 0;
    int pages = 0;
    for (const std::string& source : sources) {
        DocumentOptions options;
        options.password = "password";
        const std::string name = fs::path(source).stem().string();
        if (!ConvertDocument(session.get(), source, out / ("plain/" + name + ".htm"), options).Converted()) {
            continue; // a damaged or empty document makes no page
        }
        options.compact = true;
        const ConversionResult compacted =
            ConvertDocument(session.get(), source, out / ("small/" + name + ".htm"), options);
        ASSERT_TRUE(compacted.Converted()) << compacted.line;
        const std::string page = ReadFile(out / ("plain/" + name + ".htm"));
        const std::string small = ReadFile(out / ("small/" + name + ".htm"));
        SCOPED_TRACE(source);
        ASSERT_TRUE(IsLibreOfficePage(page));
        EXPECT_EQ(small, Compacted(page));
        ExpectSameStructureAndText(page, small);
        EXPECT_LT(small.size(), page.size());
        std::cout << "  " << name << ": " << page.size() << " -> " << small.size() << " bytes, "
                  << 100.0 * static_cast<double>(page.size() - small.size()) /
                         static_cast<double>(page.size())
                  << "% saved\n";
        if (source.find("/corpus/") != std::string::npos) {
            before += page.size();
            after += small.size();
            ++pages;
        }
    }
    EndSession(session);
    // Of the ten sample documents, the empty, the damaged and the crashing ones may
    // make no page.
    EXPECT_GE(pages, 7);
    const double saved = 100.0 * static_cast<double>(before - after) / static_cast<double>(before);
    std::cout << "  all sample pages: " << before << " -> " << after << " bytes, " << saved << "% saved\n";
    EXPECT_GE(saved, 10.0);
}

} // namespace
} // namespace pelmora::test
