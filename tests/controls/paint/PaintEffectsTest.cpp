#include "controls/paint/PaintEffects.h"
#include "controls/paint/ControlError.h"
#include "controls/paint/MemoryBitmap.h"

#include <QImage>
#include <gtest/gtest.h>

namespace pelmora {
namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kGrey = 0xFF808080;
constexpr QRgb kMagenta = 0xFFFF00FF;
constexpr OleColor kOleMagenta = OleRgb(255, 0, 255);

QImage filled(int w, int h, QRgb colour) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}

// A source whose every pixel differs: (x, y) -> rgb(10 x + 1, 10 y + 1, 77).
QImage distinctSource(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            img.setPixel(x, y, qRgb(10 * x + 1, 10 * y + 1, 77));
        }
    }
    return img;
}

// White with the given dark pixels, the rest of the listed mask pixels in maskColour.
QImage sketch(int w, int h, std::initializer_list<QPoint> dark, QRgb darkColour = 0xFF000000) {
    QImage img = filled(w, h, kWhite);
    for (const QPoint& p : dark) {
        img.setPixel(p, darkColour);
    }
    return img;
}

class PaintEffectsTest : public ::testing::Test {
protected:
    PaintEffects fx;
};

TEST_F(PaintEffectsTest, TransparentWithAbsentMaskCopiesTheSourceUnchanged) {
    const QImage src = distinctSource(5, 4);
    QImage dest = filled(9, 8, kGrey);
    fx.PaintTransparentDC(dest, 2, 3, 5, 4, src, 0, 0, kOleMagenta);
    EXPECT_EQ(dest.copy(2, 3, 5, 4), src);
    EXPECT_EQ(dest.pixel(1, 3), kGrey);
    EXPECT_EQ(dest.pixel(7, 6), kGrey);
    EXPECT_EQ(dest.pixel(2, 7), kGrey);
}

TEST_F(PaintEffectsTest, MaskColouredPixelsKeepTheDestination) {
    QImage src = distinctSource(4, 4);
    src.setPixel(1, 1, kMagenta);
    src.setPixel(3, 2, kMagenta);
    const QImage background = distinctSource(6, 6).mirrored(true, false);
    QImage dest = background;
    // Source offset (1, 1): source (1, 1) lands on dest (0, 0).
    fx.PaintTransparentDC(dest, 0, 0, 3, 3, src, 1, 1, kOleMagenta);
    EXPECT_EQ(dest.pixel(0, 0), background.pixel(0, 0));
    EXPECT_EQ(dest.pixel(2, 1), background.pixel(2, 1));
    EXPECT_EQ(dest.pixel(1, 0), src.pixel(2, 1));
    EXPECT_EQ(dest.pixel(2, 2), src.pixel(3, 3));
    EXPECT_EQ(dest.pixel(3, 0), background.pixel(3, 0));
}

TEST_F(PaintEffectsTest, MonochromeSourceShowsItsOwnContextColours) {
    QImage mono(2, 1, QImage::Format_Mono);
    mono.setColorTable({qRgb(0, 0, 255), qRgb(0, 255, 0)}); // text blue, background green
    mono.setPixel(0, 0, 0);
    mono.setPixel(1, 0, 1);
    QImage dest = filled(2, 1, kGrey);
    fx.PaintTransparentDC(dest, 0, 0, 2, 1, mono, 0, 0, OleRgb(0, 255, 0));
    EXPECT_EQ(dest.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(dest.pixel(1, 0), kGrey);
}

TEST_F(PaintEffectsTest, DisabledEmbossesDarkPixelsHighlightOffsetShadowInPlace) {
    const OleColor highlight = OleRgb(255, 255, 0);
    const OleColor shadow = OleRgb(0, 0, 128);
    // A dark-grey pixel counts as dark; a light-grey one as light; the mask colour is dark
    // but never embossed.
    QImage src = sketch(6, 6, {QPoint(1, 1)}, qRgb(60, 60, 60));
    src.setPixel(4, 1, qRgb(200, 200, 200));
    src.setPixel(1, 4, qRgb(0, 0, 100));
    QImage dest = filled(8, 8, kGrey);
    fx.PaintDisabledDC(dest, 1, 1, 6, 6, src, 0, 0, OleRgb(0, 0, 100), highlight, shadow);
    EXPECT_EQ(dest.pixel(2, 2), qRgb(0, 0, 128)) << "shadow at the pixel itself";
    EXPECT_EQ(dest.pixel(3, 3), qRgb(255, 255, 0)) << "highlight one right and one down";
    EXPECT_EQ(dest.pixel(5, 2), kGrey) << "light pixels are not embossed";
    EXPECT_EQ(dest.pixel(2, 5), kGrey) << "mask-coloured pixels are not embossed";
    EXPECT_EQ(dest.pixel(3, 6), kGrey);
    EXPECT_EQ(dest.pixel(0, 0), kGrey);
}

TEST_F(PaintEffectsTest, DisabledWithWhiteMaskUsesTheSourceDirectly) {
    const QImage src = sketch(4, 4, {QPoint(0, 0), QPoint(1, 1)});
    QImage dest = filled(4, 4, kGrey);
    fx.PaintDisabledDC(dest, 0, 0, 4, 4, src, 0, 0, 0xFFFFFF, OleRgb(255, 255, 255),
                       OleRgb(64, 64, 64));
    EXPECT_EQ(dest.pixel(0, 0), qRgb(64, 64, 64));
    EXPECT_EQ(dest.pixel(1, 1), qRgb(64, 64, 64)); // the shadow is drawn over the highlight
    EXPECT_EQ(dest.pixel(2, 2), qRgb(255, 255, 255));
    EXPECT_EQ(dest.pixel(3, 3), kGrey);
    EXPECT_EQ(dest.pixel(3, 0), kGrey);
}

TEST_F(PaintEffectsTest, KeyColourFallsBackToRedThenBlue) {
    const QImage src = sketch(3, 3, {QPoint(0, 0)});
    // Highlight black: a black key would hide the highlight, so red is the key.
    QImage dest = filled(3, 3, kGrey);
    fx.PaintDisabledDC(dest, 0, 0, 3, 3, src, 0, 0, 0xFFFFFF, 0x000000, OleRgb(0, 128, 0));
    EXPECT_EQ(dest.pixel(1, 1), qRgb(0, 0, 0));
    EXPECT_EQ(dest.pixel(0, 0), qRgb(0, 128, 0));
    // Highlight black and shadow red: blue is the key, both colours are drawn.
    dest = filled(3, 3, kGrey);
    fx.PaintDisabledDC(dest, 0, 0, 3, 3, src, 0, 0, 0xFFFFFF, 0x000000, OleRgb(255, 0, 0));
    EXPECT_EQ(dest.pixel(1, 1), qRgb(0, 0, 0));
    EXPECT_EQ(dest.pixel(0, 0), qRgb(255, 0, 0));
    // Highlight red and shadow black: blue again.
    dest = filled(3, 3, kGrey);
    fx.PaintDisabledDC(dest, 0, 0, 3, 3, src, 0, 0, 0xFFFFFF, OleRgb(255, 0, 0), 0x000000);
    EXPECT_EQ(dest.pixel(1, 1), qRgb(255, 0, 0));
    EXPECT_EQ(dest.pixel(0, 0), qRgb(0, 0, 0));
}

TEST_F(PaintEffectsTest, CheckedPatternTilesEveryEightPixelsUpToTheInclusiveEnd) {
    MemoryBitmap dither;
    ASSERT_TRUE(dither.CreateByResource(QStringLiteral("DITHER")));
    QImage dest = filled(30, 12, kGrey);
    fx.PaintCheckedPattern(dest, dither.hdc(), 2, 1, 16, 8, OleRgb(255, 0, 0), nullptr,
                           OleRgb(255, 255, 255));
    // The checkerboard's white corner pixel takes the colour, its black neighbours the
    // destination's background.
    for (const int x0 : {2, 10}) {
        EXPECT_EQ(dest.pixel(x0, 1), qRgb(255, 0, 0)) << x0;
        EXPECT_EQ(dest.pixel(x0 + 1, 1), qRgb(255, 255, 255)) << x0;
        EXPECT_EQ(dest.pixel(x0, 2), qRgb(255, 255, 255)) << x0;
        EXPECT_EQ(dest.pixel(x0 + 7, 8), qRgb(255, 0, 0)) << x0;
    }
    // The copy at x + 16 and the row at y + 8 are zero wide and high.
    EXPECT_EQ(dest.pixel(18, 1), kGrey);
    EXPECT_EQ(dest.pixel(17, 9), kGrey);
    EXPECT_EQ(dest.pixel(1, 1), kGrey);

    // A width that is not a multiple of eight clips the last copy.
    dest = filled(30, 12, kGrey);
    fx.PaintCheckedPattern(dest, dither.hdc(), 0, 0, 11, 3, OleRgb(0, 0, 255));
    EXPECT_EQ(dest.pixel(10, 0), qRgb(0, 0, 255));
    EXPECT_EQ(dest.pixel(10, 2), qRgb(0, 0, 255));
    EXPECT_EQ(dest.pixel(9, 2), qRgb(255, 255, 255));
    EXPECT_EQ(dest.pixel(11, 0), kGrey);
    EXPECT_EQ(dest.pixel(0, 3), kGrey);
}

TEST_F(PaintEffectsTest, TileIsCopiedFromTheCornerAndClippedAtTheEnd) {
    const QImage picture = distinctSource(4, 4);
    QImage dest = filled(12, 6, kGrey);
    fx.TileBitmapToHDC(dest, OlePicture::bitmap(picture), 1, 1, 3, 2, 1, 1, 7, 3);
    for (int x = 0; x < 7; ++x) {
        for (int y = 0; y < 3; ++y) {
            EXPECT_EQ(dest.pixel(1 + x, 1 + y), picture.pixel(x % 3, y % 2)) << x << "," << y;
        }
    }
    EXPECT_EQ(dest.pixel(8, 1), kGrey);
    EXPECT_EQ(dest.pixel(1, 4), kGrey);
    EXPECT_EQ(dest.pixel(0, 1), kGrey);

    // Tiles past the image's edge are clipped, huge areas do not loop for ever.
    QImage small = filled(5, 5, kGrey);
    fx.TileBitmapToHDC(small, OlePicture::bitmap(picture), 0, 0, 2, 2, -1000000000, 3, 2000000000,
                       2000000000);
    EXPECT_EQ(small.pixel(0, 3), picture.pixel(0, 0));
    EXPECT_EQ(small.pixel(4, 4), picture.pixel(0, 1));
    EXPECT_EQ(small.pixel(4, 2), kGrey);
}

TEST_F(PaintEffectsTest, TileOfAnythingButABitmapRaises481BeforeDrawing) {
    QImage dest = filled(4, 4, kGrey);
    const QImage before = dest;
    for (const OlePicture& picture : {OlePicture(), OlePicture::icon(distinctSource(2, 2))}) {
        try {
            fx.TileBitmapToHDC(dest, picture, 0, 0, 2, 2, 0, 0, 4, 4);
            FAIL() << "no error raised";
        } catch (const ControlError& e) {
            EXPECT_EQ(e.number(), 481);
            EXPECT_EQ(e.description(), QStringLiteral("Invalid picture"));
            EXPECT_TRUE(e.source().endsWith(QStringLiteral(".gdcPaintEffects:TileBitmapToHDC")));
        }
    }
    EXPECT_EQ(dest, before);
}

TEST_F(PaintEffectsTest, NothingEmptySizesAndBadColoursPaintNothing) {
    const QImage before = filled(6, 6, kGrey);
    QImage dest = before;
    const OlePicture none;
    const OlePicture bitmap = OlePicture::bitmap(distinctSource(4, 4));
    EXPECT_NO_THROW(fx.PaintDisabledPicture(dest, none, 0, 0, 4, 4));
    EXPECT_NO_THROW(fx.PaintDisabledPictureEx(dest, 0, 0, 4, 4, none));
    EXPECT_NO_THROW(fx.PaintTransparentPicture(dest, none, 0, 0, 4, 4, 0, 0, 0));
    EXPECT_NO_THROW(fx.PaintStandardPicture(dest, none, 0, 0, 4, 4));
    for (const int size : {0, -3}) {
        fx.PaintStandardPicture(dest, bitmap, 0, 0, size, 4);
        fx.PaintTransparentPicture(dest, bitmap, 0, 0, 4, size, 0, 0, kOleMagenta);
        fx.PaintDisabledPicture(dest, bitmap, 0, 0, size, size);
        fx.PaintDisabledDC(dest, 0, 0, size, 4, bitmap.image());
        fx.PaintCheckedPattern(dest, bitmap.image(), 0, 0, size, size, 0);
    }
    fx.PaintTransparentDC(dest, 0, 0, 4, 4, bitmap.image(), 0, 0, kNoColor);
    fx.PaintDisabledDC(dest, 0, 0, 4, 4, bitmap.image(), 0, 0, 0xFFFFFF, 0x8000001F);
    fx.PaintCheckedPattern(dest, bitmap.image(), 0, 0, 4, 4, 0x7F000000);
    EXPECT_EQ(dest, before);
}

TEST_F(PaintEffectsTest, StandardPictureCopiesBitmapsAndScalesIconsWithAlpha) {
    const QImage picture = distinctSource(6, 6);
    QImage dest = filled(6, 6, kGrey);
    fx.PaintStandardPicture(dest, OlePicture::bitmap(picture), 1, 1, 3, 2, 2, 3);
    EXPECT_EQ(dest.pixel(1, 1), picture.pixel(2, 3));
    EXPECT_EQ(dest.pixel(3, 2), picture.pixel(4, 4));
    EXPECT_EQ(dest.pixel(4, 1), kGrey);

    // A 2x2 icon, its right column transparent, drawn at 4x4 ignoring the source offset.
    QImage icon(2, 2, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    icon.setPixel(0, 0, qRgba(255, 0, 0, 255));
    icon.setPixel(0, 1, qRgba(255, 0, 0, 255));
    dest = filled(6, 6, kGrey);
    fx.PaintStandardPicture(dest, OlePicture::icon(icon), 1, 1, 4, 4, 5, 5);
    EXPECT_EQ(dest.pixel(1, 1), qRgb(255, 0, 0));
    EXPECT_EQ(dest.pixel(1, 4), qRgb(255, 0, 0));
    EXPECT_EQ(dest.pixel(4, 2), kGrey);
    EXPECT_EQ(dest.pixel(5, 5), kGrey);
}

TEST_F(PaintEffectsTest, TransparentIconKeepsTheBackgroundBehindItsClearPixels) {
    QImage icon(3, 3, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    icon.setPixel(1, 1, qRgba(0, 0, 255, 255));
    QImage dest = distinctSource(4, 4);
    const QImage before = dest;
    fx.PaintTransparentPicture(dest, OlePicture::icon(icon), 1, 1, 3, 3, 0, 0, kOleMagenta);
    EXPECT_EQ(dest.pixel(2, 2), qRgb(0, 0, 255));
    EXPECT_EQ(dest.pixel(1, 1), before.pixel(1, 1));
    EXPECT_EQ(dest.pixel(3, 3), before.pixel(3, 3));
}

TEST_F(PaintEffectsTest, DisabledPictureEmbossesInTheSystemColours) {
    const QRgb highlight = *OleColorToRgb(Sys3DHighlight);
    const QRgb shadow = *OleColorToRgb(SysButtonShadow);
    ASSERT_NE(highlight, shadow);
    const QRgb back = qRgb(1, 2, 3);
    // A bitmap: its mask-coloured pixels vanish, its dark pixels are embossed.
    QImage picture = filled(4, 4, kMagenta);
    picture.setPixel(1, 1, qRgb(0, 0, 0));
    QImage dest = filled(5, 5, back);
    fx.PaintDisabledPicture(dest, OlePicture::bitmap(picture), 0, 0, 4, 4, 0, 0, kOleMagenta);
    EXPECT_EQ(dest.pixel(1, 1), shadow);
    EXPECT_EQ(dest.pixel(2, 2), highlight);
    EXPECT_EQ(dest.pixel(0, 0), back);
    EXPECT_EQ(dest.pixel(3, 1), back);

    // An icon: its opaque pixels are embossed, whatever their colour.
    QImage icon(3, 3, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    icon.setPixel(0, 0, qRgba(250, 250, 250, 255));
    dest = filled(5, 5, back);
    fx.PaintDisabledPicture(dest, OlePicture::icon(icon), 1, 1, 3, 3);
    EXPECT_EQ(dest.pixel(1, 1), shadow);
    EXPECT_EQ(dest.pixel(2, 2), highlight);
    EXPECT_EQ(dest.pixel(3, 3), back);
}

} // namespace
} // namespace pelmora
