#include "controls/paint/Drawing.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <gtest/gtest.h>

namespace pelmora {
namespace {

QImage canvas(int w, int h, QRgb fill = 0xFFFFFFFF) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}

TEST(TranslateOleColor, PlainSystemPaletteAndInvalidColours) {
    EXPECT_EQ(TranslateOleColor(0x00336699), 0x336699);
    EXPECT_EQ(TranslateOleColor(0x02336699), 0x336699);
    // System colours with a Qt role follow the application palette.
    const QColor highlight = QGuiApplication::palette().color(QPalette::Highlight);
    EXPECT_EQ(ColorRefToRgb(TranslateOleColor(SysHighlight)), highlight.rgb());
    // Without a Qt role the classic scheme holds: the desktop is teal.
    EXPECT_EQ(ColorRefToRgb(TranslateOleColor(0x80000001)), qRgb(0, 128, 128));
    // Unknown system colours, stray bytes and unknown kinds do not translate.
    EXPECT_EQ(TranslateOleColor(0x8000001F), -1);
    EXPECT_EQ(TranslateOleColor(0x80010005), -1);
    EXPECT_EQ(TranslateOleColor(0x05000000), -1);
    EXPECT_EQ(TranslateOleColor(kNoColor), -1);
    // Palette indices need a palette and an index inside it.
    const ColorPalette halftone = CreateHalftonePalette();
    ASSERT_EQ(halftone.size(), 256);
    EXPECT_EQ(TranslateOleColor(0x01000000 | 215), -1);
    EXPECT_EQ(ColorRefToRgb(TranslateOleColor(0x01000000 | 215, &halftone)), qRgb(255, 255, 255));
    EXPECT_EQ(TranslateOleColor(0x01000000 | 256, &halftone), -1);
}

TEST(BuildGradientColors, StepsStartAfterFromClampAndRoundHalvesToEven) {
    // Red 0 -> 255 over n = 2: steps of 127.5 give 127.5 (rounds to 128), 255, then the
    // overshoot 382.5 clamps to 255.
    std::vector<ColorRef> colours(3);
    ASSERT_TRUE(BuildGradientColors(OleRgb(0, 0, 0), OleRgb(255, 0, 0), colours));
    EXPECT_EQ(colours[0], 128);
    EXPECT_EQ(colours[1], 255);
    EXPECT_EQ(colours[2], 255);

    // Blue 10 -> 0 over n = 4: 7.5 -> 8, 5, 2.5 -> 2, 0, then -2.5 clamps to 0.
    std::vector<ColorRef> down(5);
    ASSERT_TRUE(BuildGradientColors(OleRgb(0, 0, 10), OleRgb(0, 0, 0), down));
    EXPECT_EQ(down, (std::vector<ColorRef>{8 << 16, 5 << 16, 2 << 16, 0, 0}));

    // Green and the other components move independently.
    std::vector<ColorRef> mixed(2);
    ASSERT_TRUE(BuildGradientColors(OleRgb(0, 100, 200), OleRgb(50, 0, 200), mixed));
    EXPECT_EQ(mixed[0], ColorRef(OleRgb(50, 0, 200)));
    EXPECT_EQ(mixed[1], ColorRef(OleRgb(100, 0, 200)));
}

TEST(BuildGradientColors, SingleEntryEmptyArrayAndBadColours) {
    std::vector<ColorRef> one(1, 7);
    ASSERT_TRUE(BuildGradientColors(OleRgb(1, 2, 3), OleRgb(200, 200, 200), one));
    EXPECT_EQ(one[0], ColorRef(OleRgb(1, 2, 3)));
    std::vector<ColorRef> none;
    EXPECT_TRUE(BuildGradientColors(0, 0xFFFFFF, none));
    std::vector<ColorRef> untouched(3, 7);
    EXPECT_FALSE(BuildGradientColors(kNoColor, 0, untouched));
    EXPECT_EQ(untouched, (std::vector<ColorRef>{7, 7, 7}));
    // System colours are translated before they are split.
    std::vector<ColorRef> sys(2);
    ASSERT_TRUE(BuildGradientColors(0x80000001, 0x80000001, sys));
    EXPECT_EQ(sys[1], ColorRef(OleRgb(0, 128, 128)));
}

TEST(DrawGradient, VerticalLinesPerColumnAndMirroredRows) {
    QImage img = canvas(6, 5);
    DrawGradient(img, 0, 0, 4, 4, OleRgb(0, 0, 0), OleRgb(200, 0, 0), 0, 0);
    // Column i holds entry i: 50 * (i + 1); lines stop before y2.
    EXPECT_EQ(img.pixel(0, 0), qRgb(50, 0, 0));
    EXPECT_EQ(img.pixel(3, 3), qRgb(200, 0, 0));
    EXPECT_EQ(img.pixel(4, 2), qRgb(250, 0, 0)); // one step past the end colour
    EXPECT_EQ(img.pixel(2, 4), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(5, 0), qRgb(255, 255, 255));

    QImage rows = canvas(4, 9);
    DrawGradient(rows, 0, 0, 3, 8, OleRgb(0, 0, 0), OleRgb(0, 120, 0), 1, 1);
    // n = 8 / 2 = 4 steps of 30; row 8 mirrors row 0.
    EXPECT_EQ(rows.pixel(0, 0), qRgb(0, 30, 0));
    EXPECT_EQ(rows.pixel(2, 8), qRgb(0, 30, 0));
    EXPECT_EQ(rows.pixel(1, 7), qRgb(0, 60, 0));
    EXPECT_EQ(rows.pixel(3, 0), qRgb(255, 255, 255)); // horizontal lines stop before x2
}

TEST(Draw3DRect, LightTopLeftDarkBottomRightAndFill) {
    QImage img = canvas(8, 6);
    const QRgb light = qRgb(255, 0, 0);
    const QRgb dark = qRgb(0, 0, 255);
    const QRgb fill = qRgb(0, 255, 0);
    Draw3DRect(img, 1, 1, 5, 4, OleRgb(255, 0, 0), OleRgb(0, 0, 255), OleRgb(0, 255, 0));
    EXPECT_EQ(img.pixel(1, 1), light);
    EXPECT_EQ(img.pixel(5, 1), light); // the top-right corner starts the light edge
    EXPECT_EQ(img.pixel(1, 3), light);
    EXPECT_EQ(img.pixel(1, 4), dark); // the bottom-left corner starts the dark edge
    EXPECT_EQ(img.pixel(5, 4), dark);
    EXPECT_EQ(img.pixel(5, 2), dark);
    EXPECT_EQ(img.pixel(3, 2), fill);
    EXPECT_EQ(img.pixel(6, 1), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(0, 0), qRgb(255, 255, 255));

    // No fill keeps the inside; nothing is drawn for empty sizes.
    QImage frame = canvas(4, 4, 0xFF123456);
    Draw3DRect(frame, 0, 0, 4, 4, 0xFFFFFF, 0, kNoColor);
    EXPECT_EQ(frame.pixel(1, 1), 0xFF123456);
    QImage empty = canvas(4, 4);
    Draw3DRect(empty, 0, 0, 0, 4, 0, 0, 0);
    Draw3DRect(empty, 0, 0, 4, -2, 0, 0, 0);
    EXPECT_EQ(empty, canvas(4, 4));
}

TEST(FillSolidRect, RightAndBottomExclusiveClippedAndUntranslatableSkipped) {
    QImage img = canvas(6, 6);
    FillSolidRect(img, 1, 1, 4, 3, OleRgb(9, 9, 9));
    EXPECT_EQ(img.pixel(1, 1), qRgb(9, 9, 9));
    EXPECT_EQ(img.pixel(3, 2), qRgb(9, 9, 9));
    EXPECT_EQ(img.pixel(4, 1), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(1, 3), qRgb(255, 255, 255));
    FillSolidRect(img, -10, -10, 100, 100, kNoColor);
    EXPECT_EQ(img.pixel(0, 0), qRgb(255, 255, 255));
    FillSolidRect(img, 4, 4, 100, 100, 0);
    EXPECT_EQ(img.pixel(5, 5), qRgb(0, 0, 0));
}

TEST(BuildRoundRectPoints, ThirteenPointsFromIndexOneRounded) {
    std::vector<QPoint> points(40, QPoint(99, 99));
    EXPECT_EQ(BuildRoundRectPoints(points, 10.0f, 20.0f, 30.5f, 41.5f), 13);
    ASSERT_EQ(points.size(), 14u);
    EXPECT_EQ(points[0], QPoint());
    // 30.5 rounds to 30 and 41.5 to 42 (halves to even).
    const std::vector<QPoint> expected = {{12, 20}, {28, 20}, {29, 21}, {30, 22}, {30, 40},
                                          {29, 41}, {28, 42}, {12, 42}, {11, 41}, {10, 40},
                                          {10, 22}, {11, 21}, {12, 20}};
    EXPECT_EQ(std::vector<QPoint>(points.begin() + 1, points.end()), expected);
    EXPECT_EQ(points[1], points[13]);
}

TEST(DrawTextInRect, CentredSingleLineInsideTheRectOnly) {
    QImage img = canvas(80, 30);
    {
        QPainter painter(&img);
        painter.setPen(Qt::black);
        DrawTextInRect(painter, QStringLiteral("WWW"), 20.4f, 5.0f, 40.0f, 20.0f,
                       DtCenter | DtVCenter | DtSingleLine);
    }
    int inkLeft = 80, inkRight = -1, inkTop = 30, inkBottom = -1;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 80; ++x) {
            if (qGray(img.pixel(x, y)) < 128) {
                inkLeft = std::min(inkLeft, x);
                inkRight = std::max(inkRight, x);
                inkTop = std::min(inkTop, y);
                inkBottom = std::max(inkBottom, y);
            }
        }
    }
    ASSERT_GE(inkRight, 0) << "no text drawn";
    EXPECT_GE(inkLeft, 20);
    EXPECT_LE(inkRight, 59);
    EXPECT_NEAR((inkLeft + inkRight) / 2.0, 40.0, 3.0);
    EXPECT_NEAR((inkTop + inkBottom) / 2.0, 15.0, 3.0);
}

} // namespace
} // namespace pelmora
