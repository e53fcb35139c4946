#pragma once

#include <QImage>
#include <QList>
#include <QPoint>
#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

class QPainter;

namespace pelmora {

/// An OLE colour: 0x00BBGGRR, 0x800000nn for system colour nn, 0x01000nnn for entry nnn of
/// a palette, 0x02BBGGRR for a palette-relative colour.
using OleColor = quint32;
/// A translated colour 0x00BBGGRR, or -1 when a colour did not translate.
using ColorRef = qint32;
/// A colour palette (a halftone palette stands in for the platform's palettes).
using ColorPalette = QList<QRgb>;

/// The OLE colour -1: "no colour", e.g. no fill for Draw3DRect.
inline constexpr OleColor kNoColor = 0xFFFFFFFFu;

/// System colour numbers used by the controls.
enum SystemColor : OleColor {
    SysButtonFace = 0x8000000Fu,
    SysButtonShadow = 0x80000010u,
    SysGrayText = 0x80000011u,
    SysButtonText = 0x80000012u,
    SysHighlight = 0x8000000Du,
    SysHighlightText = 0x8000000Eu,
    Sys3DHighlight = 0x80000014u,
    Sys3DDarkShadow = 0x80000015u,
    Sys3DLight = 0x80000016u,
    SysInfoText = 0x80000017u,
    SysInfoBackground = 0x80000018u,
    SysMenu = 0x80000004u,
    SysMenuText = 0x80000007u,
    SysWindow = 0x80000005u,
    SysWindowText = 0x80000008u,
};

/// The OLE colour of a red, green and blue triple (each 0..255).
constexpr OleColor OleRgb(int red, int green, int blue) {
    return OleColor(red & 0xFF) | (OleColor(green & 0xFF) << 8) | (OleColor(blue & 0xFF) << 16);
}

/// Rounds to the nearest integer, halves to the even neighbour.
int RoundHalfEven(double value);

/// Translates an OLE colour to 0x00BBGGRR; -1 when it does not translate (unknown system
/// colour, palette index without a palette or out of range, unknown high byte). System
/// colours come from the application palette where Qt has the role, otherwise from the
/// classic Windows scheme.
ColorRef TranslateOleColor(OleColor colour, const ColorPalette* palette = nullptr);
/// The translated colour as an opaque QRgb, or nothing when it does not translate.
std::optional<QRgb> OleColorToRgb(OleColor colour, const ColorPalette* palette = nullptr);
/// 0x00BBGGRR as an opaque QRgb.
QRgb ColorRefToRgb(ColorRef colour);
/// A QRgb as 0x00BBGGRR (alpha dropped).
ColorRef RgbToColorRef(QRgb colour);
/// A 256-entry halftone palette: a 6x6x6 colour cube followed by a grey ramp.
ColorPalette CreateHalftonePalette();

/// Fills colours[0..n] (n = size - 1) with a gradient that starts one step after from:
/// entry i is from + (i + 1) * (to - from) / n per component, clamped to 0..255 and rounded
/// halves to even. A single entry is from itself. Returns false (array untouched) when a
/// colour does not translate.
bool BuildGradientColors(OleColor fromColor, OleColor toColor, std::vector<ColorRef>& colours);

/// Draws a gradient with lines: style 0 one vertical line per column x1..x2, style 1 one
/// horizontal line per row (mirror > 0: the upper half mirrored into the lower half).
/// Lines end one pixel before their end point, as the platform draws them.
void DrawGradient(QImage& surface, int x1, int y1, int x2, int y2, OleColor fromColor,
                  OleColor toColor, int style, int mirror);

/// Draws a line from (x1, y1) towards (x2, y2), the end point itself excluded. Like every
/// image routine here it writes pixels directly (no QPainter) and clips to the image.
void DrawLine(QImage& surface, int x1, int y1, int x2, int y2, OleColor colour);

/// A 3-D frame: top and left edges in light, bottom and right edges in dark, first filled
/// with fill unless fill is kNoColor.
void Draw3DRect(QImage& surface, int left, int top, int width, int height, OleColor lightColor,
                OleColor darkColor, OleColor fillColor = kNoColor);

/// Fills the rectangle (left, top)-(left + width - 1, top + height - 1) with its right and
/// bottom edges exclusive, i.e. (width - 1) x (height - 1) pixels.
void FillSolidRect(QImage& surface, int left, int top, int width, int height, OleColor colour);

/// Replaces points with the 13-point outline of the rectangle with 2-pixel cut corners, at
/// indices 1..13 (index 0 unused, first and last point equal); returns 13.
int BuildRoundRectPoints(std::vector<QPoint>& points, float x1, float y1, float x2, float y2);

/// Format flags of DrawTextInRect.
enum DrawTextFormat : int {
    DtLeft = 0x0,
    DtCenter = 0x1,
    DtRight = 0x2,
    DtVCenter = 0x4,
    DtBottom = 0x8,
    DtWordBreak = 0x10,
    DtSingleLine = 0x20,
    DtExpandTabs = 0x40,
    DtNoClip = 0x100,
    DtNoPrefix = 0x800,
};

/// Draws text with the painter's font and pen into the rectangle (left, top, left + width,
/// top + height), each value rounded. "&" marks a mnemonic unless DtNoPrefix; vertical
/// alignment applies to single lines only; clipped to the rectangle unless DtNoClip.
void DrawTextInRect(QPainter& painter, const QString& text, float left, float top, float width,
                    float height, int format);

} // namespace pelmora
