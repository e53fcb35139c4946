#include "controls/paint/PaintEffects.h"

#include "controls/paint/ControlError.h"
#include "controls/paint/PixelOps.h"

#include <algorithm>
#include <cstdint>

namespace pelmora {

using namespace pixelops;

namespace {

constexpr QRgb kBlack = 0xFF000000u;
constexpr QRgb kWhite = 0xFFFFFFFFu;

// Bitmaps are opaque pixel grids; whatever alpha the image carries is not theirs.
void makeOpaque(QImage& argb) {
    for (int y = 0; y < argb.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(argb.scanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            line[x] |= 0xFF000000u;
        }
    }
}

// First tile position that can still reach the visible part (x >= -step), so that huge
// negative origins do not loop through positions that are clipped away anyway.
std::int64_t firstVisible(std::int64_t start, std::int64_t step) {
    if (start >= -step) {
        return start;
    }
    return start + ((-step - start) / step) * step;
}

// The tiling loops of the pattern and the tiles: from start to start + span inclusive in
// steps, each copy min(step, end - position) wide; positions past the image are skipped.
template <typename Copy>
void tile(std::int64_t x0, std::int64_t width, std::int64_t stepX, std::int64_t y0,
          std::int64_t height, std::int64_t stepY, const QImage& dest, Copy copy) {
    const std::int64_t endX = x0 + width;
    const std::int64_t endY = y0 + height;
    for (std::int64_t x = firstVisible(x0, stepX); x <= endX && x < dest.width(); x += stepX) {
        for (std::int64_t y = firstVisible(y0, stepY); y <= endY && y < dest.height(); y += stepY) {
            const int w = int(std::min(stepX, endX - x));
            const int h = int(std::min(stepY, endY - y));
            if (w > 0 && h > 0) {
                copy(int(x), int(y), w, h);
            }
        }
    }
}

// A stencil of an icon for the platform-style disabled drawing: opaque pixels dark.
QImage iconStencil(const QImage& icon) {
    QImage argb = icon.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(argb.scanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            line[x] = qAlpha(line[x]) >= 128 ? kBlack : kWhite;
        }
    }
    return argb;
}

} // namespace

PaintEffects::PaintEffects() : palette_(CreateHalftonePalette()) {}

void PaintEffects::TileBitmapToHDC(QImage& dest, const OlePicture& sourcePicture, int, int,
                                   int tileWidth, int tileHeight, int destLeft, int destTop,
                                   int destWidth, int destHeight, const ColorPalette*) const {
    if (sourcePicture.type() != OlePicture::Type::Bitmap) {
        throw ControlError(481, QString(),
                           ControlError::sourceText(QStringLiteral("gdcPaintEffects"),
                                                    QStringLiteral("TileBitmapToHDC")));
    }
    if (tileWidth <= 0 || tileHeight <= 0 || dest.isNull()) {
        return;
    }
    QImage tileImage = ReadArea(sourcePicture.image(), 0, 0, tileWidth, tileHeight);
    if (tileImage.isNull()) {
        return;
    }
    makeOpaque(tileImage);
    tile(destLeft, destWidth, tileWidth, destTop, destHeight, tileHeight, dest,
         [&](int x, int y, int w, int h) { WriteArea(dest, x, y, tileImage, 0, 0, w, h); });
}

bool PaintEffects::drawStateDisabled(QImage& dest, const QImage& stencil, int x, int y) const {
    if (stencil.isNull() || dest.isNull() || !OleColorToRgb(Sys3DHighlight) ||
        !OleColorToRgb(SysButtonShadow)) {
        return false;
    }
    PaintDisabledDC(dest, x, y, stencil.width(), stencil.height(), stencil, 0, 0, 0xFFFFFF,
                    Sys3DHighlight, SysButtonShadow);
    return true;
}

void PaintEffects::PaintDisabledPicture(QImage& dest, const OlePicture& sourcePicture, int xDest,
                                        int yDest, int width, int height, int xSrc, int ySrc,
                                        OleColor maskColor,
                                        const ColorPalette* givenPalette) const {
    if (sourcePicture.isNone()) {
        return;
    }
    try {
        bool drawn = false;
        if (sourcePicture.type() == OlePicture::Type::Icon) {
            drawn = drawStateDisabled(dest, iconStencil(sourcePicture.image()), xDest, yDest);
        } else {
            QImage onWhite = MakeBuffer(width, height, kWhite);
            if (!onWhite.isNull()) {
                PaintTransparentPicture(onWhite, sourcePicture, 0, 0, width, height, xSrc, ySrc,
                                        maskColor);
                drawn = drawStateDisabled(dest, onWhite, xDest, yDest);
            }
        }
        if (!drawn) {
            PaintDisabledPictureEx(dest, xDest, yDest, width, height, sourcePicture, xSrc, ySrc,
                                   maskColor, Sys3DHighlight, SysButtonShadow, givenPalette);
        }
    } catch (...) {
        // A disabled picture is decoration; a failure must not stop the caller's painting.
    }
}

void PaintEffects::PaintCheckedPattern(QImage& dest, const QImage& sourceImage, int xDest,
                                       int yDest, int areaWidth, int areaHeight,
                                       OleColor patternColor, const ColorPalette* givenPalette,
                                       OleColor destBackColor) const {
    try {
        const auto colour = OleColorToRgb(patternColor, palette(givenPalette));
        const auto back = OleColorToRgb(destBackColor);
        if (!colour || !back || dest.isNull() || areaWidth < 0 || areaHeight < 0) {
            return;
        }
        const QImage pattern = ReadArea(sourceImage, 0, 0, 8, 8);
        // Black pattern pixels become 1 bits, shown in the destination's background colour;
        // all others become 0 bits, shown in the requested colour.
        const QImage tileImage = Monochrome(pattern, *colour, *back, [](QRgb c) {
                                     return SameRgb(c, kBlack);
                                 }).convertToFormat(QImage::Format_ARGB32);
        tile(xDest, areaWidth, 8, yDest, areaHeight, 8, dest,
             [&](int x, int y, int w, int h) { WriteArea(dest, x, y, tileImage, 0, 0, w, h); });
    } catch (...) {
        // The pattern is a background; a failure leaves it unpainted.
    }
}

void PaintEffects::PaintDisabledPictureEx(QImage& dest, int xDest, int yDest, int width, int height,
                                          const OlePicture& sourcePicture, int xSrc, int ySrc,
                                          OleColor maskColor, OleColor highlightColor,
                                          OleColor shadowColor,
                                          const ColorPalette* givenPalette) const {
    switch (sourcePicture.type()) {
    case OlePicture::Type::Bitmap:
        PaintDisabledDC(dest, xDest, yDest, width, height, sourcePicture.image(), xSrc, ySrc,
                        maskColor, highlightColor, shadowColor, givenPalette);
        break;
    case OlePicture::Type::Icon:
        if (!drawStateDisabled(dest, iconStencil(sourcePicture.image()), xDest, yDest)) {
            const auto mask = OleColorToRgb(maskColor);
            QImage canvas = MakeBuffer(width, height, mask.value_or(kWhite));
            if (!mask || canvas.isNull()) {
                return;
            }
            BlendArea(canvas, 0, 0, sourcePicture.image());
            PaintDisabledDC(dest, xDest, yDest, width, height, canvas, 0, 0, maskColor,
                            highlightColor, shadowColor, givenPalette);
        }
        break;
    case OlePicture::Type::None:
        break;
    }
}

void PaintEffects::PaintDisabledDC(QImage& dest, int xDest, int yDest, int width, int height,
                                   const QImage& sourceImage, int xSrc, int ySrc,
                                   OleColor maskColor, OleColor highlightColor,
                                   OleColor shadowColor, const ColorPalette* givenPalette) const {
    if (width <= 0 || height <= 0 || dest.isNull()) {
        return;
    }
    const ColorPalette* pal = palette(givenPalette);
    const ColorRef shadow = TranslateOleColor(shadowColor, pal);
    const ColorRef highlight = TranslateOleColor(highlightColor, pal);
    const ColorRef white = TranslateOleColor(0xFFFFFF, pal);
    const ColorRef mask = TranslateOleColor(maskColor, pal);
    if (shadow < 0 || highlight < 0 || white < 0 || mask < 0) {
        return;
    }

    // The two-colour image: every pixel black or white, whichever is nearer; mask-coloured
    // pixels are first made white so they are never embossed.
    QImage picture;
    if (mask == white) {
        picture = ReadArea(sourceImage, xSrc, ySrc, width, height);
    } else {
        picture = MakeBuffer(width, height, kWhite);
        if (!picture.isNull()) {
            PaintTransparentDC(picture, 0, 0, width, height, sourceImage, xSrc, ySrc, maskColor,
                               givenPalette);
        }
    }
    QImage work = ReadArea(dest, xDest, yDest, width, height);
    if (picture.isNull() || work.isNull()) {
        return;
    }
    const QImage twoColour = Monochrome(picture, kBlack, kWhite, NearerWhite);

    // The key colour stands for "not embossed" and must differ from both emboss colours.
    ColorRef key = 0;
    for (const OleColor candidate : {OleColor(0x000000), OleColor(0x0000FF), OleColor(0xFF0000)}) {
        key = TranslateOleColor(candidate, pal);
        if (key != highlight && key != shadow) {
            break;
        }
    }

    // With the colour table swapped the dark pixels read white, so the stencil gets 1 bits
    // exactly there; its context shows 1 bits in the emboss colour and 0 bits in the key.
    QImage stencil(width, height, QImage::Format_Mono);
    if (stencil.isNull()) {
        return;
    }
    stencil.fill(0);
    for (int y = 0; y < height; ++y) {
        uchar* out = stencil.scanLine(y);
        for (int x = 0; x < width; ++x) {
            if (!MonoBit(twoColour, x, y)) {
                out[x >> 3] |= uchar(0x80 >> (x & 7));
            }
        }
    }
    stencil.setColorTable({ColorRefToRgb(key), ColorRefToRgb(highlight)});
    PaintTransparentDC(work, 1, 1, width, height, stencil, 0, 0, OleColor(key), givenPalette);
    stencil.setColorTable({ColorRefToRgb(key), ColorRefToRgb(shadow)});
    PaintTransparentDC(work, 0, 0, width, height, stencil, 0, 0, OleColor(key), givenPalette);

    WriteArea(dest, xDest, yDest, work);
}

void PaintEffects::PaintTransparentDC(QImage& dest, int xDest, int yDest, int width, int height,
                                      const QImage& sourceImage, int xSrc, int ySrc,
                                      OleColor maskColor, const ColorPalette* givenPalette) const {
    if (width <= 0 || height <= 0 || dest.isNull()) {
        return;
    }
    const auto mask = OleColorToRgb(maskColor, palette(givenPalette));
    if (!mask) {
        return;
    }
    QImage result = ReadArea(dest, xDest, yDest, width, height);
    QImage source = ReadArea(sourceImage, xSrc, ySrc, width, height);
    if (result.isNull() || source.isNull()) {
        return;
    }
    for (int y = 0; y < height; ++y) {
        auto* res = reinterpret_cast<QRgb*>(result.scanLine(y));
        const auto* src = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            // The mask: 1 (all bits set) where the source has the mask colour.
            const QRgb m = SameRgb(src[x], *mask) ? 0xFFFFFFFFu : 0u;
            // Source AND NOT mask: mask-coloured pixels of the image become black.
            const QRgb s = (src[x] | 0xFF000000u) & ~m;
            // Background AND mask keeps it only where the image is transparent; OR adds
            // the image.
            res[x] = (res[x] & m) | s;
        }
    }
    WriteArea(dest, xDest, yDest, result);
}

void PaintEffects::PaintTransparentPicture(QImage& dest, const OlePicture& sourcePicture, int xDest,
                                           int yDest, int width, int height, int xSrc, int ySrc,
                                           OleColor maskColor,
                                           const ColorPalette* givenPalette) const {
    switch (sourcePicture.type()) {
    case OlePicture::Type::Bitmap:
        PaintTransparentDC(dest, xDest, yDest, width, height, sourcePicture.image(), xSrc, ySrc,
                           maskColor, givenPalette);
        break;
    case OlePicture::Type::Icon: {
        const ColorRef mask = TranslateOleColor(maskColor);
        QImage canvas = MakeBuffer(width, height, mask < 0 ? kWhite : ColorRefToRgb(mask));
        if (mask < 0 || canvas.isNull()) {
            return;
        }
        BlendArea(canvas, 0, 0, sourcePicture.image());
        PaintTransparentDC(dest, xDest, yDest, width, height, canvas, 0, 0, OleColor(mask),
                           givenPalette);
        break;
    }
    case OlePicture::Type::None:
        break;
    }
}

void PaintEffects::PaintStandardPicture(QImage& dest, const OlePicture& sourcePicture, int xDest,
                                        int yDest, int width, int height, int xSrc, int ySrc,
                                        const ColorPalette*) const {
    if (width <= 0 || height <= 0 || dest.isNull()) {
        return;
    }
    switch (sourcePicture.type()) {
    case OlePicture::Type::Bitmap: {
        QImage area = ReadArea(sourcePicture.image(), xSrc, ySrc, width, height);
        makeOpaque(area);
        WriteArea(dest, xDest, yDest, area);
        break;
    }
    case OlePicture::Type::Icon: {
        const QImage& icon = sourcePicture.image();
        BlendArea(
            dest, xDest, yDest,
            icon.size() == QSize(width, height)
                ? icon
                : icon.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        break;
    }
    case OlePicture::Type::None:
        break;
    }
}

} // namespace pelmora
