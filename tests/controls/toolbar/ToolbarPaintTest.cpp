// Pixels of the toolbar's surface: checked pattern, pressed and hot frames, embossed
// disabled pictures and captions, gap separators, gripper and transparency.
#include "tests/controls/toolbar/ToolbarTestSupport.h"

#include <QPainter>

namespace pelmora::test {
namespace {

using PaintTest = ToolbarTest;

// A 16×16 bitmap: magenta (the mask colour) with a black 6×6 square at (5, 5).
OlePicture SquarePicture() {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(qRgb(255, 0, 255));
    QPainter(&image).fillRect(5, 5, 6, 6, Qt::black);
    return OlePicture::bitmap(image);
}

TEST_F(PaintTest, ACheckedButtonShowsThePatternUnlessTheMouseIsOverIt) {
    AddButtons(2);
    tb->SetButtonStyle(1, tbbtCheck);
    tb->SetButtonChecked(1, true);
    const int x = tb->ButtonClientLeft(1) + 8, y = tb->ButtonClientTop(1) + 8;
    const ColorRef highlight = Colour(tb->HighlightColor());
    const ColorRef back = Colour(tb->BackColor());
    ASSERT_NE(highlight, back);
    // A checkerboard of highlight and back colour.
    EXPECT_NE(Pixel(x, y), Pixel(x + 1, y));
    EXPECT_EQ(Pixel(x, y), Pixel(x + 1, y + 1));
    EXPECT_TRUE((Pixel(x, y) == highlight && Pixel(x + 1, y) == back) ||
                (Pixel(x, y) == back && Pixel(x + 1, y) == highlight));
    MoveTo(Centre(1));
    EXPECT_EQ(tb->HotButton(), 1);
    EXPECT_EQ(Pixel(x, y), back);
    EXPECT_EQ(Pixel(x + 1, y), back);
    MoveTo(Centre(2));
    EXPECT_NE(Pixel(x, y), Pixel(x + 1, y));
}

TEST_F(PaintTest, StandardButtonsAreRaisedAtRestAndLoweredWhenChecked) {
    AddButtons(2);
    tb->SetButtonChecked(2, true);
    const int l1 = tb->ButtonClientLeft(1), t = tb->ButtonClientTop(1);
    const int l2 = tb->ButtonClientLeft(2), w = tb->ButtonClientWidth(1);
    const int h = tb->ButtonClientHeight(1);
    EXPECT_EQ(Pixel(l1 + 3, t), Colour(tb->HighlightColor()));
    EXPECT_EQ(Pixel(l1 + 3, t + h - 1), Colour(tb->ShadowDarkColor()));
    EXPECT_EQ(Pixel(l1 + w - 1, t + 3), Colour(tb->ShadowDarkColor()));
    EXPECT_EQ(Pixel(l2 + 3, t), Colour(tb->ShadowDarkColor()));
    EXPECT_EQ(Pixel(l2 + 3, t + h - 1), Colour(tb->HighlightColor()));
}

TEST_F(PaintTest, FlatButtonsAreUnframedAtRestAndSoftWhenHot) {
    AddButtons(2);
    tb->SetAppearance(ifcaFlat);
    const int l = tb->ButtonClientLeft(1), t = tb->ButtonClientTop(1);
    const ColorRef back = Colour(tb->BackColor());
    EXPECT_EQ(Pixel(l + 4, t), back);
    EXPECT_EQ(Pixel(l + 8, t + 8), back);
    MoveTo(Centre(1));
    EXPECT_EQ(Pixel(l + 4, t), Colour(OleRgb(200, 200, 200)));
    EXPECT_EQ(Pixel(l + 8, t + 8), Colour(OleRgb(240, 240, 240)));
    QTest::mousePress(tb.get(), Qt::LeftButton, {}, Centre(1));
    EXPECT_EQ(Pixel(l + 4, t), Colour(OleRgb(150, 150, 190)));
    EXPECT_EQ(Pixel(l + 8, t + 8), Colour(OleRgb(210, 210, 210)));
    QTest::mouseRelease(tb.get(), Qt::LeftButton, {}, Centre(1));
    MoveTo(Centre(2));
    EXPECT_EQ(Pixel(l + 8, t + 8), back);
    EXPECT_EQ(Pixel(l + 4, t), back);
}

TEST_F(PaintTest, ADisabledPictureIsEmbossedAndAnEnabledOneDropsItsMaskColour) {
    tb->resize(400, 40);
    AddButtons(1);
    tb->SetButtonPicture(1, SquarePicture());
    const int px = tb->ButtonClientLeft(1) + (tb->ButtonClientWidth(1) - 16) / 2;
    const int py = tb->ButtonClientTop(1) + (tb->ButtonClientHeight(1) - 16) / 2;
    EXPECT_EQ(Pixel(px + 7, py + 7), 0);                       // black square
    EXPECT_EQ(Pixel(px + 1, py + 1), Colour(tb->BackColor())); // magenta left out
    tb->SetButtonEnabled(1, false);
    EXPECT_EQ(Pixel(px + 7, py + 7), Colour(SysButtonShadow));
    EXPECT_EQ(Pixel(px + 11, py + 11), Colour(Sys3DHighlight)); // one right and down
    EXPECT_EQ(Pixel(px + 1, py + 1), Colour(tb->BackColor()));
    tb->SetButtonEnabled(1, true);
    tb->setEnabled(false); // a disabled control draws every picture disabled
    EXPECT_EQ(Pixel(px + 7, py + 7), Colour(SysButtonShadow));
}

TEST_F(PaintTest, PicturesMoveAwayFromACaptionEvenWhenNoCaptionIsShown) {
    tb->resize(400, 40);
    AddButtons(1);
    tb->SetButtonPicture(1, SquarePicture());
    tb->SetCaptionOptions(iftoNoLabels);
    tb->SetButtonCaption(1, "x");
    const int l = tb->ButtonClientLeft(1);
    const int py = tb->ButtonClientTop(1) + (tb->ButtonClientHeight(1) - 16) / 2;
    // Caption on the right: the picture starts BorderInset(0) + 4 from the left edge.
    EXPECT_EQ(Pixel(l + 2 + 4 + 5, py + 5), 0);
    EXPECT_EQ(Pixel(l + 2 + 4 + 4, py + 5), Colour(tb->BackColor()));
}

TEST_F(PaintTest, DisabledCaptionsAreEmbossedInHighlightAndShadow) {
    tb->resize(400, 40);
    QFont crisp = tb->font(); // exact colours, so the two passes can be counted
    crisp.setStyleStrategy(QFont::NoAntialias);
    tb->setFont(crisp);
    AddButtons(1);
    tb->SetButtonCaption(1, "MMMM");
    tb->SetButtonEnabled(1, false);
    int shadow = 0, highlight = 0, text = 0;
    const QRect r(tb->ButtonClientLeft(1), tb->ButtonClientTop(1), tb->ButtonClientWidth(1),
                  tb->ButtonClientHeight(1));
    for (int y = r.top() + 2; y < r.bottom() - 1; ++y) {
        for (int x = r.left() + 2; x < r.right() - 1; ++x) {
            const ColorRef c = Pixel(x, y);
            shadow += c == Colour(tb->ShadowColor());
            highlight += c == Colour(tb->HighlightColor());
            text += c == Colour(tb->TextColor());
        }
    }
    EXPECT_GT(shadow, 10);
    EXPECT_GT(highlight, 10);
    EXPECT_EQ(text, 0);
}

TEST_F(PaintTest, WideGapsInTheFlatLookCarryTwoEtchedLines) {
    AddButtons(2);
    tb->SetAppearance(ifcaFlat);
    tb->SetShowSeparators(true);
    tb->SetButtonGap(8);
    const int end = tb->ButtonClientLeft(1) + tb->ButtonClientWidth(1);
    const int y = tb->ButtonClientTop(1) + 5;
    EXPECT_EQ(Pixel(end + 3, y), Colour(tb->ShadowColor()));
    EXPECT_EQ(Pixel(end + 4, y), Colour(tb->HighlightColor()));
    EXPECT_EQ(Pixel(end + 2, y), Colour(tb->BackColor()));
    tb->SetButtonGap(3);
    EXPECT_EQ(Pixel(tb->ButtonClientLeft(1) + tb->ButtonClientWidth(1) + 1, y),
              Colour(tb->BackColor()));
}

TEST_F(PaintTest, TheDottedGripperHasDarkAndWhiteDotsEveryFourPixels) {
    const ColorRef grey = Colour(OleRgb(128, 128, 128));
    const ColorRef white = Colour(OleRgb(255, 255, 255));
    EXPECT_EQ(Pixel(6, 4), grey);
    EXPECT_EQ(Pixel(8, 5), white);
    EXPECT_EQ(Pixel(6, 8), grey);
    EXPECT_EQ(Pixel(6, 7), Colour(tb->BackColor()));
    tb->SetDockingStyle(1);
    EXPECT_EQ(Pixel(6, 10), grey);
    EXPECT_EQ(Pixel(4, 10), white);
    EXPECT_EQ(Pixel(10, 10), grey);
}

TEST_F(PaintTest, ATransparentToolbarLetsItsBackColourThrough) {
    QWidget parent;
    parent.resize(300, 100);
    ToolBar* child = new ToolBar(&parent);
    child->setGeometry(10, 10, 200, 30);
    child->AddButton();
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    child->SetBackStyle(0);
    EXPECT_FALSE(child->mask().contains(QPoint(150, 15))); // still back colour: see-through
    EXPECT_TRUE(child->mask().contains(QPoint(child->ButtonClientLeft(1), 15))); // frame
    child->SetBackStyle(1);
    EXPECT_TRUE(child->mask().isEmpty());
    try {
        child->SetBackStyle(2);
        ADD_FAILURE() << "BackStyle 2 accepted";
    } catch (const ControlError& e) {
        EXPECT_EQ(e.number(), 380);
    }
}

TEST_F(PaintTest, NothingIsPaintedWhileRedrawIsOff) {
    AddButtons(1);
    const QImage before = tb->Surface().copy();
    tb->SetRedraw(false);
    tb->SetBackColor(0x0000FF);
    EXPECT_EQ(tb->Surface(), before);
    tb->SetRedraw(true);
    tb->Refresh();
    EXPECT_EQ(Pixel(100, 5), 0x0000FF);
}

} // namespace
} // namespace pelmora::test
