// The main window's ten-button toolbar: a full refresh (layout and every button) against the
// repaint of the one button the mouse has just entered. The hover repaint has to be at
// least ten times cheaper than the full refresh.
#include "bench/BenchApplication.h"
#include "controls/toolbar/ToolBar.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

using pelmora::ToolBar;

QApplication& app() {
    return pelmora::bench::BenchApplication("toolbar_bench");
}

std::unique_ptr<ToolBar> MainToolbar() {
    app();
    auto tb = std::make_unique<ToolBar>();
    tb->setGeometry(20, 20, 640, 58);
    tb->LoadDesignFile(QStringLiteral(":/toolbar/main_toolbar.json"));
    tb->show();
    QCoreApplication::processEvents();
    return tb;
}

void BM_FullRefresh(benchmark::State& state) {
    auto tb = MainToolbar();
    for (auto _ : state)
        tb->Refresh();
    state.SetLabel("ten buttons, layout and paint");
}
BENCHMARK(BM_FullRefresh)->Unit(benchmark::kMicrosecond);

void BM_HoverRepaint(benchmark::State& state) {
    auto tb = MainToolbar();
    // The "Convert" button drawn hot, as when the mouse enters it.
    for (auto _ : state)
        tb->RefreshButton(5, false, false);
    state.SetLabel("one button, hot look");
}
BENCHMARK(BM_HoverRepaint)->Unit(benchmark::kMicrosecond);

} // namespace
