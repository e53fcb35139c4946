// How quickly the main window answers while it converts: a timer that wants to fire
// every 10 ms during a run of the sample documents on two offices; its lateness is how
// long an event waited. Goal: median and worst under 50 ms. Counters in milliseconds.
#include "app/ConversionRun.h"
#include "app/MainWindow.h"
#include "app/TaskList.h"
#include "bench/BenchApplication.h"
#include "engine/libreoffice/LibreOfficeConverter.h"
#include "tests/app/ScriptedDesktopSeam.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

QApplication& Application() {
    return pelmora::bench::BenchApplication("window_latency_bench");
}

const std::vector<std::string> kSamples = {
    "simple.doc",       "two_images.doc",          "Word95.doc",
    "table-merges.doc", "HeaderFooterUnicode.doc", "FloatingPictures.doc"};

void BM_EventLatencyDuringATwoOfficeRun(benchmark::State& state) {
    Application();
    pelmora::LibreOfficeConverter converter;
    std::string pattern = (fs::temp_directory_path() / "pelmora-latency-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const fs::path folder = pattern;
    // Each sample twice, so the two offices stay busy for a while.
    std::vector<QString> documents;
    for (int copy = 0; copy < 2; ++copy) {
        for (const std::string& sample : kSamples) {
            const fs::path to = folder / (std::to_string(copy) + "-" + sample);
            fs::copy_file(fs::path(PELMORA_TEST_DATA) / "corpus" / sample, to);
            documents.push_back(QString::fromStdString(to.string()));
        }
    }
    std::vector<double> lateness;
    bool converted = true;
    for (auto _ : state) {
        pelmora::ScriptedDesktopSeam seam;
        pelmora::MainWindow window(seam, converter);
        window.SetMenuItemChecked(QStringLiteral("mnuLogfile"), false);
        window.SetRunSessions(2);
        window.show();
        for (const QString& document : documents) {
            window.AddFile(document);
        }
        window.ChangeFilesState();
        QElapsedTimer sinceTick;
        QTimer ticker;
        ticker.setTimerType(Qt::PreciseTimer);
        ticker.setInterval(10);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            lateness.push_back(std::max<qint64>(0, sinceTick.restart() - 10));
        });
        window.RunConversion();
        sinceTick.start();
        ticker.start();
        QElapsedTimer waited;
        waited.start();
        while (window.run() != nullptr && waited.elapsed() < 600000) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        }
        ticker.stop();
        converted = converted && window.run() == nullptr &&
                    window.PanelText(3) == QStringLiteral("Total %1 Files").arg(documents.size());
        for (int row = 1; row <= window.taskList()->RowCount(); ++row) {
            converted =
                converted && window.taskList()->Row(row)->State() != QStringLiteral("Ready");
        }
    }
    fs::remove_all(folder);
    if (!converted || lateness.empty()) {
        state.SkipWithError("the run did not finish every document");
        return;
    }
    std::sort(lateness.begin(), lateness.end());
    state.counters["median_ms"] = lateness[lateness.size() / 2];
    state.counters["worst_ms"] = lateness.back();
    state.counters["ticks"] = static_cast<double>(lateness.size());
}
BENCHMARK(BM_EventLatencyDuringATwoOfficeRun)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace
