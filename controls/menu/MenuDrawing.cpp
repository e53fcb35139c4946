#include "controls/menu/MenuDrawing.h"

#include "controls/paint/Drawing.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

namespace pelmora {

QColor MenuColor(std::uint32_t oleColor) {
    return QColor::fromRgb(OleColorToRgb(oleColor).value_or(qRgb(0, 0, 0)));
}

void FillBox(QPainter& p, int x1, int y1, int x2, int y2, std::uint32_t color) {
    p.fillRect(QRect(QPoint(std::min(x1, x2), std::min(y1, y2)),
                     QPoint(std::max(x1, x2), std::max(y1, y2))),
               MenuColor(color));
}

void OutlineBox(QPainter& p, int x1, int y1, int x2, int y2, std::uint32_t color) {
    DrawFrame(p, x1, y1, x2, y2, color, color, color, color);
}

void MenuLine(QPainter& p, int x1, int y1, int x2, int y2, std::uint32_t color) {
    p.setPen(QPen(MenuColor(color), 1));
    p.drawLine(x1, y1, x2, y2);
}

void DrawFrame(QPainter& p, int left, int top, int right, int bottom, std::uint32_t topColor,
               std::uint32_t rightColor, std::uint32_t bottomColor, std::uint32_t leftColor) {
    MenuLine(p, left, top, right, top, topColor);
    MenuLine(p, right, top, right, bottom, rightColor);
    MenuLine(p, right, bottom, left, bottom, bottomColor);
    MenuLine(p, left, bottom, left, top, leftColor);
}

void DrawBandedGradient(QPainter& p, int left, int top, int right, int bottom,
                        std::uint32_t fromColor, std::uint32_t toColor) {
    std::vector<ColorRef> colors(21);
    if (!BuildGradientColors(fromColor, toColor, colors)) {
        return;
    }
    // A cell narrower than 20 pixels would give bands of no width and never end.
    const int w = std::max(1, static_cast<int>(std::lround((right - left) / 20.0)));
    std::size_t band = 0;
    for (int x = left; x <= right && band < colors.size(); x += w, ++band) {
        FillBox(p, x, top, x + w, bottom, static_cast<OleColor>(colors[band]));
    }
    DrawFrame(p, left + 1, top + 1, right - 1, bottom - 1, MenuColors::White, MenuColors::DarkGrey,
              MenuColors::DarkGrey, MenuColors::White);
}

QString PrintedCaption(const QString& caption) {
    QString text = caption;
    const qsizetype amp = text.indexOf(QLatin1Char('&'));
    if (amp >= 0) {
        text.remove(amp, 1);
    }
    return text;
}

void DrawMenuCaption(QPainter& p, int x, int y, const QString& caption, const QColor& color) {
    const QFontMetrics fm(p.font());
    const qsizetype amp = caption.indexOf(QLatin1Char('&'));
    const QString text = PrintedCaption(caption);
    p.setPen(color);
    p.drawText(QPoint(x, y + fm.ascent()), text);
    if (amp < 0 || amp >= text.size()) {
        return;
    }
    // The line sits under the letter as printed, i.e. measured without the "&".
    const int from = x + fm.horizontalAdvance(text.left(amp));
    const int width = fm.horizontalAdvance(text.mid(amp, 1));
    const int lineY = y + fm.height() - 1;
    if (width > 0) {
        p.drawLine(from, lineY, from + width - 1, lineY);
    }
}

void DrawTick(QPainter& p, int x, int y, int w, int h, std::uint32_t color) {
    p.setPen(QPen(MenuColor(color), 2));
    p.drawLine(x + 4, y + h, x + 6, y + h + 4);
    p.drawLine(x + 6, y + h + 4, x + w, y + 4);
    p.setPen(QPen(MenuColor(color), 1));
}

} // namespace pelmora
