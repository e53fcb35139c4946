// Compaction speed on a Word-style page (about 8 MB with 100,000 styled spans and
// conditional blocks), on a LibreOffice-style page (about 8 MB of paragraphs with
// font tags, styled and language spans, office meta tags and indented lines), on a
// LibreOffice page whose body holds 100,000 elements side by side, and on the real
// pages LibreOffice makes of the sample documents and of a long made-up document.
// Prints MB/s of page text and how much of the page was cut. How fast the real pages
// are only read into a tree is the ceiling the parser sets.

#include "engine/Compaction.h"
#include "engine/Conversion.h"
#include "engine/HtmlDocument.h"
#include "engine/libreoffice/LibreOfficeConverter.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string WordStylePage() {
    std::string page =
        "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\"\r\n"
        "xmlns:x=\"urn:schemas-microsoft-com:office:word\"\r\n"
        "xmlns=\"http://www.w3.org/TR/REC-html40\">\r\n\r\n<head>\r\n"
        "<meta name=ProgId content=Word.Document>\r\n"
        "<meta name=Generator content=\"Microsoft Word 9\">\r\n"
        "<meta name=Originator content=\"Microsoft Word 9\">\r\n"
        "<link rel=Edit-Time-Data href=\"page_files/editdata.mso\">\r\n"
        "<!--[if gte mso 9]><xml>\r\n <o:DocumentProperties>\r\n  <o:Author>A</o:Author>\r\n"
        " </o:DocumentProperties>\r\n</xml><![endif]-->\r\n</head>\r\n<body lang=EN-US>\r\n";
    // Two spans a paragraph, as Word writes them: 100,000 spans in about 8 MB.
    for (int i = 0; i < 50'000; ++i) {
        page += "<p class=MsoNormal><span style='font-size:12.0pt;font-family:\"Times New "
                "Roman\"'>Paragraph text with    some spaces</span> <span "
                "lang=DE>Wort</span>  </p>\r\n\r\n";
        if (i % 50 == 0) {
            page += "<!--[if gte vml 1]><v:shape id=\"s" + std::to_string(i) +
                    "\" style='width:10pt'><v:imagedata src=\"page_files/image.png\"/>"
                    "</v:shape><![endif]--><![if !vml]><img src=\"page_files/image.gif\">"
                    "<![endif]>\r\n";
        }
        if (i % 500 == 0) {
            page += "<![if supportMisalignedColumns]><tr height=0><td width=64></td></tr>"
                    "<![endif]>\r\n";
        }
    }
    return page + "</body>\r\n</html>\r\n";
}

// As LibreOffice writes its pages: a head with office meta tags and a style sheet,
// then paragraphs with per-run font tags and spans, line-wrapped and indented.
std::string LibreOfficeStylePage() {
    std::string page =
        "<!DOCTYPE html>\n<html>\n<head>\n"
        "\t<meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\"/>\n"
        "\t<title>Sample documents</title>\n"
        "\t<meta name=\"generator\" content=\"LibreOffice 7.4.7.2 (Linux)\"/>\n"
        "\t<meta name=\"author\" content=\"John Greer\"/>\n"
        "\t<meta name=\"created\" content=\"2006-04-23T08:06:00\"/>\n"
        "\t<meta name=\"changed\" content=\"2006-04-27T04:48:00\"/>\n"
        "\t<style type=\"text/css\">\n"
        "\t\tp { color: #000000; line-height: 115%; margin-bottom: 0.1in }\n"
        "\t\tp.western { font-family: \"Times New Roman\", serif; font-size: 12pt }\n"
        "\t</style>\n</head>\n<body lang=\"en-US\" dir=\"ltr\">\n";
    for (int i = 0; page.size() < 8'000'000; ++i) {
        page += "<p class=\"western\" style=\"line-height: 100%; margin-bottom: 0in\">"
                "<font face=\"Arial, sans-serif\"><font size=\"2\" style=\"font-size: 10pt\">"
                "Paragraph text in a font,\nwrapped as LibreOffice wraps its lines, "
                "<span style=\"font-variant: small-caps\">small caps</span>\nand "
                "<span lang=\"de-DE\">ein Wort</span>.</font></font></p>\n";
        if (i % 20 == 0) {
            page += "<table width=\"100%\" cellpadding=\"4\" cellspacing=\"0\">\n"
                    "\t<tr valign=\"top\">\n\t\t<td width=\"50%\">\n"
                    "\t\t\t<p class=\"western\"><font color=\"#ff0000\">red</font></p>\n"
                    "\t\t</td>\n\t\t<td width=\"50%\"><pre>  kept   as it is  </pre></td>\n"
                    "\t</tr>\n</table>\n";
        }
    }
    return page + "</body>\n</html>\n";
}

// A LibreOffice page as wide as it gets: 100,000 office fields and comments side by
// side in the body, each replaced by its content or taken out (about 4 MB).
std::string WideLibreOfficePage() {
    std::string page = "<!DOCTYPE html>\n<html>\n<head>\n"
                       "\t<meta name=\"generator\" content=\"LibreOffice 7.4.7.2 (Linux)\"/>\n"
                       "</head>\n<body>\n";
    for (int i = 0; i < 100'000; ++i) {
        page += "<sdfield type=PAGE>" + std::to_string(i) + "</sdfield><!--c-->\n";
    }
    return page + "</body>\n</html>\n";
}

// The made-up pages, made once for every run of every benchmark.
const std::string& WordPage() {
    static const std::string page = WordStylePage();
    return page;
}

const std::string& LibreOfficePage() {
    static const std::string page = LibreOfficeStylePage();
    return page;
}

const std::string& WidePage() {
    static const std::string page = WideLibreOfficePage();
    return page;
}

void CompactPage(benchmark::State& state, const std::string& original) {
    std::size_t compacted = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::string page = original;
        state.ResumeTiming();
        pelmora::CompactHtmlText(page);
        benchmark::DoNotOptimize(page.data());
        compacted = page.size();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(original.size()));
    state.counters["MB/s"] = benchmark::Counter(static_cast<double>(original.size()) / 1e6 *
                                                    static_cast<double>(state.iterations()),
                                                benchmark::Counter::kIsRate);
    state.counters["page_MB"] = static_cast<double>(original.size()) / 1e6;
    state.counters["saved_%"] = 100.0 * static_cast<double>(original.size() - compacted) /
                                static_cast<double>(original.size());
}

// A long document as people write them: headings, paragraphs with runs in several
// fonts, sizes and colours, lists and bordered tables.
std::string LongRtf() {
    std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}{\\f1 Arial;}"
                      "{\\f2 Courier New;}}{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0"
                      "\\blue255;}\\f0\\fs24 ";
    const std::string cell = "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb"
                             "\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10";
    for (int i = 0; i < 1500; ++i) {
        if (i % 50 == 0) {
            rtf += "{\\pard\\outlinelevel0\\b\\fs32 Chapter " + std::to_string(i / 50) + "\\par}";
        }
        rtf += "{\\pard\\qj Paragraph " + std::to_string(i) +
               " with {\\f1\\fs20 Arial ten}, {\\cf1 red}, {\\b bold {\\i italic}} and "
               "{\\cf2\\f2 blue mono} runs, and plain text long enough to wrap over lines."
               "\\par}";
        if (i % 10 == 0) {
            rtf += "{\\pard\\fi-360\\li720{\\pntext\\f0 \\u8226?\\tab}{\\*\\pn\\pnlvlblt"
                   "\\pnf0\\pnindent360{\\pntxtb\\u8226?}}A point {\\cf1 in red}\\par}";
        }
        if (i % 25 == 0) {
            for (int row = 0; row < 3; ++row) {
                rtf += "\\trowd\\trgaph108" + cell + "\\cellx3000" + cell +
                       "\\cellx6000\\pard\\intbl Cell {\\b one}\\cell\\pard\\intbl\\qr 42"
                       "\\cell\\row";
            }
        }
    }
    return rtf + "}";
}

// The pages the real converter makes of the readable samples and of LongRtf(), made
// once; empty when the converter cannot be started.
const std::vector<std::string>& RealPages() {
    static const std::vector<std::string> pages = [] {
        namespace fs = std::filesystem;
        std::vector<std::string> made;
        pelmora::LibreOfficeConverter converter;
        std::unique_ptr<pelmora::ConverterSession> session = pelmora::StartSession(converter);
        if (!session) {
            return made;
        }
        const fs::path folder =
            fs::temp_directory_path() / ("pelmora-pages-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        std::ofstream(folder / "long.rtf") << LongRtf();
        std::vector<std::string> sources = {(folder / "long.rtf").string()};
        for (const char* name : {"simple.doc", "two_images.doc", "Word95.doc", "table-merges.doc",
                                 "HeaderFooterUnicode.doc", "FloatingPictures.doc"}) {
            sources.push_back(std::string(PELMORA_TEST_DATA "/corpus/") + name);
        }
        for (const std::string& source : sources) {
            const fs::path page = folder / (fs::path(source).stem().string() + ".htm");
            if (pelmora::ConvertDocument(session.get(), source, page.string(), {}).Converted()) {
                std::stringstream text;
                text << std::ifstream(page).rdbuf();
                made.push_back(text.str());
            }
        }
        pelmora::EndSession(session);
        fs::remove_all(folder);
        return made;
    }();
    return pages;
}

// MB/s, the number of pages and their MB, for the real pages; returns their bytes.
std::size_t CountRealPages(benchmark::State& state, const std::vector<std::string>& pages) {
    std::size_t bytes = 0;
    for (const std::string& page : pages) {
        bytes += page.size();
    }
    state.counters["MB/s"] = benchmark::Counter(static_cast<double>(bytes) / 1e6 *
                                                    static_cast<double>(state.iterations()),
                                                benchmark::Counter::kIsRate);
    state.counters["pages"] = static_cast<double>(pages.size());
    state.counters["pages_MB"] = static_cast<double>(bytes) / 1e6;
    return bytes;
}

void BM_CompactRealPages(benchmark::State& state) {
    const std::vector<std::string>& pages = RealPages();
    if (pages.empty()) {
        state.SkipWithError("the converter cannot be started");
        return;
    }
    std::size_t compacted = 0;
    std::vector<std::string> copies;
    for (auto _ : state) {
        state.PauseTiming();
        copies = pages;
        state.ResumeTiming();
        compacted = 0;
        for (std::string& page : copies) {
            pelmora::CompactHtmlText(page, "page");
            benchmark::DoNotOptimize(page.data());
            compacted += page.size();
        }
    }
    const std::size_t bytes = CountRealPages(state, pages);
    state.counters["ratio"] = static_cast<double>(compacted) / static_cast<double>(bytes);
}
BENCHMARK(BM_CompactRealPages)->Unit(benchmark::kMillisecond);

// Only reading the real pages into trees: the HTML5 parser and the copy of its tree.
void BM_ParseRealPages(benchmark::State& state) {
    const std::vector<std::string>& pages = RealPages();
    if (pages.empty()) {
        state.SkipWithError("the converter cannot be started");
        return;
    }
    for (auto _ : state) {
        for (const std::string& page : pages) {
            std::unique_ptr<pelmora::HtmlDocument> document = pelmora::HtmlDocument::Parse(page);
            benchmark::DoNotOptimize(document.get());
        }
    }
    CountRealPages(state, pages);
}
BENCHMARK(BM_ParseRealPages)->Unit(benchmark::kMillisecond);

void BM_CompactWordPage(benchmark::State& state) {
    CompactPage(state, WordPage());
}
BENCHMARK(BM_CompactWordPage)->Unit(benchmark::kMillisecond);

void BM_CompactLibreOfficePage(benchmark::State& state) {
    CompactPage(state, LibreOfficePage());
}
BENCHMARK(BM_CompactLibreOfficePage)->Unit(benchmark::kMillisecond);

void BM_CompactWideLibreOfficePage(benchmark::State& state) {
    CompactPage(state, WidePage());
}
BENCHMARK(BM_CompactWideLibreOfficePage)->Unit(benchmark::kMillisecond);

} // namespace
