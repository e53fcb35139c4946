#pragma once

#include "controls/paint/Drawing.h"
#include "controls/paint/OlePicture.h"

#include <QImage>

namespace pelmora {

/// Picture painting with effects: plain, transparent (one colour left out), disabled
/// (embossed), the checked background pattern and tiling. Destinations and sources are
/// images; a monochrome (Format_Mono) source shows its 0 bits in colour-table entry 0 (the
/// text colour) and its 1 bits in entry 1 (the background colour). A null palette means
/// the object's halftone palette. Sizes that are zero or negative paint nothing, and so does
/// any colour that does not translate. The routines write the destination's pixels directly
/// and open no QPainter on it, so a caller may keep its own painter open; a destination that
/// is not 32-bit is converted to ARGB32 premultiplied first.
class PaintEffects {
public:
    /// Creates the default halftone palette.
    PaintEffects();

    /// The palette used when a method is given none.
    const ColorPalette& defaultPalette() const { return palette_; }

    /// Tiles the tileWidth x tileHeight area at the picture's top-left corner over the destination
    /// rectangle, clipping the last row and column; left and top are not used. Throws
    /// ControlError 481 unless the picture is a bitmap.
    void TileBitmapToHDC(QImage& dest, const OlePicture& sourcePicture, int left, int top,
                         int tileWidth, int tileHeight, int destLeft, int destTop, int destWidth,
                         int destHeight, const ColorPalette* givenPalette = nullptr) const;

    /// Paints a disabled appearing image (embossed) given a source picture object.
    /// Never throws.
    void PaintDisabledPicture(QImage& dest, const OlePicture& sourcePicture, int xDest, int yDest,
                              int width, int height, int xSrc = 0, int ySrc = 0,
                              OleColor maskColor = 0xFFFFFF,
                              const ColorPalette* givenPalette = nullptr) const;

    /// Tiles the 8x8 pattern at the top-left of sourceImage from (xDest, yDest) over areaWidth x
    /// areaHeight: black pattern pixels show destBackColor (the destination context's
    /// background colour), all others patternColor. Never throws.
    void PaintCheckedPattern(QImage& dest, const QImage& sourceImage, int xDest, int yDest,
                             int areaWidth, int areaHeight, OleColor patternColor,
                             const ColorPalette* givenPalette = nullptr,
                             OleColor destBackColor = 0xFFFFFF) const;

    /// Paints a disabled appearing image of a picture with the given emboss colours.
    void PaintDisabledPictureEx(QImage& dest, int xDest, int yDest, int width, int height,
                                const OlePicture& sourcePicture, int xSrc = 0, int ySrc = 0,
                                OleColor maskColor = 0xFFFFFF,
                                OleColor highlightColor = Sys3DHighlight,
                                OleColor shadowColor = SysButtonShadow,
                                const ColorPalette* givenPalette = nullptr) const;

    /// Paints a disabled appearing image (embossed) given a source hDC: the source's dark
    /// pixels in highlightColor one pixel right and down, then in shadowColor at their place;
    /// mask-coloured pixels are never embossed.
    void PaintDisabledDC(QImage& dest, int xDest, int yDest, int width, int height,
                         const QImage& sourceImage, int xSrc = 0, int ySrc = 0,
                         OleColor maskColor = 0xFFFFFF, OleColor highlightColor = Sys3DHighlight,
                         OleColor shadowColor = SysButtonShadow,
                         const ColorPalette* givenPalette = nullptr) const;

    /// Paints an image with transparent pixels defined by the mask color.  Accepts an hDC as
    /// its image source.
    void PaintTransparentDC(QImage& dest, int xDest, int yDest, int width, int height,
                            const QImage& sourceImage, int xSrc, int ySrc, OleColor maskColor,
                            const ColorPalette* givenPalette = nullptr) const;

    /// Paints an image with transparent pixels defined by the mask color.  Accepts a picture
    /// object as its image source.
    void PaintTransparentPicture(QImage& dest, const OlePicture& sourcePicture, int xDest,
                                 int yDest, int width, int height, int xSrc, int ySrc,
                                 OleColor maskColor,
                                 const ColorPalette* givenPalette = nullptr) const;

    /// Paints an image provided by a picture object to an hDC with no effects.
    void PaintStandardPicture(QImage& dest, const OlePicture& sourcePicture, int xDest, int yDest,
                              int width, int height, int xSrc = 0, int ySrc = 0,
                              const ColorPalette* givenPalette = nullptr) const;

private:
    const ColorPalette* palette(const ColorPalette* given) const {
        return given ? given : &palette_;
    }
    bool drawStateDisabled(QImage& dest, const QImage& stencil, int x, int y) const;

    ColorPalette palette_;
};

} // namespace pelmora
