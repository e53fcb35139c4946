// The menu bar and its popups from the keyboard: Alt with a letter and F10 open a
// menu, arrows move and open, Enter chooses, Esc closes.
#include "tests/controls/menu/MenuTestSupport.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace pelmora {
namespace {

using namespace menutest;

// File: Open, -, Gone (disabled), Quit; Tools: More > (Deep); &Extra: Last.
struct KeyboardMenu : BarWindow {
    int file, open, sep, gone, quit, tools, more, deep, extra, last;
    QSignalSpy clicks{bar, &MenuBar::ItemClick};
    KeyboardMenu() {
        AddRows(
            {{&file, "mnuFile", 0, "File"},
             {&open, "mnuOpen", 1, "Open"},
             {&sep, "mnuSep", 1, "-"},
             {.index = &gone, .name = "mnuGone", .ident = 1, .caption = "Gone", .enabled = false},
             {&quit, "mnuQuit", 1, "Quit"},
             {&tools, "mnuTools", 0, "Tools"},
             {&more, "mnuMore", 1, "More"},
             {&deep, "mnuDeep", 2, "Deep"},
             {&extra, "mnuExtra", 0, "E&xtra"},
             {&last, "mnuLast", 1, "Last"}});
        Show();
    }
    PopupMenu* Open() const { return bar->Popup(); }
    /// Types Alt with letter into the window; the menu that opened, if any.
    PopupMenu* AltOpen(Qt::Key letter) {
        QTest::keyClick(window.get(), letter, Qt::AltModifier);
        return Open();
    }
};

TEST(MenuKeyboard, AltLetterAndF10OpenTheirMenuWithTheFirstItemHighlighted) {
    KeyboardMenu m;
    PopupMenu* tools = m.AltOpen(Qt::Key_T);
    ASSERT_NE(tools, nullptr);
    EXPECT_EQ(tools->FilterIndex(), m.tools);
    EXPECT_EQ(tools->HotItem(), m.more);
    // The letter after "&" counts, not the first one.
    m.AltOpen(Qt::Key_X);
    Settle();
    ASSERT_NE(m.Open(), nullptr);
    EXPECT_EQ(m.Open()->FilterIndex(), m.extra);
    EXPECT_EQ(VisiblePopups(), 1);
    QTest::keyClick(m.Open(), Qt::Key_Escape);
    Settle();
    EXPECT_EQ(VisiblePopups(), 0);
    EXPECT_FALSE(m.bar->MenuOpen());
    QTest::keyClick(m.window.get(), Qt::Key_F10);
    ASSERT_NE(m.Open(), nullptr);
    EXPECT_EQ(m.Open()->FilterIndex(), m.file);
    EXPECT_EQ(m.Open()->HotItem(), m.open);
}

TEST(MenuKeyboard, ArrowsSkipSeparatorsAndDisabledItemsAndEnterChooses) {
    KeyboardMenu m;
    PopupMenu* popup = m.AltOpen(Qt::Key_F);
    ASSERT_NE(popup, nullptr);
    QTest::keyClick(popup, Qt::Key_Down);
    EXPECT_EQ(popup->HotItem(), m.quit);
    QTest::keyClick(popup, Qt::Key_Down); // wraps to the top
    EXPECT_EQ(popup->HotItem(), m.open);
    QTest::keyClick(popup, Qt::Key_Up);
    EXPECT_EQ(popup->HotItem(), m.quit);
    QTest::keyClick(popup, Qt::Key_Return);
    Settle();
    ASSERT_EQ(m.clicks.count(), 1);
    EXPECT_EQ(m.clicks.at(0).at(0).toString(), QStringLiteral("mnuQuit"));
    EXPECT_EQ(VisiblePopups(), 0);
}

TEST(MenuKeyboard, RightOpensSubmenusAndNextMenusLeftAndEscGoBack) {
    KeyboardMenu m;
    PopupMenu* tools = m.AltOpen(Qt::Key_T);
    ASSERT_NE(tools, nullptr);
    QTest::keyClick(tools, Qt::Key_Right);
    PopupMenu* sub = tools->ChildPopup();
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->HotItem(), m.deep);
    // Esc closes the submenu only.
    QTest::keyClick(sub, Qt::Key_Escape);
    Settle();
    EXPECT_EQ(tools->ChildPopup(), nullptr);
    EXPECT_EQ(m.Open(), tools);
    // Right on a plain item moves to the next bar menu; Left from the first wraps to the last.
    QTest::keyClick(tools, Qt::Key_Up);
    QTest::keyClick(tools, Qt::Key_Right);
    Settle();
    ASSERT_NE(m.Open(), nullptr);
    EXPECT_EQ(m.Open()->FilterIndex(), m.tools) << "More has a submenu, so Right opened it";
    QTest::keyClick(m.Open()->ChildPopup(), Qt::Key_Left);
    Settle();
    QTest::keyClick(m.Open(), Qt::Key_Left);
    Settle();
    ASSERT_NE(m.Open(), nullptr);
    EXPECT_EQ(m.Open()->FilterIndex(), m.file);
    QTest::keyClick(m.Open(), Qt::Key_Left);
    Settle();
    ASSERT_NE(m.Open(), nullptr);
    EXPECT_EQ(m.Open()->FilterIndex(), m.extra);
    EXPECT_EQ(VisiblePopups(), 1);
    EXPECT_EQ(m.clicks.count(), 0);
}

// A menu asks the window system not to take the activation from its window (whose
// title bar would grey; the offscreen platform activates it all the same): the keys
// typed into the window reach the innermost popup, and a press in the window outside
// the bar closes the menu.
TEST(MenuKeyboard, TheWindowKeepsTheActivationAndItsKeysDriveTheMenu) {
    KeyboardMenu m;
    PopupMenu* tools = m.AltOpen(Qt::Key_T);
    ASSERT_NE(tools, nullptr);
    EXPECT_TRUE(tools->windowFlags().testFlag(Qt::X11BypassWindowManagerHint));
    EXPECT_TRUE(tools->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(tools->testAttribute(Qt::WA_ShowWithoutActivating));
    QTest::keyClick(m.window.get(), Qt::Key_Right);
    ASSERT_NE(tools->ChildPopup(), nullptr);
    EXPECT_EQ(tools->ChildPopup()->HotItem(), m.deep);
    QTest::keyClick(m.window.get(), Qt::Key_Escape);
    Settle();
    EXPECT_EQ(tools->ChildPopup(), nullptr);
    ASSERT_EQ(m.Open(), tools);
    QTest::keyClick(m.window.get(), Qt::Key_Escape);
    Settle();
    EXPECT_EQ(VisiblePopups(), 0);
    EXPECT_EQ(m.Open(), nullptr);

    ASSERT_NE(m.AltOpen(Qt::Key_F), nullptr);
    QTest::mouseClick(m.window.get(), Qt::LeftButton, Qt::NoModifier, QPoint(200, 150));
    Settle();
    EXPECT_EQ(VisiblePopups(), 0);
    EXPECT_EQ(m.clicks.count(), 0);
}

} // namespace
} // namespace pelmora
