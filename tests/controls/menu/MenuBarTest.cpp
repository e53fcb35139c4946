// The menu bar: keys, check marks, its cells, clicks and hot tracking along the bar.
#include "tests/controls/menu/MenuTestSupport.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace pelmora {
namespace {

using namespace menutest;

// File (Add, -, Exit), Edit (Undo), hidden View, Empty (no children).
struct SmallMenu : BarWindow {
    int file, add, sep, exit, edit, undo, view, viewItem, empty;
    explicit SmallMenu(int style = 0) : BarWindow(style) {
        AddRows(
            {{&file, "mnuFile", 0, "&File"},
             {&add, "MNUADD", 1, "Add", "Add a file"},
             {&sep, "mnuSep", 1, "-", "a bar"},
             {&exit, "mnuExit", 1, "E&xit"},
             {&edit, "mnuEdit", 0, "Edit"},
             {&undo, "mnuUndo", 1, "Undo"},
             {.index = &view, .name = "mnuView", .ident = 0, .caption = "View", .visible = false},
             {&viewItem, "mnuZoom", 1, "Zoom"},
             {&empty, "mnuEmpty", 0, "Empty"}});
        Show();
    }
};

TEST(MenuBarKeys, NumbersAreIndicesAndNamesIgnoreCase) {
    SmallMenu m;
    EXPECT_EQ(m.bar->KeyToIndex("3"), 3);
    EXPECT_EQ(m.bar->KeyToIndex("500"), 500); // no range check on numbers
    EXPECT_EQ(m.bar->KeyToIndex("mnuadd"), m.add);
    EXPECT_EQ(m.bar->KeyToIndex("MNUEXIT"), m.exit);
    try {
        m.bar->KeyToIndex("mnuNothing");
        FAIL() << "no error raised";
    } catch (const ControlError& e) {
        EXPECT_EQ(e.number(), 35601);
        EXPECT_EQ(e.description(), "Element not found. Key is missing or illegal.");
        EXPECT_TRUE(e.source().endsWith("xMenu:KeyToIndex")) << e.source().toStdString();
    }
    // "0" is no index.
    EXPECT_THROW(m.bar->KeyToIndex("0"), ControlError);
}

TEST(MenuBarKeys, LeadingNumbersAreIndicesAndOverflowRaises6) {
    SmallMenu m;
    EXPECT_EQ(m.bar->KeyToIndex("3abc"), 3);
    EXPECT_EQ(m.bar->KeyToIndex(" 2 "), 2);
    EXPECT_EQ(m.bar->KeyToIndex("-4x"), -4);
    EXPECT_EQ(m.bar->KeyToIndex("32767"), 32767);
    for (const char* key : {"32768", "-32769", "70000", "1e9abc"}) {
        try {
            m.bar->KeyToIndex(key);
            ADD_FAILURE() << "no error for " << key;
        } catch (const ControlError& e) {
            EXPECT_EQ(e.number(), 6) << key;
            EXPECT_EQ(e.description(), "Overflow");
            EXPECT_TRUE(e.source().endsWith("xMenu:KeyToIndex")) << e.source().toStdString();
        }
    }
}

TEST(MenuBarKeys, ItemCheckedReadsAndWritesByName) {
    SmallMenu m;
    EXPECT_FALSE(m.bar->ItemChecked("mnuexit"));
    m.bar->SetItemChecked("MNUEXIT", true);
    EXPECT_TRUE(m.bar->MenuTree().Item(m.exit).Checked());
    EXPECT_TRUE(m.bar->ItemChecked("mnuExit"));
    m.bar->SetItemChecked("nothing", true);
    EXPECT_FALSE(m.bar->ItemChecked("nothing"));
    // Indices are not names here.
    EXPECT_FALSE(m.bar->ItemChecked(QString::number(m.exit)));
}

TEST(MenuBarLayout, OnlyVisibleBarItemsGetCellsSideBySide) {
    SmallMenu m;
    const MenuItemList& t = m.bar->MenuTree();
    const QFontMetrics fm(m.bar->ItemsFont());
    const MenuGeometry& g = m.bar->Geometry();
    const QRect file = g.Cell(m.file);
    EXPECT_EQ(file.left(), 6);
    EXPECT_EQ(file.top(), 2);
    EXPECT_EQ(file.right(), 6 + fm.horizontalAdvance("&File") + 12);
    EXPECT_EQ(file.bottom(), fm.height() + 6);
    EXPECT_EQ(g.TextAt(m.file).x(), 12.0);
    EXPECT_EQ(g.Cell(m.edit).left(), file.right());
    // The hidden bar item takes no room: the next visible item follows Edit directly.
    EXPECT_EQ(g.Cell(m.empty).left(), g.Cell(m.edit).right());
    EXPECT_TRUE(t.Item(m.file).IsRoot());
    EXPECT_FALSE(t.Item(m.empty).IsRoot());

    EXPECT_EQ(m.bar->HitTest(file.left(), file.top()), m.file);
    EXPECT_EQ(m.bar->HitTest(file.right(), file.bottom()), m.file); // shared edge: first wins
    EXPECT_EQ(m.bar->HitTest(2, 10), 0);
    EXPECT_EQ(m.bar->HitTest(0, 0), 0); // hidden item, no stale cell at the origin
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 400; ++x) {
            const int hit = m.bar->HitTest(x, y);
            EXPECT_TRUE(hit == 0 || t.Item(hit).Ident() == 0) << x << "," << y;
            EXPECT_NE(hit, m.view);
        }
    }
}

TEST(MenuBarLayout, AnEmptyDesignGivesAnEmptyBar) {
    BarWindow w;
    w.bar->ReadProperties(QJsonObject{{"ItemCount", 0}});
    w.Show();
    EXPECT_EQ(w.bar->MenuTree().Count(), 0);
    EXPECT_EQ(w.bar->HitTest(10, 10), 0);
    Press(w.bar, {10, 10});
    EXPECT_EQ(w.bar->Popup(), nullptr);
}

TEST(MenuBarClicks, ABarClickOpensAPopupAndNeverRaisesItemClick) {
    SmallMenu m(1);
    QSignalSpy clicks(m.bar, &MenuBar::ItemClick);
    Press(m.bar, m.Centre(m.file));
    ASSERT_NE(m.bar->Popup(), nullptr);
    EXPECT_TRUE(m.bar->MenuOpen());
    EXPECT_TRUE(m.bar->MenuTree().Item(m.file).Expanded());
    EXPECT_EQ(m.bar->Popup()->FilterIndex(), m.file);
    EXPECT_EQ(m.bar->Popup()->Items(), (std::vector<int>{m.add, m.sep, m.exit}));
    // Placed under the item, at its bottom-left corner on the screen.
    const QRect file = m.bar->Geometry().Cell(m.file);
    EXPECT_EQ(m.bar->Popup()->geometry().topLeft(),
              m.bar->mapToGlobal(QPoint(file.left(), file.bottom())));

    // A bar item without children opens an empty popup.
    Press(m.bar, m.Centre(m.file)); // closes
    EXPECT_FALSE(m.bar->MenuOpen());
    EXPECT_EQ(m.bar->Popup(), nullptr);
    Press(m.bar, m.Centre(m.empty));
    ASSERT_NE(m.bar->Popup(), nullptr);
    EXPECT_TRUE(m.bar->Popup()->Items().empty());
    EXPECT_EQ(m.bar->Popup()->height(), 8);
    EXPECT_EQ(clicks.count(), 0);
}

TEST(MenuBarClicks, ALeafClickRaisesItemClickWithTheStoredNameAndClosesTheChain) {
    SmallMenu m;
    QSignalSpy clicks(m.bar, &MenuBar::ItemClick);
    Press(m.bar, m.Centre(m.file));
    PopupMenu* popup = m.bar->Popup();
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == popup; }, 1000));
    Press(popup, RowCentre(popup, m.add));
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toString(), "MNUADD");
    EXPECT_EQ(m.bar->Popup(), nullptr);
    EXPECT_FALSE(m.bar->MenuOpen());
    EXPECT_FALSE(m.bar->MenuTree().Item(m.file).Expanded());
    Settle();
    EXPECT_EQ(VisiblePopups(), 0);
    // The activation the popup held goes back to the bar's window.
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return QApplication::activeWindow() == m.window.get(); }, 1000));
}

TEST(MenuBarHover, MovingAlongTheBarWithAMenuOpenSwitchesMenus) {
    SmallMenu m;
    QSignalSpy descriptions(m.bar, &MenuBar::ItemDescription);
    Move(m.bar, m.Centre(m.file));
    EXPECT_EQ(m.bar->HotItem(), m.file);
    Press(m.bar, m.Centre(m.file));
    QPointer<PopupMenu> first = m.bar->Popup();
    ASSERT_TRUE(first);
    Move(m.bar, m.Centre(m.edit));
    EXPECT_EQ(m.bar->HotItem(), m.edit);
    ASSERT_NE(m.bar->Popup(), nullptr);
    EXPECT_NE(m.bar->Popup(), first.data());
    EXPECT_EQ(m.bar->Popup()->FilterIndex(), m.edit);
    EXPECT_TRUE(m.bar->MenuOpen());
    EXPECT_FALSE(m.bar->MenuTree().Item(m.file).Expanded());
    EXPECT_TRUE(m.bar->MenuTree().Item(m.edit).Expanded());
    Settle();
    EXPECT_FALSE(first);
    EXPECT_EQ(VisiblePopups(), 1);
    // Leaving the bar items while the menu is open changes nothing.
    Move(m.bar, {390, 10});
    EXPECT_EQ(m.bar->HotItem(), m.edit);
    EXPECT_TRUE(m.bar->MenuOpen());
    ASSERT_FALSE(descriptions.isEmpty());
    EXPECT_EQ(descriptions.last().at(0).toString(), "");
}

TEST(MenuBarHover, WithoutAMenuOpenHoverOnlyPaintsAndTheTimerClearsIt) {
    SmallMenu m;
    Move(m.bar, m.Centre(m.edit));
    EXPECT_EQ(m.bar->HotItem(), m.edit);
    EXPECT_EQ(m.bar->Popup(), nullptr);
    QCursor::setPos(m.bar->mapToGlobal(QPoint(200, 150)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return m.bar->HotItem() == 0; }, 1000));
}

TEST(MenuBarPaint, EachStyleShowsNormalHotAndOpenDifferently) {
    for (int style = 0; style <= 3; ++style) {
        SmallMenu m(style);
        const QImage normal = m.bar->Surface().copy();
        Move(m.bar, m.Centre(m.edit));
        const QImage hot = m.bar->Surface().copy();
        Press(m.bar, m.Centre(m.edit));
        const QImage open = m.bar->Surface().copy();
        EXPECT_NE(normal, hot) << style;
        EXPECT_NE(hot, open) << style;
        EXPECT_NE(normal, open) << style;
    }
}

TEST(MenuBarPaint, StyleOneHotCellIsFilledLightGreyInsideAWhiteOutline) {
    SmallMenu m(1);
    Move(m.bar, m.Centre(m.empty));
    const QRect it = m.bar->Geometry().Cell(m.empty);
    const QImage& s = m.bar->Surface();
    EXPECT_EQ(s.pixelColor(it.left(), it.top()), QColor(Qt::white));
    EXPECT_EQ(s.pixelColor(it.left() + 3, it.top() + 3), QColor(220, 220, 220));
    // Open: white top edge, dark-grey bottom edge.
    Press(m.bar, m.Centre(m.empty));
    EXPECT_EQ(s.pixelColor((it.left() + it.right()) / 2, it.top()), QColor(Qt::white));
    EXPECT_EQ(s.pixelColor((it.left() + it.right()) / 2, it.bottom()), QColor(0x80, 0x80, 0x80));
}

TEST(MenuBarErrors, APopupOverAModalWindowRaises35607) {
    SmallMenu m;
    QDialog modal;
    modal.setWindowModality(Qt::ApplicationModal);
    modal.show();
    QCoreApplication::processEvents();
    try {
        m.bar->ShowMenu(m.file);
        FAIL() << "no error raised";
    } catch (const ControlError& e) {
        EXPECT_EQ(e.number(), 35607);
        EXPECT_EQ(e.description(), "Can't show menu on modal forms.");
        EXPECT_TRUE(e.source().endsWith("xMenu:ShowMenu"));
    }
    // A click has no caller to tell: the menu just stays closed.
    Press(m.bar, m.Centre(m.file));
    EXPECT_EQ(m.bar->Popup(), nullptr);
    EXPECT_FALSE(m.bar->MenuOpen());
    modal.close();
}

TEST(MenuBarErrors, IndicesBeyondTheListOpenNothing) {
    SmallMenu m;
    m.bar->ShowMenu(m.bar->KeyToIndex("40"));
    EXPECT_EQ(m.bar->Popup(), nullptr);
    m.bar->ShowMenu(-1);
    EXPECT_EQ(m.bar->Popup(), nullptr);
}

TEST(MenuBarDesign, AStoredDesignRoundTripsThroughTheControl) {
    SmallMenu m(2);
    m.bar->SetHighLightStyle(4);
    m.bar->SetItemChecked("mnuUndo", true);
    EXPECT_TRUE(m.bar->Changed());
    const QJsonObject bag = m.bar->WriteProperties();
    BarWindow other;
    other.bar->ReadProperties(bag);
    EXPECT_FALSE(other.bar->Changed());
    EXPECT_EQ(other.bar->Style(), 2);
    EXPECT_EQ(other.bar->HighLightStyle(), 4);
    EXPECT_EQ(other.bar->Spacing(), 12);
    ASSERT_EQ(other.bar->MenuTree().Count(), m.bar->MenuTree().Count());
    EXPECT_TRUE(other.bar->ItemChecked("mnuundo"));
    EXPECT_FALSE(other.bar->MenuTree().Item(m.view).Visible());
    EXPECT_EQ(other.bar->WriteProperties(), bag);
    // Style 2 fills its cells white.
    EXPECT_EQ(other.bar->BackColor(), 0xFFFFFFu);
}

TEST(MenuBarDesign, AMalformedDesignLoadsPaintsAndOpensWithoutCrashing) {
    BarWindow w(0);
    QJsonObject bag;
    bag["ItemCount"] = 9;
    bag["MenuIdent1"] = 2; // first item below the bar
    bag["MenuCaption2"] = "A";
    bag["MenuName2"] = "dup";
    bag["MenuIdent3"] = 3; // jumps three levels
    bag["MenuCaption3"] = "deep";
    bag["MenuName3"] = "dup";
    bag["MenuCaption4"] = "B&";
    bag["MenuVisible5"] = false; // hidden root with a child
    bag["MenuIdent6"] = 1;
    bag["MenuCaption6"] = "child of hidden";
    // 7...9 are not stored at all
    w.bar->ReadProperties(bag);
    w.Show();
    ASSERT_EQ(w.bar->MenuTree().Count(), 9);
    EXPECT_EQ(w.bar->KeyToIndex("DUP"), 2);
    for (int i = 1; i <= 9; ++i) {
        const MenuItem& it = w.bar->MenuTree().Item(i);
        if (it.Ident() == 0 && it.Visible()) {
            Press(w.bar, w.Centre(i));
            ASSERT_NE(w.bar->Popup(), nullptr) << i;
            Press(w.bar, w.Centre(i));
        }
    }
    Press(w.bar, w.Centre(2));
    ASSERT_NE(w.bar->Popup(), nullptr);
    EXPECT_TRUE(w.bar->Popup()->Items().empty()); // the level-3 item is nobody's child
}

TEST(MenuBarDesign, FiveHundredItemsOpenTheirPopup) {
    BarWindow w;
    const int root = w.Add(Item("root", 0, "Many"));
    for (int i = 0; i < 500; ++i) {
        w.Add(Item(QString("i%1").arg(i), 1, QString("Item %1").arg(i)));
    }
    w.Show();
    Press(w.bar, w.Centre(root));
    ASSERT_NE(w.bar->Popup(), nullptr);
    EXPECT_EQ(w.bar->Popup()->Items().size(), 500u);
    // Far taller than the screen: cut to it, and kept on it.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(w.bar->Popup()->geometry()));
}

} // namespace
} // namespace pelmora
