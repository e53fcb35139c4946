// Compaction speed on a Word-style page (about 8 MB with 100,000 styled spans and
// conditional blocks) and on a LibreOffice-style page (about 8 MB of paragraphs with
// font tags, styled and language spans, office meta tags and indented lines). Prints
// MB/s of page text and how much of the page was cut.

#include "engine/Compaction.h"

#include <benchmark/benchmark.h>
#include <string>

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

void CompactPage(benchmark::State& state, const std::string& original) {
    int yields = 0;
    std::size_t compacted = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::string page = original;
        state.ResumeTiming();
        pelmora::CompactHtmlText(page, [&yields] { ++yields; });
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

void BM_CompactWordPage(benchmark::State& state) {
    CompactPage(state, WordStylePage());
}
BENCHMARK(BM_CompactWordPage)->Unit(benchmark::kMillisecond);

void BM_CompactLibreOfficePage(benchmark::State& state) {
    CompactPage(state, LibreOfficeStylePage());
}
BENCHMARK(BM_CompactLibreOfficePage)->Unit(benchmark::kMillisecond);

} // namespace
