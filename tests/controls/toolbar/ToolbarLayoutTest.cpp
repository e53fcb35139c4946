// Where the layout puts buttons: cross size, gripper space, separators, captions, fixed
// sizes, vertical bars, borders and automatic sizing.
#include "tests/controls/toolbar/ToolbarTestSupport.h"

#include "controls/toolbar/ToolbarLayout.h"

#include <QFontMetrics>
#include <QSignalSpy>

namespace pelmora::test {
namespace {

using LayoutTest = ToolbarTest;

QRect Rect(ToolBar& tb, int i) {
    return QRect(tb.ButtonClientLeft(i), tb.ButtonClientTop(i), tb.ButtonClientWidth(i),
                 tb.ButtonClientHeight(i));
}

TEST_F(LayoutTest, ThirtyPixelsHighGivesSquare26PixelButtonsAfterTheDottedGripper) {
    AddButtons(3);
    EXPECT_EQ(tb->DockingStyle(), 2);
    for (int side = 0; side < 4; ++side) {
        EXPECT_EQ(tb->BorderInset(side), 2);
    }
    EXPECT_EQ(Rect(*tb, 1), QRect(14, 2, 26, 26));
    EXPECT_EQ(Rect(*tb, 2), QRect(40, 2, 26, 26));
    tb->SetDockingStyle(0);
    EXPECT_EQ(tb->ButtonClientLeft(1), 2);
}

TEST_F(LayoutTest, SeparatorsAreSixLongAndPlaceholdersTakeTheirWidth) {
    AddButtons(4);
    tb->SetButtonStyle(2, tbbtSeparator);
    tb->SetButtonStyle(3, tbbtPlaceholder);
    tb->SetButtonPlaceholderWidth(3, 40);
    tb->SetButtonStyle(4, tbbtPlaceholder);
    EXPECT_EQ(tb->ButtonClientWidth(2), 6);
    EXPECT_EQ(tb->ButtonClientWidth(3), 40);
    EXPECT_EQ(tb->ButtonClientWidth(4), 26); // a placeholder without a width is square
    tb->resize(30, 300);
    EXPECT_EQ(tb->ButtonClientHeight(2), 6);
    EXPECT_EQ(tb->ButtonClientWidth(2), 26);
}

TEST_F(LayoutTest, FixedStyleMakesEveryButtonFixedSizeLong) {
    AddButtons(3);
    tb->SetButtonStyle(2, tbbtSeparator);
    tb->SetButtonCaption(3, "A long caption");
    tb->SetStyle(tbtsFixed);
    tb->SetFixedSize(50);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(tb->ButtonClientWidth(i), 50);
    }
    EXPECT_EQ(tb->ButtonClientLeft(3), 14 + 100);
}

TEST_F(LayoutTest, AShownCaptionAddsItsWidthLessThirtyAcrossAndPlusThreeDown) {
    AddButtons(2);
    tb->SetButtonCaption(1, "Caption");
    const int tw = QFontMetrics(tb->font()).horizontalAdvance("Caption");
    EXPECT_EQ(tb->ButtonClientWidth(1), 26 + tw - 30);
    EXPECT_EQ(tb->ButtonClientLeft(2), 14 + 26 + tw - 30);
    tb->SetCaptionOptions(iftoNoLabels);
    EXPECT_EQ(tb->ButtonClientWidth(1), 26);
    tb->SetCaptionOptions(iftoSelectedLabels);
    EXPECT_EQ(tb->ButtonClientWidth(1), 26);
    tb->SetButtonAlwaysShowCaption(1, true);
    EXPECT_EQ(tb->ButtonClientWidth(1), 26 + tw - 30);
    tb->resize(30, 300);
    EXPECT_EQ(tb->ButtonClientHeight(1), 26 + tw + 3);
}

TEST_F(LayoutTest, CaptionsAreMeasuredBoldWhenCheckedCaptionsAreBold) {
    AddButtons(1);
    tb->SetButtonCaption(1, "Measured");
    tb->SetBoldOnChecked(true);
    QFont bold = tb->font();
    bold.setBold(true);
    const int width = 26 + QFontMetrics(bold).horizontalAdvance("Measured") - 30;
    EXPECT_EQ(tb->ButtonClientWidth(1), width);
    tb->SetButtonChecked(1, true);
    EXPECT_EQ(tb->ButtonClientWidth(1), width);
}

TEST_F(LayoutTest, AVerticalBarStacksButtonsWithTheTopInsetBetweenThem) {
    AddButtons(2);
    tb->resize(30, 300);
    EXPECT_EQ(Rect(*tb, 1), QRect(2, 14, 26, 26));
    EXPECT_EQ(Rect(*tb, 2), QRect(2, 14 + 26 + 2, 26, 26));
}

TEST_F(LayoutTest, InvisibleButtonsTakeNoSpaceAndAreNeverHit) {
    AddButtons(3);
    tb->SetButtonVisible(2, false);
    EXPECT_EQ(tb->ButtonClientLeft(3), 40);
    EXPECT_EQ(tb->IsWithinButton(41, 10), 3);
    EXPECT_EQ(tb->IsWithinButton(39, 27), 1);
    EXPECT_EQ(tb->IsWithinButton(39, 28), 0);
    EXPECT_EQ(tb->IsWithinButton(5, 10), 0);
}

TEST_F(LayoutTest, FrameBorderStyleTurnsOnEverySideAndKeepsDoubleBordersOff) {
    tb->SetBorderLeft(false);
    tb->SetDoubleTopBorder(true);
    EXPECT_TRUE(tb->BorderTop());
    EXPECT_EQ(tb->BorderInset(1), 3);
    tb->SetBorderStyle(tbbsFrame);
    EXPECT_TRUE(tb->BorderLeft());
    EXPECT_FALSE(tb->DoubleTopBorder());
    tb->SetDoubleTopBorder(true);
    EXPECT_FALSE(tb->DoubleTopBorder());
    tb->SetBorderRight(false);
    EXPECT_TRUE(tb->BorderRight());
    EXPECT_EQ(tb->BorderInset(0), 3);
    try {
        tb->SetBorderStyle(6);
        ADD_FAILURE() << "BorderStyle 6 accepted";
    } catch (const ControlError& e) {
        EXPECT_EQ(e.number(), 380);
        EXPECT_TRUE(e.source().endsWith(".xToolbar:BorderStyle"));
    }
    EXPECT_EQ(tb->BorderStyle(), tbbsFrame);
    tb->SetBorderStyle(tbbsNone);
    tb->SetBorderTop(false);
    EXPECT_EQ(tb->BorderInset(1), 1);
}

TEST_F(LayoutTest, AutoSizeFitsTheButtonsOnceUntilTheButtonsChange) {
    AddButtons(3);
    QSignalSpy resized(tb.get(), &ToolBar::Resize);
    tb->SetAutoSize(true);
    EXPECT_EQ(tb->width(), 14 + 3 * 26 + 2);
    EXPECT_EQ(resized.count(), 1);
    tb->resize(300, 30); // a user resize is not undone by the next refresh
    tb->Refresh();
    EXPECT_EQ(tb->width(), 300);
    tb->AddButton();
    EXPECT_EQ(tb->width(), 14 + 4 * 26 + 2);
    tb->DeleteButton(1);
    EXPECT_EQ(tb->width(), 14 + 3 * 26 + 2);
    tb->SetButtonVisible(1, false);
    EXPECT_EQ(tb->width(), 14 + 2 * 26 + 2);
}

TEST_F(LayoutTest, AThousandButtonsLayOutAndPaint) {
    tb->SetRedraw(false);
    for (int i = 0; i < 1000; ++i) {
        tb->AddButtonEx(QString::number(i), i % 4 + 1, OlePicture(), "", 0, true,
                        i % 3 ? "Cap" : "", i % 2, i % 5 != 0, 0, true);
    }
    tb->SetRedraw(true);
    tb->Refresh();
    EXPECT_EQ(tb->ButtonCount(), 1000);
    EXPECT_GT(tb->ButtonClientLeft(1000), tb->width()); // cut off past the end
    EXPECT_EQ(tb->IsWithinButton(15, 10), 1);
}

TEST_F(LayoutTest, BorderInsetsCountSidesFramesAndDoubleBorders) {
    ToolbarProperties p;
    p.SetBorderStyle(tbbsRaisedButton);
    p.SetBorderLeft(false);
    p.SetDoubleBottomBorder(true);
    EXPECT_EQ(ToolbarLayout::BorderInset(p, 0), 2);
    EXPECT_EQ(ToolbarLayout::BorderInset(p, 1), 3);
    EXPECT_EQ(ToolbarLayout::BorderInset(p, 3), 4);
}

} // namespace
} // namespace pelmora::test
