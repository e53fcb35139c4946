#pragma once

#include "controls/paint/OlePicture.h"
#include "controls/paint/Drawing.h"

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
    const ColorPalette& defaultPalette() const { return m_palette; }

    /// Tiles the lWidth x lHeight area at the picture's top-left corner over the destination
    /// rectangle, clipping the last row and column; lLeft and lTop are not used. Throws
    /// ControlError 481 unless the picture is a bitmap.
    void TileBitmapToHDC(QImage& lhDCDest, const OlePicture& picSource, int lLeft, int lTop,
                         int lWidth, int lHeight, int lDestLeft, int lDestTop, int lDestWidth,
                         int lDestHeight, const ColorPalette* lhPal = nullptr) const;

    /// Paints a disabled appearing image (embossed) given a source picture object.
    /// Never throws.
    void PaintDisabledPicture(QImage& hDCDest, const OlePicture& picSource, int xDest, int yDest,
                              int Width, int Height, int xSrc = 0, int ySrc = 0,
                              OleColor clrMask = 0xFFFFFF,
                              const ColorPalette* hPal = nullptr) const;

    /// Tiles the 8x8 pattern at the top-left of hdcSrc from (xDest, yDest) over wRequired x
    /// hRequired: black pattern pixels show destBackColor (the destination context's
    /// background colour), all others clrRequired. Never throws.
    void PaintCheckedPattern(QImage& hDCDest, const QImage& hdcSrc, int xDest, int yDest,
                             int wRequired, int hRequired, OleColor clrRequired,
                             const ColorPalette* hPal = nullptr,
                             OleColor destBackColor = 0xFFFFFF) const;

    /// Paints a disabled appearing image of a picture with the given emboss colours.
    void PaintDisabledPictureEx(QImage& hDCDest, int xDest, int yDest, int Width, int Height,
                                const OlePicture& picSource, int xSrc = 0, int ySrc = 0,
                                OleColor clrMask = 0xFFFFFF, OleColor clrHighlight = Sys3DHighlight,
                                OleColor clrShadow = SysButtonShadow,
                                const ColorPalette* hPal = nullptr) const;

    /// Paints a disabled appearing image (embossed) given a source hDC: the source's dark
    /// pixels in clrHighlight one pixel right and down, then in clrShadow at their place;
    /// mask-coloured pixels are never embossed.
    void PaintDisabledDC(QImage& hDCDest, int xDest, int yDest, int Width, int Height,
                         const QImage& hdcSrc, int xSrc = 0, int ySrc = 0,
                         OleColor clrMask = 0xFFFFFF, OleColor clrHighlight = Sys3DHighlight,
                         OleColor clrShadow = SysButtonShadow,
                         const ColorPalette* hPal = nullptr) const;

    /// Paints an image with transparent pixels defined by the mask color.  Accepts an hDC as
    /// its image source.
    void PaintTransparentDC(QImage& hDCDest, int xDest, int yDest, int Width, int Height,
                            const QImage& hdcSrc, int xSrc, int ySrc, OleColor clrMask,
                            const ColorPalette* hPal = nullptr) const;

    /// Paints an image with transparent pixels defined by the mask color.  Accepts a picture
    /// object as its image source.
    void PaintTransparentPicture(QImage& hDCDest, const OlePicture& picSource, int xDest, int yDest,
                                 int Width, int Height, int xSrc, int ySrc, OleColor clrMask,
                                 const ColorPalette* hPal = nullptr) const;

    /// Paints an image provided by a picture object to an hDC with no effects.
    void PaintStandardPicture(QImage& hDCDest, const OlePicture& picSource, int xDest, int yDest,
                              int Width, int Height, int xSrc = 0, int ySrc = 0,
                              const ColorPalette* hPal = nullptr) const;

private:
    const ColorPalette* palette(const ColorPalette* given) const {
        return given ? given : &m_palette;
    }
    bool drawStateDisabled(QImage& dest, const QImage& stencil, int x, int y) const;

    ColorPalette m_palette;
};

} // namespace pelmora
