#include "controls/paint/ToolTipWindow.h"
#include "controls/paint/Drawing.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace pelmora {
namespace {

class ToolTip : public ::testing::Test {
protected:
    void TearDown() override { HideToolTip(); }
};

TEST_F(ToolTip, PlacedJustBelowTheCursorAndSizedToTheText) {
    QWidget owner;
    EXPECT_TRUE(ShowToolTipAt(QPoint(200, 150), QStringLiteral("Convert"), &owner));
    ToolTipWindow* tip = CurrentToolTip();
    ASSERT_NE(tip, nullptr);
    QLabel* label = tip->label();
    EXPECT_EQ(label->text(), QStringLiteral("Convert"));
    EXPECT_EQ(label->width(), tip->fontMetrics().horizontalAdvance(QStringLiteral("Convert")));
    EXPECT_EQ(label->pos(), QPoint(3, 2));
    EXPECT_EQ(tip->geometry(), QRect(198, 168, label->width() + 8, label->height() + 5));
    EXPECT_TRUE(tip->isVisible());
    EXPECT_EQ(tip->owner(), &owner);
    EXPECT_TRUE(tip->watchTimer().isActive());
    EXPECT_EQ(tip->watchTimer().interval(), 100);

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
    EXPECT_EQ(tip->label()->font().pointSize(), 14);
    const QRect g = tip->geometry();
    EXPECT_GT(g.width(), 20);
    EXPECT_EQ(g.right(), screen.right()) << "ends at the right edge";
    EXPECT_EQ(g.bottom(), screen.bottom()) << "ends at the bottom edge";

    // Only one tooltip: showing again replaces it; hiding removes it.
    ShowToolTipAt(QPoint(10, 10), QStringLiteral("B"), nullptr);
    ASSERT_NE(CurrentToolTip(), nullptr);
    EXPECT_EQ(CurrentToolTip()->pos(), QPoint(8, 28));
    EXPECT_EQ(CurrentToolTip()->label()->text(), QStringLiteral("B"));
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
