// The main window's task list at scale. Goals: adding 10,000 files through AddFiles
// (as the Add Folder dialog does) in under 2 s, and ChangeFilesState over 10,000 rows
// in under 20 ms.
#include "app/MainWindow.h"
#include "tests/app/ScriptedDesktopSeam.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 10000;

QApplication& Application() {
    static int argc = 1;
    static char name[] = "main_window_bench";
    static char* argv[] = {name, nullptr};
    static QApplication* application = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *application;
}

// 10,000 small files in one folder, made once and removed at exit.
class Files {
public:
    Files() {
        std::string pattern = (fs::temp_directory_path() / "pelmora-window-bench-XXXXXX").string();
        root_ = mkdtemp(pattern.data());
        for (int i = 0; i < kFiles; ++i) {
            const std::string path = root_ + "/document" + std::to_string(i) + ".doc";
            std::ofstream(path) << "x";
            paths_.push_back(QString::fromStdString(path));
        }
    }
    ~Files() {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    const std::vector<QString>& Paths() const { return paths_; }

private:
    std::string root_;
    std::vector<QString> paths_;
};

const Files& TheFiles() {
    static const Files files;
    return files;
}

void BM_AddTenThousandFiles(benchmark::State& state) {
    Application();
    pelmora::ScriptedDesktopSeam seam;
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<pelmora::MainWindow>(seam);
        window->show();
        state.ResumeTiming();
        for (const QString& path : TheFiles().Paths()) {
            window->AddFile(path);
        }
        window->ChangeFilesState();
        state.PauseTiming();
        if (window->PanelText(3) != QStringLiteral("Total 10000 Files")) {
            state.SkipWithError("not every file was added");
        }
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AddTenThousandFiles)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ChangeFilesStateOnTenThousandRows(benchmark::State& state) {
    Application();
    pelmora::ScriptedDesktopSeam seam;
    pelmora::MainWindow window(seam);
    window.show();
    for (const QString& path : TheFiles().Paths()) {
        window.AddFile(path);
    }
    for (auto _ : state) {
        window.ChangeFilesState();
    }
    if (window.PanelText(1) != QStringLiteral("10000 Selected file(s)  ")) {
        state.SkipWithError("wrong count");
    }
}
BENCHMARK(BM_ChangeFilesStateOnTenThousandRows)->Unit(benchmark::kMillisecond);

} // namespace
