// Opening the main window's largest popup menu and moving its highlight by one item; both
// have to stay well under one frame (16 ms).
#include "bench/BenchApplication.h"
#include "controls/menu/MenuBar.h"
#include "controls/menu/MenuGeometry.h"
#include "controls/menu/PopupMenu.h"

#include <QApplication>
#include <QMouseEvent>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

using pelmora::MenuBar;
using pelmora::MenuItem;
using pelmora::PopupMenu;

QApplication& app() {
    return pelmora::bench::BenchApplication("menu_bench");
}

struct MainBar {
    QApplication& application = app();
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    MenuBar* bar = new MenuBar(window.get());
    MainBar() {
        bar->LoadDesign(":/menu/main_menu.json");
        window->setGeometry(20, 20, 420, 200);
        bar->setGeometry(0, 0, 420, 24);
        window->show();
        QCoreApplication::processEvents();
    }
    // The bar item with the most children.
    int Largest() const {
        int best = 0, bestCount = -1;
        const auto& tree = bar->MenuTree();
        for (int i = 1; i <= tree.Count(); ++i) {
            if (tree.Item(i).Ident() != 0)
                continue;
            int n = 0;
            for (int j = i + 1; j <= tree.Count() && tree.Item(j).Ident() > 0; ++j)
                ++n;
            if (n > bestCount) {
                best = i;
                bestCount = n;
            }
        }
        return best;
    }
};

void move(PopupMenu* popup, int index) {
    const QRect cell = popup->Geometry().Cell(index);
    const QPointF pos((cell.left() + cell.right()) / 2.0, (cell.top() + cell.bottom()) / 2.0);
    QMouseEvent e(QEvent::MouseMove, pos, popup->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                  Qt::NoModifier);
    QApplication::sendEvent(popup, &e);
}

void BM_OpenLargestMainPopup(benchmark::State& state) {
    MainBar m;
    const int index = m.Largest();
    for (auto _ : state) {
        m.bar->ShowMenu(index); // fill, size, show and first paint
        benchmark::DoNotOptimize(m.bar->Popup()->Surface().constBits());
        state.PauseTiming();
        m.bar->CloseOpenMenu();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenLargestMainPopup)->Unit(benchmark::kMicrosecond);

void BM_MoveHighlightOneItem(benchmark::State& state) {
    MainBar m;
    m.bar->ShowMenu(m.Largest());
    PopupMenu* popup = m.bar->Popup();
    const int a = popup->Items().at(0);
    const int b = popup->Items().at(1);
    bool flip = false;
    for (auto _ : state) {
        move(popup, flip ? a : b);
        flip = !flip;
    }
}
BENCHMARK(BM_MoveHighlightOneItem)->Unit(benchmark::kMicrosecond);

void BM_OpenPopupOfFiveHundredItems(benchmark::State& state) {
    app();
    QWidget window;
    auto* bar = new MenuBar(&window);
    MenuItem root;
    root.SetCaption("Many");
    bar->MenuTree().Add(root);
    for (int i = 0; i < 500; ++i) {
        MenuItem item;
        item.SetIdent(1);
        item.SetCaption(QString("Item number %1").arg(i));
        bar->MenuTree().Add(item);
    }
    window.setGeometry(20, 20, 300, 100);
    bar->setGeometry(0, 0, 300, 24);
    window.show();
    bar->Refresh();
    for (auto _ : state) {
        bar->ShowMenu(1);
        benchmark::DoNotOptimize(bar->Popup()->Surface().constBits());
        state.PauseTiming();
        bar->CloseOpenMenu();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenPopupOfFiveHundredItems)->Unit(benchmark::kMicrosecond);

} // namespace
