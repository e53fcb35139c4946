// Compaction speed on a Word-style page: about 8 MB with 100,000 styled spans and
// conditional blocks. Prints MB/s of page text.

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

void BM_CompactWordPage(benchmark::State& state) {
    const std::string original = WordStylePage();
    int yields = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::string page = original;
        state.ResumeTiming();
        pelmora::CompactHtmlText(page, [&yields] { ++yields; });
        benchmark::DoNotOptimize(page.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(original.size()));
    state.counters["MB/s"] = benchmark::Counter(static_cast<double>(original.size()) / 1e6 *
                                                    static_cast<double>(state.iterations()),
                                                benchmark::Counter::kIsRate);
    state.counters["page_MB"] = static_cast<double>(original.size()) / 1e6;
}
BENCHMARK(BM_CompactWordPage)->Unit(benchmark::kMillisecond);

} // namespace
