// Searching a large document tree with subfolders, as "pelmora '/tree/*.doc' -s" does.
// Goal: 100,000 files in 1,000 folders in under one second.
#include "cli/Arguments.h"
#include "tests/support/TempFolder.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// 10 x 10 x 10 leaf folders of 100 files each: half ".doc", a quarter ".rtf", a
// quarter ".txt" that no pattern wants. Built once, removed at exit.
struct Tree {
    Tree() {
        for (int a = 0; a < 10; ++a) {
            for (int b = 0; b < 10; ++b) {
                for (int c = 0; c < 10; ++c) {
                    const fs::path leaf = fs::path(folder.Path()) / ("a" + std::to_string(a)) /
                                          ("b" + std::to_string(b)) / ("c" + std::to_string(c));
                    fs::create_directories(leaf);
                    for (int f = 0; f < 100; ++f) {
                        const char* ext = f % 2 == 0 ? ".doc" : (f % 4 == 1 ? ".rtf" : ".txt");
                        std::ofstream(leaf / ("document" + std::to_string(f) + ext));
                    }
                }
            }
        }
    }

    pelmora::test::TempFolder folder;
};

const std::string& TreeRoot() {
    static const Tree tree;
    return tree.folder.Path();
}

void RunSearch(benchmark::State& state, const std::string& pattern, std::size_t expected) {
    const std::string argument = TreeRoot() + "/" + pattern;
    const char* argv[] = {"pelmora", argument.c_str(), "-s"};
    const pelmora::CommandLineArguments arguments(3, argv);
    for (auto _ : state) {
        std::vector<std::string> files;
        arguments.ExpandFileList(files, true);
        if (files.size() != expected) {
            state.SkipWithError("wrong number of files found");
            break;
        }
        benchmark::DoNotOptimize(files.data());
    }
    state.counters["files"] = static_cast<double>(expected);
}

void BM_SearchTreeWithSubfolders(benchmark::State& state) {
    RunSearch(state, "*.doc", 50000);
}
BENCHMARK(BM_SearchTreeWithSubfolders)->Unit(benchmark::kMillisecond);

void BM_SearchTreePatternList(benchmark::State& state) {
    RunSearch(state, "*.doc;*.rtf;*.xml", 75000);
}
BENCHMARK(BM_SearchTreePatternList)->Unit(benchmark::kMillisecond);

} // namespace
