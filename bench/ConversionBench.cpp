// Converting the readable sample documents through one open session, as a batch run
// does. Prints documents per second.

#include "engine/Conversion.h"
#include "engine/libreoffice/LibreOfficeConverter.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Every sample that converts: the protected and the damaged ones are left out.
const std::vector<std::string> kReadable = {
    "simple.doc",       "two_images.doc",          "empty.doc",           "Word95.doc",
    "table-merges.doc", "HeaderFooterUnicode.doc", "FloatingPictures.doc"};

// The real converter's session and a scratch folder for the pages, closed and removed
// when the benchmark ends.
struct BenchSession {
    // false (the benchmark skipped) when the converter or the folder is not there.
    bool Open(benchmark::State& state) {
        session = pelmora::StartSession(converter);
        if (!session) {
            state.SkipWithError("the converter cannot be started");
            return false;
        }
        std::string pattern = (fs::temp_directory_path() / "pelmora-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            pelmora::EndSession(session);
            state.SkipWithError("no temporary folder");
            return false;
        }
        out = pattern;
        // Every iteration writes the same pages again.
        options.overwrite = true;
        return true;
    }
    ~BenchSession() {
        if (!out.empty()) {
            pelmora::EndSession(session);
            fs::remove_all(out);
        }
    }

    pelmora::LibreOfficeConverter converter;
    std::unique_ptr<pelmora::ConverterSession> session;
    std::string out;
    pelmora::DocumentOptions options;
};

void BM_ConvertSamples(benchmark::State& state) {
    BenchSession bench;
    if (!bench.Open(state)) {
        return;
    }
    bench.options.compact = state.range(0) != 0;
    std::int64_t documents = 0;
    for (auto _ : state) {
        for (const std::string& name : kReadable) {
            const pelmora::ConversionResult result =
                pelmora::ConvertDocument(bench.session.get(), PELMORA_TEST_DATA "/corpus/" + name,
                                         bench.out + "/" + name + ".htm", bench.options);
            if (!result.Converted()) {
                state.SkipWithError(result.line.c_str());
                break;
            }
            ++documents;
        }
    }
    state.counters["docs/s"] =
        benchmark::Counter(static_cast<double>(documents), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ConvertSamples)
    ->ArgName("compress")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(5.0);

// A protected document opened after range(0) wrong passwords: the difference between
// the two arguments, divided by the wrong tries, is what one wrong try costs.
void BM_PasswordTries(benchmark::State& state) {
    BenchSession bench;
    if (!bench.Open(state)) {
        return;
    }
    bench.options.password = "wrong";
    for (std::int64_t i = 1; i < state.range(0); ++i) {
        bench.options.otherPasswords.push_back("wrong " + std::to_string(i));
    }
    bench.options.otherPasswords.push_back("password");
    for (auto _ : state) {
        const pelmora::ConversionResult result = pelmora::ConvertDocument(
            bench.session.get(), PELMORA_TEST_DATA "/corpus/password_password_cryptoapi.doc",
            bench.out + "/secret.htm", bench.options);
        if (!result.Converted()) {
            state.SkipWithError(result.line.c_str());
            break;
        }
    }
    state.counters["wrong tries"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_PasswordTries)
    ->ArgName("wrong")
    ->Arg(1)
    ->Arg(11)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3.0);

} // namespace
