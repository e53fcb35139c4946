// The popup menu window: rows and size, clicks, submenus, painting and closing.
#include "controls/menu/MenuDrawing.h"
#include "tests/controls/menu/MenuTestSupport.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace pelmora {
namespace {

using namespace menutest;

// Tools: Run, -, Stop (disabled), More > (Sub A, Sub B), Hidden (with a deeper child), Last.
struct ToolsMenu : BarWindow {
    int tools, run, sep, stop, more, subA, subB, hidden, hiddenChild, last;
    explicit ToolsMenu(int style = 0, int highLight = 1) : BarWindow(style) {
        bar->SetHighLightStyle(highLight);
        AddRows({{&tools, "mnuTools", 0, "Tools"},
                 {&run, "mnuRun", 1, "Run", "Run it"},
                 {&sep, "mnuSep", 1, "-", "separator text"},
                 {.index = &stop,
                  .name = "mnuStop",
                  .ident = 1,
                  .caption = "Stop",
                  .description = "Stop it",
                  .enabled = false},
                 {&more, "mnuMore", 1, "More"},
                 {&subA, "mnuSubA", 2, "Sub A"},
                 {&subB, "mnuSubB", 2, "Sub B"},
                 {.index = &hidden,
                  .name = "mnuHidden",
                  .ident = 1,
                  .caption = "Hidden",
                  .visible = false},
                 {&hiddenChild, "mnuUnder", 2, "Under hidden"},
                 {&last, "mnuLast", 1, "Last"}});
        Show();
    }
    PopupMenu* Open() {
        Press(bar, Centre(tools));
        return bar->Popup();
    }
};

TEST(PopupMenuLayout, RowsStackUnderHalfTheMarginAndTheWindowFitsThem) {
    for (int style = 0; style <= 3; ++style) {
        ToolsMenu m(style);
        PopupMenu* p = m.Open();
        ASSERT_NE(p, nullptr);
        // Hidden items and the items under them are not listed.
        EXPECT_EQ(p->Items(), (std::vector<int>{m.run, m.sep, m.stop, m.more, m.last}));
        const QFontMetrics fm(p->font());
        const int rowHeight = fm.height() + 6;
        int widest = 0;
        for (int i : p->Items()) {
            widest = std::max(widest, fm.horizontalAdvance(p->MenuTree()->Item(i).Caption()) + 35);
        }
        const int top = style == 3 ? 0 : 4;
        int y = top;
        for (int i : p->Items()) {
            const QRect it = p->Geometry().Cell(i);
            EXPECT_EQ(it.left(), 3);
            EXPECT_EQ(it.top(), y);
            EXPECT_EQ(it.right(), widest + 27);
            EXPECT_EQ(it.bottom(), y + rowHeight);
            EXPECT_EQ(p->Geometry().TextAt(i), QPointF(30, y + 2));
            y += rowHeight;
        }
        EXPECT_EQ(p->width(), widest + 30) << style;
        EXPECT_EQ(p->height(), y + top) << style;
        EXPECT_EQ(p->OwnerWidth(),
                  m.bar->Geometry().Cell(m.tools).right() - m.bar->Geometry().Cell(m.tools).left());
        // The first-level popup uses the bar's font.
        EXPECT_EQ(p->font().family(), m.bar->ItemsFont().family());
    }
}

TEST(PopupMenuLayout, AnEmptyPopupIsEightPixelsHighOrNoneInStyleThree) {
    for (int style = 0; style <= 3; ++style) {
        BarWindow w(style);
        const int lone = w.Add(Item("lone", 0, "Lone"));
        w.Add(Item("next", 0, "Next"));
        w.Show();
        w.bar->ShowMenu(lone);
        ASSERT_NE(w.bar->Popup(), nullptr);
        EXPECT_TRUE(w.bar->Popup()->Items().empty());
        EXPECT_EQ(w.bar->Popup()->height(), style == 3 ? 0 : 8) << style;
        EXPECT_EQ(w.bar->Popup()->width(), 30);
    }
}

TEST(PopupMenuClicks, SeparatorsAndDisabledItemsTakeNoClickAndNoHighlight) {
    ToolsMenu m;
    QSignalSpy clicks(m.bar, &MenuBar::ItemClick);
    QSignalSpy descriptions(m.bar, &MenuBar::ItemDescription);
    PopupMenu* p = m.Open();
    ASSERT_NE(p, nullptr);
    const QImage before = p->Surface().copy();
    Move(p, RowCentre(p, m.sep));
    Move(p, RowCentre(p, m.stop));
    EXPECT_EQ(p->Surface(), before);
    ASSERT_GE(descriptions.count(), 2);
    EXPECT_EQ(descriptions.at(descriptions.count() - 2).at(0).toString(), "separator text");
    EXPECT_EQ(descriptions.last().at(0).toString(), "Stop it");
    Press(p, RowCentre(p, m.sep));
    Press(p, RowCentre(p, m.stop));
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(m.bar->Popup(), p);
    EXPECT_TRUE(p->isVisible());
    // An enabled item is highlighted (solid bar in the highlight colour).
    Move(p, RowCentre(p, m.run));
    EXPECT_NE(p->Surface(), before);
    const QRect run = p->Geometry().Cell(m.run);
    EXPECT_EQ(p->Surface().pixelColor(run.left() + 2, run.top() + 2), MenuColor(0x80000003));
}

TEST(PopupMenuClicks, ARootClickedTwiceOpensThenClosesItsSubmenu) {
    ToolsMenu m;
    PopupMenu* p = m.Open();
    ASSERT_NE(p, nullptr);
    Press(p, RowCentre(p, m.more));
    PopupMenu* sub = p->ChildPopup();
    ASSERT_NE(sub, nullptr);
    EXPECT_TRUE(p->MenuOpen());
    EXPECT_TRUE(p->MenuTree()->Item(m.more).Expanded());
    EXPECT_EQ(sub->Items(), (std::vector<int>{m.subA, m.subB}));
    EXPECT_EQ(sub->OwnerWidth(), 0);
    // Beside the popup: the row's left plus right, level with the row.
    const QRect more = p->Geometry().Cell(m.more);
    EXPECT_EQ(sub->geometry().topLeft(),
              p->mapToGlobal(QPoint(more.left() + more.right(), more.top())));
    Press(p, RowCentre(p, m.more));
    EXPECT_EQ(p->ChildPopup(), nullptr);
    EXPECT_FALSE(p->MenuOpen());
    EXPECT_FALSE(p->MenuTree()->Item(m.more).Expanded());
    EXPECT_EQ(m.bar->Popup(), p);
    Press(p, RowCentre(p, m.more));
    EXPECT_NE(p->ChildPopup(), nullptr);
}

TEST(PopupMenuClicks, AClickInASubmenuReachesTheBarAndClosesEveryPopup) {
    ToolsMenu m;
    QSignalSpy clicks(m.bar, &MenuBar::ItemClick);
    QSignalSpy descriptions(m.bar, &MenuBar::ItemDescription);
    PopupMenu* p = m.Open();
    Press(p, RowCentre(p, m.more));
    PopupMenu* sub = p->ChildPopup();
    ASSERT_NE(sub, nullptr);
    Move(sub, RowCentre(sub, m.subB));
    Press(sub, RowCentre(sub, m.subB));
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toString(), "mnuSubB");
    EXPECT_EQ(m.bar->Popup(), nullptr);
    EXPECT_FALSE(m.bar->MenuOpen());
    Settle();
    EXPECT_EQ(VisiblePopups(), 0);
    for (const MenuItem& it : m.bar->MenuTree()) {
        EXPECT_FALSE(it.Expanded()) << it.Name().toStdString();
    }
}

TEST(PopupMenuClicks, HoverNeverOpensASubmenuAndARightClickClosesThePopup) {
    ToolsMenu m;
    PopupMenu* p = m.Open();
    Move(p, RowCentre(p, m.more));
    EXPECT_EQ(p->HotItem(), m.more);
    EXPECT_EQ(p->ChildPopup(), nullptr);
    Press(p, RowCentre(p, m.run), Qt::RightButton);
    EXPECT_EQ(m.bar->Popup(), nullptr);
    EXPECT_FALSE(m.bar->MenuOpen());
}

TEST(PopupMenuClosing, ActivatingAnotherWindowClosesTheWholeChain) {
    ToolsMenu m;
    PopupMenu* p = m.Open();
    Press(p, RowCentre(p, m.more));
    ASSERT_NE(p->ChildPopup(), nullptr);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return QApplication::activeWindow() == p->ChildPopup(); }, 1000));
    QWidget other;
    other.setGeometry(600, 400, 50, 50);
    other.show();
    other.activateWindow();
    EXPECT_TRUE(QTest::qWaitFor([&] { return m.bar->Popup() == nullptr; }, 2000));
    Settle();
    EXPECT_EQ(VisiblePopups(), 0);
    EXPECT_EQ(QApplication::activeWindow(), &other); // not taken back by the bar
}

// The window system's double click is a press, a release, a double click and a release; the
// double click counts as a second press. Closing the window unloads it like a right click.
TEST(PopupMenuClosing, ADoubleClickedRootClosesItsSubmenuAndClosingTheWindowUnloadsIt) {
    ToolsMenu m;
    PopupMenu* p = m.Open();
    Press(p, RowCentre(p, m.more));
    ASSERT_NE(p->ChildPopup(), nullptr);
    SendMouse(p, QEvent::MouseButtonDblClick, RowCentre(p, m.more), Qt::LeftButton, Qt::LeftButton);
    SendMouse(p, QEvent::MouseButtonRelease, RowCentre(p, m.more), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(p->ChildPopup(), nullptr);
    EXPECT_FALSE(m.bar->MenuTree().Item(m.more).Expanded());

    EXPECT_TRUE(p->close());
    EXPECT_TRUE(p->IsUnloaded());
    EXPECT_EQ(m.bar->Popup(), nullptr);
    EXPECT_FALSE(m.bar->MenuOpen());
    Settle();
    EXPECT_EQ(VisiblePopups(), 0);
}

TEST(PopupMenuPlacement, APopupPastTheScreenEdgeIsMovedBackAndSubmenusOpenLeft) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    ToolsMenu m;
    m.window->move(screen.right() - 60, screen.bottom() - 40);
    QCoreApplication::processEvents();
    PopupMenu* p = m.Open();
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(screen.contains(p->geometry())) << p->geometry().x() << "," << p->geometry().y();
    Press(p, RowCentre(p, m.more));
    PopupMenu* sub = p->ChildPopup();
    ASSERT_NE(sub, nullptr);
    EXPECT_TRUE(screen.contains(sub->geometry()));
    EXPECT_LE(sub->geometry().right(), p->geometry().left());
}

TEST(PopupMenuPaint, TheAccessKeyLetterIsUnderlinedAndATrailingAmpersandDropped) {
    QImage img(120, 30, QImage::Format_RGB32);
    QFont f("DejaVu Sans");
    f.setPixelSize(14);
    const QFontMetrics fm(f);
    const int lineY = 5 + fm.height() - 1;
    auto underlined = [&](const QString& caption) {
        img.fill(Qt::white);
        QPainter p(&img);
        p.setFont(f);
        DrawMenuCaption(p, 10, 5, caption, Qt::black);
        std::vector<int> xs;
        for (int x = 0; x < img.width(); ++x) {
            if (img.pixelColor(x, lineY) == QColor(Qt::black)) {
                xs.push_back(x);
            }
        }
        return xs;
    };
    const std::vector<int> xs = underlined("E&xit");
    ASSERT_FALSE(xs.empty());
    const int from = 10 + fm.horizontalAdvance("E");
    EXPECT_EQ(xs.front(), from);
    EXPECT_EQ(xs.back(), from + fm.horizontalAdvance("x") - 1);
    EXPECT_EQ(xs.size(), static_cast<size_t>(fm.horizontalAdvance("x")));
    EXPECT_TRUE(underlined("Exit&").empty());
    EXPECT_TRUE(underlined("Exit").empty());
    EXPECT_EQ(PrintedCaption("Exit&"), "Exit");
    EXPECT_EQ(PrintedCaption("E&xit"), "Exit");
    // "Exit&" prints exactly as "Exit" does.
    auto render = [&](const QString& caption) {
        img.fill(Qt::white);
        QPainter p(&img);
        p.setFont(f);
        DrawMenuCaption(p, 10, 5, caption, Qt::black);
        p.end();
        return img.copy();
    };
    EXPECT_EQ(render("Exit&"), render("Exit"));
}

TEST(PopupMenuPaint, StyleTwoLeavesTransparentGapsBetweenRows) {
    ToolsMenu m(2);
    PopupMenu* p = m.Open();
    ASSERT_NE(p, nullptr);
    const QRegion mask = p->mask();
    ASSERT_FALSE(mask.isEmpty());
    const QRect run = p->Geometry().Cell(m.run);
    const QRect sep = p->Geometry().Cell(m.sep);
    EXPECT_TRUE(mask.contains(RowCentre(p, m.run)));
    EXPECT_TRUE(mask.contains(RowCentre(p, m.sep)));
    EXPECT_FALSE(mask.contains(QPoint(20, run.bottom())));
    EXPECT_FALSE(mask.contains(QPoint(20, sep.top())));
    EXPECT_FALSE(mask.contains(QPoint(20, 0)));
    ToolsMenu plain(1);
    EXPECT_TRUE(plain.Open()->mask().isEmpty());
}

TEST(PopupMenuPaint, ACheckedItemShowsTheTickInsteadOfItsPictureWhileHighlighted) {
    ToolsMenu m(1, 1);
    MenuItem& run = m.bar->MenuTree().Item(m.run);
    QImage red(16, 16, QImage::Format_RGB32);
    red.fill(Qt::red);
    run.SetAPicture(OlePicture::bitmap(red));
    run.SetUseMaskColor(false);
    run.SetChecked(true);
    PopupMenu* p = m.Open();
    ASSERT_NE(p, nullptr);
    auto redPixels = [&] {
        const QRect row = p->Geometry().Cell(m.run);
        int n = 0;
        for (int y = row.top(); y <= row.bottom(); ++y) {
            for (int x = row.left(); x < row.left() + 20; ++x) {
                n += p->Surface().pixelColor(x, y) == QColor(Qt::red);
            }
        }
        return n;
    };
    EXPECT_GT(redPixels(), 100); // normal: picture and tick
    Move(p, RowCentre(p, m.run));
    EXPECT_EQ(redPixels(), 0); // highlighted: the tick alone
}

TEST(PopupMenuPaint, EveryStyleAndHighlightPaintsItsRows) {
    for (int style = 0; style <= 3; ++style) {
        for (int hl = 0; hl <= 5; ++hl) {
            ToolsMenu m(style, hl);
            PopupMenu* p = m.Open();
            ASSERT_NE(p, nullptr);
            const QImage normal = p->Surface().copy();
            Move(p, RowCentre(p, m.run));
            EXPECT_NE(p->Surface(), normal) << style << "/" << hl;
            Move(p, RowCentre(p, m.last));
            // Leaving the row restores its normal look.
            const QRect run = p->Geometry().Cell(m.run);
            const QRect row(QPoint(run.left(), run.top() + 1),
                            QPoint(run.right(), run.bottom() - 1));
            EXPECT_EQ(p->Surface().copy(row), normal.copy(row)) << style << "/" << hl;
        }
    }
}

} // namespace
} // namespace pelmora
