// The LibreOffice converter session alone, without the conversion steps around it:
// the readable files of the test corpus (all that open without a password), each
// opened, saved as a page with its pictures, and closed. Prints documents per
// second; the office's start is measured on its own.

#include "engine/libreoffice/LibreOfficeSession.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

void Convert(pelmora::ConverterSession& app, const std::string& source, const std::string& folder) {
    auto document = app.Open(source, " ");
    document->SaveAsPage(folder + "/", fs::path(source).stem().string() + ".htm");
    document->Close();
}

void BM_SessionCallsOnTheCorpus(benchmark::State& state) {
    std::string pattern = (fs::temp_directory_path() / "pelmora-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        state.SkipWithError("cannot create an output folder");
        return;
    }
    const std::string out = pattern;
    pelmora::LibreOfficeSession app;
    // The readable documents are those that convert without a password.
    std::vector<std::string> documents;
    for (const auto& entry : fs::directory_iterator(std::string(PELMORA_TEST_DATA) + "/corpus")) {
        const std::string path = entry.path().string();
        if (entry.path().extension() == ".md") {
            continue;
        }
        try {
            Convert(app, path, out);
            documents.push_back(path);
        } catch (const pelmora::ConverterError&) {
        }
    }
    for (auto _ : state) {
        for (const std::string& document : documents) {
            Convert(app, document, out);
        }
    }
    app.Quit();
    fs::remove_all(out);
    state.counters["documents"] = static_cast<double>(documents.size());
    state.counters["docs/s"] = benchmark::Counter(
        static_cast<double>(documents.size() * state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SessionCallsOnTheCorpus)->Unit(benchmark::kMillisecond)->MinTime(5.0)->UseRealTime();

void BM_StartAndQuitTheOffice(benchmark::State& state) {
    for (auto _ : state) {
        pelmora::LibreOfficeSession app;
        app.Quit();
    }
}
BENCHMARK(BM_StartAndQuitTheOffice)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace
