#pragma once

#include <QColor>
#include <QString>
#include <cstdint>

class QPainter;
class QFont;

namespace pelmora {

// Drawing steps shared by the menu bar and its popup windows. Coordinates are pixels;
// rectangles are given by their corners, both included, as the menu's line drawing does.

/// Named colours of the menus (OLE values, 0x00BBGGRR).
namespace MenuColors {
constexpr std::uint32_t White = 0xFFFFFF;
constexpr std::uint32_t DarkGrey = 0x808080;
constexpr std::uint32_t LightGrey = 0xC0C0C0;
constexpr std::uint32_t Black = 0x000000;
constexpr std::uint32_t LightBlue = 0xFF8080;
constexpr std::uint32_t DarkBlue = 0x800000;
constexpr std::uint32_t ButtonFace = 0x8000000F;
constexpr std::uint32_t WindowColor = 0x80000005;
} // namespace MenuColors

/// An OLE colour as a QColor (system colours translated).
QColor MenuColor(std::uint32_t oleColor);
/// A filled rectangle between two corners, both included.
void FillBox(QPainter& p, int x1, int y1, int x2, int y2, std::uint32_t color);
/// A one-pixel rectangle outline between two corners.
void OutlineBox(QPainter& p, int x1, int y1, int x2, int y2, std::uint32_t color);
/// A one-pixel line.
void MenuLine(QPainter& p, int x1, int y1, int x2, int y2, std::uint32_t color);
/// Four lines round a rectangle: top, right, bottom, left, each in its own colour.
void DrawFrame(QPainter& p, int left, int top, int right, int bottom, std::uint32_t topColor,
               std::uint32_t rightColor, std::uint32_t bottomColor, std::uint32_t leftColor);
/// 21 vertical bands from one colour to the other, then a raised frame inset by one pixel.
void DrawBandedGradient(QPainter& p, int left, int top, int right, int bottom,
                        std::uint32_t fromColor, std::uint32_t toColor);
/// Prints a caption with its top-left corner at (x, y); the first "&" is not printed and the
/// character after it is underlined. A trailing "&" is dropped and underlines nothing.
void DrawMenuCaption(QPainter& p, int x, int y, const QString& caption, const QColor& color);
/// The caption as printed: without its access-key "&".
QString PrintedCaption(const QString& caption);
/// The check mark: a 2-pixel line from (x + 4, y + h) to (x + 6, y + h + 4) to (x + w, y + 4).
void DrawTick(QPainter& p, int x, int y, int w, int h, std::uint32_t color);

} // namespace pelmora
