#include "controls/paint/basOrvaneIFceComp.h"
#include "controls/paint/ToolTipWindow.h"
#include "controls/paint/PaintEffects.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace pelmora {
namespace {

class CountingPlayer : public SoundPlayer {
public:
    void play(const QString& resourcePath) override { played.append(resourcePath); }
    QStringList played;
};

TEST(PlayResourceSound, PlaysOnlyWhenEnabledAndTheResourceExists) {
    QFile click(QStringLiteral(":/sounds/BUTTON_CLICK"));
    ASSERT_TRUE(click.exists());
    EXPECT_GT(click.size(), 44) << "a wave header and samples";

    CountingPlayer player;
    PlayResourceSound(QStringLiteral("BUTTON_CLICK"), false, player);
    EXPECT_TRUE(player.played.isEmpty());
    PlayResourceSound(QStringLiteral("NO_SUCH_SOUND"), true, player);
    EXPECT_TRUE(player.played.isEmpty());
    PlayResourceSound(QStringLiteral("BUTTON_CLICK"), true, player);
    EXPECT_EQ(player.played, QStringList{QStringLiteral(":/sounds/BUTTON_CLICK")});
    // The real player on a machine that may have no sound device: nothing is raised.
    EXPECT_NO_THROW(PlayResourceSound(QStringLiteral("BUTTON_CLICK"), true));
}

TEST(EnsurePaintEffects, OneSharedInstanceUntilReleased) {
    PaintEffects& first = EnsurePaintEffects();
    EXPECT_EQ(&EnsurePaintEffects(), &first);
    EXPECT_EQ(SharedPaintEffects(), &first);
    ReleasePaintEffects();
    EXPECT_EQ(SharedPaintEffects(), nullptr);
    EnsurePaintEffects();
    EXPECT_NE(SharedPaintEffects(), nullptr);
    ReleasePaintEffects();
}

TEST(IsMouseOverWindow, OnlyTheWindowUnderThePointItself) {
    QWidget window;
    window.setGeometry(100, 100, 60, 40);
    auto* child = new QWidget(&window);
    child->setGeometry(30, 0, 30, 40);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(IsMouseOverWindowAt(window.mapToGlobal(QPoint(10, 10)), &window));
    EXPECT_FALSE(IsMouseOverWindowAt(window.mapToGlobal(QPoint(40, 10)), &window));
    EXPECT_TRUE(IsMouseOverWindowAt(window.mapToGlobal(QPoint(40, 10)), child));
    EXPECT_FALSE(IsMouseOverWindowAt(window.mapToGlobal(QPoint(70, 10)), &window));
    EXPECT_FALSE(IsMouseOverWindowAt(QPoint(110, 110), nullptr));
}

class ToolTip : public ::testing::Test {
protected:
    void TearDown() override { HideToolTip(); }
};

TEST_F(ToolTip, PlacedJustBelowTheCursorAndSizedToTheText) {
    QWidget owner;
    EXPECT_TRUE(ShowToolTipAt(QPoint(200, 150), QStringLiteral("Convert"), &owner));
    ToolTipWindow* tip = CurrentToolTip();
    ASSERT_NE(tip, nullptr);
    QLabel* label = tip->lblTip();
    EXPECT_EQ(label->text(), QStringLiteral("Convert"));
    EXPECT_EQ(label->width(), tip->fontMetrics().horizontalAdvance(QStringLiteral("Convert")));
    EXPECT_EQ(label->pos(), QPoint(3, 2));
    EXPECT_EQ(tip->geometry(), QRect(198, 168, label->width() + 8, label->height() + 5));
    EXPECT_TRUE(tip->isVisible());
    EXPECT_EQ(tip->CtlHWnd(), &owner);
    EXPECT_TRUE(tip->tmrTip().isActive());
    EXPECT_EQ(tip->tmrTip().interval(), 100);

    // The frame: light top and left, dark shadow right and bottom.
    const QImage& s = tip->surface();
    ASSERT_EQ(s.size(), tip->size());
    EXPECT_EQ(s.pixel(0, 0), *OleColorToRgb(Sys3DLight));
    EXPECT_EQ(s.pixel(0, s.height() - 2), *OleColorToRgb(Sys3DLight));
    EXPECT_EQ(s.pixel(s.width() - 1, s.height() - 1), *OleColorToRgb(Sys3DDarkShadow));
    EXPECT_EQ(s.pixel(s.width() - 1, 1), *OleColorToRgb(Sys3DDarkShadow));
}

TEST_F(ToolTip, NearTheBottomRightEdgeMovedBackOntoTheScreen) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(14);
    ShowToolTipAt(screen.bottomRight() - QPoint(3, 3), QStringLiteral("A long tooltip text"),
                  nullptr, &font);
    ToolTipWindow* tip = CurrentToolTip();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->lblTip()->font().pointSize(), 14);
    const QRect g = tip->geometry();
    EXPECT_GT(g.width(), 20);
    EXPECT_EQ(g.right(), screen.right()) << "ends at the right edge";
    EXPECT_EQ(g.bottom(), screen.bottom()) << "ends at the bottom edge";

    // Only one tooltip: showing again replaces it; hiding removes it.
    ShowToolTipAt(QPoint(10, 10), QStringLiteral("B"), nullptr);
    ASSERT_NE(CurrentToolTip(), nullptr);
    EXPECT_EQ(CurrentToolTip()->pos(), QPoint(8, 28));
    EXPECT_EQ(CurrentToolTip()->lblTip()->text(), QStringLiteral("B"));
    HideToolTip();
    EXPECT_EQ(CurrentToolTip(), nullptr);
    EXPECT_NO_THROW(HideToolTip());
}

TEST_F(ToolTip, WatchTimerClosesItOnceItsOwnerIsNoLongerActive) {
    QWidget owner;
    owner.setGeometry(300, 300, 50, 50);
    owner.show();
    owner.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&owner));
    ShowToolTipAt(QPoint(10, 10), QStringLiteral("tip"), &owner);
    QTest::qWait(250);
    ASSERT_NE(CurrentToolTip(), nullptr) << "kept while its owner is active";

    QWidget other;
    other.setGeometry(400, 300, 50, 50);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_TRUE(QTest::qWaitFor([] { return CurrentToolTip() == nullptr; }, 1000));
}

} // namespace
} // namespace pelmora
