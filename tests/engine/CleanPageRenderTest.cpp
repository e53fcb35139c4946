// Pages the real converter makes of the sample documents and of made-up ones, as
// written and compacted: the compacted page keeps what a reader gets and renders
// pixel for pixel the same in headless Chromium, at a narrow and a wide window.

#include "engine/Compaction.h"
#include "engine/Conversion.h"
#include "engine/LibreOfficeCompaction.h"
#include "engine/libreoffice/LibreOfficeConverter.h"
#include "tests/engine/PageOutline.h"
#include "tests/support/TempFolder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <gtest/gtest.h>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace pelmora::test {
namespace {

namespace fs = std::filesystem;

// A 40 by 20 red PNG.
const char* const kPicture =
    "89504e470d0a1a0a0000000d49484452000000280000001408020000007024e8ec0000002449444154"
    "78da6338212737208861d4e2518b472d1eb578d4e2518b472d1eb578e4580c0052e12cae4ee105b000"
    "00000049454e44ae426082";

// Headings, runs in many fonts, sizes and colours, aligned paragraphs, lists, links
// and a bookmark, fields, pictures and a centred table with borders and a shaded cell.
std::string FeaturesRtf() {
    const std::string picture =
        std::string("{\\pict\\pngblip\\picw40\\pich20\\picwgoal600\\pichgoal300 ") + kPicture + "}";
    std::string rtf =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}{\\f1\\fswiss Arial;}"
        "{\\f2\\fmodern Courier New;}{\\f3\\fswiss DejaVu Sans;}}{\\colortbl;\\red255\\green0"
        "\\blue0;\\red0\\green0\\blue255;\\red0\\green128\\blue0;\\red255\\green255\\blue0;}"
        "{\\stylesheet{\\s0 Normal;}{\\s1\\b\\fs36 heading 1;}{\\s2\\b\\i\\fs28 heading 2;}}"
        "\\f0\\fs24{\\pard\\s1\\outlinelevel0\\b\\fs36 {\\*\\bkmkstart top}Main heading"
        "{\\*\\bkmkend top}\\par}{\\pard\\s2\\outlinelevel1\\b\\i\\fs28 Second heading\\par}"
        "{\\pard\\qc Centred with {\\f1\\fs20 Arial ten} and {\\cf1 red} and {\\cf2\\f2 blue "
        "mono}.\\par}{\\pard\\qr Right {\\b bold} {\\i italic} {\\ul under} {\\strike struck} "
        "{\\super sup} {\\sub sub}.\\par}";
    for (int i = 0; i < 3; ++i) {
        rtf += "{\\pard\\qj Justified text that wraps over lines in a narrow window, with "
               "{\\scaps Small Caps} {\\caps caps} {\\fs16 small} {\\fs48 big} {\\lang1031 "
               "deutsches Wort} and {\\f3 DejaVu \\u8364? \\u228?} runs.\\par}";
    }
    rtf += "{\\pard\\fi-360\\li720{\\pntext\\f0 \\u8226?\\tab}{\\*\\pn\\pnlvlblt\\pnf0\\pnindent360"
           "{\\pntxtb\\u8226?}}First bullet\\par}{\\pard\\fi-360\\li720{\\pntext\\f0 1.\\tab}"
           "{\\*\\pn\\pnlvlbody\\pndec\\pnstart1\\pnindent360{\\pntxta .}}Numbered {\\cf3 green}"
           "\\par}{\\pard A {\\field{\\*\\fldinst HYPERLINK \"http://example.com/a b?x=1&y=2\"}"
           "{\\fldrslt {\\ul\\cf2 link}}} and a {\\field{\\*\\fldinst HYPERLINK \\\\l \"top\"}"
           "{\\fldrslt jump}}.\\par}{\\pard Page {\\field{\\*\\fldinst PAGE}{\\fldrslt 1}}, "
           "author {\\field{\\*\\fldinst AUTHOR}{\\fldrslt Tester}}.\\par}{\\pard Picture: " +
           picture + "\\par}{\\pard\\qc " + picture + "\\par}";
    const std::string cell = "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs"
                             "\\brdrw10\\clbrdrr\\brdrs\\brdrw10";
    for (int row = 0; row < 2; ++row) {
        rtf += "\\trowd\\trgaph108\\trqc" + cell + "\\cellx3000" + cell +
               (row == 0 ? "\\clcbpat4" : "") + "\\cellx6000\\pard\\intbl Cell {\\b " +
               std::to_string(row) + "}\\cell\\pard\\intbl\\qr {\\cf1 42}\\cell\\row";
    }
    return rtf + "\\pard Line\\line break.\\par}";
}

// Renders page at width into png with headless Chromium; false when it failed.
bool Render(const std::string& page, int width, const std::string& png) {
    const std::string sandbox = ::geteuid() == 0 ? " --no-sandbox" : "";
    const std::string command = "chromium --headless=new" + sandbox +
                                " --disable-gpu --hide-scrollbars --force-device-scale-factor=1"
                                " --window-size=" +
                                std::to_string(width) + ",3000 --screenshot='" + png +
                                "' 'file://" + page + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0 && fs::exists(png);
}

// True when both pages render alike at both widths (two browsers at a time).
bool RendersAlike(const std::string& a, const std::string& b, const std::string& scratch) {
    for (const int width : {360, 1280}) {
        const std::string w = std::to_string(width);
        auto first = std::async(std::launch::async, Render, a, width, scratch + "a" + w + ".png");
        const bool second = Render(b, width, scratch + "b" + w + ".png");
        if (!first.get() || !second) {
            ADD_FAILURE() << "Chromium could not render " << a;
            return false;
        }
        if (ReadFile(scratch + "a" + w + ".png") != ReadFile(scratch + "b" + w + ".png")) {
            ADD_FAILURE() << b << " renders differently at " << width << " pixels";
            return false;
        }
    }
    return true;
}

TEST(LibreOfficeCompaction, PagesOfEverySampleDocumentStaySoundAndGetSmaller) {
    ASSERT_EQ(std::system("command -v chromium >/dev/null"), 0) << "Chromium is not installed";
    TempFolder out;
    WriteFile(out / "features.rtf", FeaturesRtf());
    std::vector<std::string> sources = {out / "features.rtf"};
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
        options.keepPictureFolder = true;
        const std::string name = fs::path(source).stem().string() + ".htm";
        if (!ConvertDocument(session.get(), source, out / ("plain/" + name), options).Converted()) {
            continue; // a damaged or empty document makes no page
        }
        options.compact = true;
        const ConversionResult compacted =
            ConvertDocument(session.get(), source, out / ("small/" + name), options);
        ASSERT_TRUE(compacted.Converted()) << compacted.line;
        const std::string page = ReadFile(out / ("plain/" + name));
        const std::string small = ReadFile(out / ("small/" + name));
        SCOPED_TRACE(source);
        ASSERT_TRUE(IsLibreOfficePage(page));
        const PageOutline from = OutlineOf(page);
        const PageOutline to = OutlineOf(small);
        EXPECT_EQ(to.words, from.words);
        EXPECT_EQ(to.structure, from.structure);
        EXPECT_EQ(to.targets, from.targets);
        EXPECT_LT(small.size(), page.size());
        RendersAlike(out / ("plain/" + name), out / ("small/" + name), out / "shot");
        before += page.size();
        after += small.size();
        ++pages;
    }
    EndSession(session);
    // Of the ten sample documents, the empty, the damaged and the crashing ones may
    // make no page.
    EXPECT_GE(pages, 7);
    const double ratio = static_cast<double>(after) / static_cast<double>(before);
    std::cout << "  " << pages << " pages: " << before << " -> " << after << " bytes, ratio "
              << ratio << "\n";
    EXPECT_LT(ratio, 0.8);
}

} // namespace
} // namespace pelmora::test
