#include "controls/paint/Drawing.h"

#include "controls/paint/PixelOps.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace pelmora {

namespace {

constexpr int kLastSystemColour = 30; // COLOR_MENUBAR

// The classic Windows scheme, as 0xRRGGBB, for every system colour number.
constexpr std::array<QRgb, kLastSystemColour + 1> kClassic = {
    0xC0C0C0, 0x008080, 0x000080, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000,
    0x000000, 0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x000080, 0xFFFFFF, 0xC0C0C0,
    0x808080, 0x808080, 0x000000, 0xC0C0C0, 0xFFFFFF, 0x000000, 0xDFDFDF, 0x000000,
    0xFFFFE1, 0x000000, 0x000080, 0x1084D0, 0xB5B5B5, 0x000080, 0xC0C0C0};

// The palette role standing for each system colour number, where Qt has one; grey text is
// the disabled text colour.
constexpr auto kNoRole = QPalette::NColorRoles;
constexpr std::array<QPalette::ColorRole, kLastSystemColour + 1> kPaletteRoles = {
    kNoRole,
    kNoRole,
    kNoRole,
    kNoRole,
    QPalette::Window, // 4 menu
    QPalette::Base,   // 5 window
    kNoRole,
    QPalette::WindowText, // 7 menu text
    QPalette::Text,       // 8 window text
    kNoRole,
    kNoRole,
    kNoRole,
    kNoRole,
    QPalette::Highlight,       // 13 highlight
    QPalette::HighlightedText, // 14 highlighted text
    QPalette::Button,          // 15 button face
    QPalette::Dark,            // 16 button shadow
    QPalette::Text,            // 17 grey text
    QPalette::ButtonText,      // 18 button text
    kNoRole,
    QPalette::Light,       // 20 button highlight
    QPalette::Shadow,      // 21 3D dark shadow
    QPalette::Midlight,    // 22 3D light
    QPalette::ToolTipText, // 23 tooltip text
    QPalette::ToolTipBase, // 24 tooltip
    kNoRole,
    QPalette::Link, // 26 hot-tracked link
    kNoRole,
    kNoRole,
    QPalette::Highlight, // 29 menu highlight
    QPalette::Window     // 30 menu bar
};

std::optional<QColor> paletteColour(int index) {
    if (!qGuiApp || index < 0 || index > kLastSystemColour || kPaletteRoles[index] == kNoRole) {
        return std::nullopt;
    }
    const QPalette::ColorGroup group = index == 17 ? QPalette::Disabled : QPalette::Current;
    return QGuiApplication::palette().color(group, kPaletteRoles[index]);
}

ColorRef fromRgb(int r, int g, int b) {
    return ColorRef(r | (g << 8) | (b << 16));
}

// The Qt text flags that lay text out as the DrawTextFormat flags ask.
int QtTextFlags(int format) {
    int flags = format & DtCenter  ? Qt::AlignHCenter
                : format & DtRight ? Qt::AlignRight
                                   : Qt::AlignLeft;
    // Only a single line is placed vertically; wrapped text always starts at the top.
    if ((format & DtSingleLine) && (format & DtVCenter)) {
        flags |= Qt::AlignVCenter;
    } else if ((format & DtSingleLine) && (format & DtBottom)) {
        flags |= Qt::AlignBottom;
    } else {
        flags |= Qt::AlignTop;
    }
    static constexpr std::array<std::pair<int, int>, 3> kSameMeaning{
        {{DtSingleLine, Qt::TextSingleLine},
         {DtWordBreak, Qt::TextWordWrap},
         {DtExpandTabs, Qt::TextExpandTabs}}};
    for (const auto& [ours, qt] : kSameMeaning) {
        if (format & ours) {
            flags |= qt;
        }
    }
    if (!(format & DtNoPrefix)) {
        flags |= Qt::TextShowMnemonic;
    }
    return flags;
}

} // namespace

int RoundHalfEven(double value) {
    const double r = value - std::floor(value);
    double n = std::floor(value);
    if (r > 0.5 || (r == 0.5 && std::fmod(n, 2.0) != 0.0)) {
        n += 1.0;
    }
    return static_cast<int>(std::clamp(n, -2147483648.0, 2147483647.0));
}

ColorRef TranslateOleColor(OleColor colour, const ColorPalette* palette) {
    switch (colour >> 24) {
    case 0x00:
    case 0x02:
        return ColorRef(colour & 0xFFFFFF);
    case 0x01: {
        if ((colour & 0x00FF0000u) != 0 || !palette) {
            return -1;
        }
        const auto index = qsizetype(colour & 0xFFFF);
        return index < palette->size() ? RgbToColorRef(palette->at(index)) : -1;
    }
    case 0x80: {
        if ((colour & 0x00FFFF00u) != 0) {
            return -1;
        }
        const int index = int(colour & 0xFF);
        if (index > kLastSystemColour) {
            return -1;
        }
        if (const auto c = paletteColour(index)) {
            return fromRgb(c->red(), c->green(), c->blue());
        }
        return RgbToColorRef(kClassic[size_t(index)]);
    }
    default:
        return -1;
    }
}

std::optional<QRgb> OleColorToRgb(OleColor colour, const ColorPalette* palette) {
    const ColorRef ref = TranslateOleColor(colour, palette);
    if (ref < 0) {
        return std::nullopt;
    }
    return ColorRefToRgb(ref);
}

QRgb ColorRefToRgb(ColorRef colour) {
    return qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

ColorRef RgbToColorRef(QRgb colour) {
    return fromRgb(qRed(colour), qGreen(colour), qBlue(colour));
}

ColorPalette CreateHalftonePalette() {
    ColorPalette pal;
    pal.reserve(256);
    for (int r = 0; r < 6; ++r) {
        for (int g = 0; g < 6; ++g) {
            for (int b = 0; b < 6; ++b) {
                pal.append(qRgb(r * 51, g * 51, b * 51));
            }
        }
    }
    for (int i = 0; pal.size() < 256; ++i) {
        const int v = (i + 1) * 255 / 41;
        pal.append(qRgb(v, v, v));
    }
    return pal;
}

bool BuildGradientColors(OleColor fromColor, OleColor toColor, std::vector<ColorRef>& colours) {
    const ColorRef from = TranslateOleColor(fromColor);
    const ColorRef to = TranslateOleColor(toColor);
    if (from < 0 || to < 0) {
        return false;
    }
    if (colours.empty()) {
        return true;
    }
    const int n = int(colours.size()) - 1;
    if (n == 0) {
        // A zero span has no step; the one entry is the start colour.
        colours[0] = from;
        return true;
    }
    std::array<double, 3> value{};
    std::array<double, 3> step{};
    for (int c = 0; c < 3; ++c) {
        value[size_t(c)] = (from >> (8 * c)) & 0xFF;
        step[size_t(c)] = (((to >> (8 * c)) & 0xFF) - value[size_t(c)]) / n;
    }
    for (int i = 0; i <= n; ++i) {
        ColorRef out = 0;
        for (int c = 0; c < 3; ++c) {
            value[size_t(c)] += step[size_t(c)];
            value[size_t(c)] = std::clamp(value[size_t(c)], 0.0, 255.0);
            out |= ColorRef(RoundHalfEven(value[size_t(c)])) << (8 * c);
        }
        colours[size_t(i)] = out;
    }
    return true;
}

void DrawLine(QImage& surface, int x1, int y1, int x2, int y2, OleColor colour) {
    const auto rgb = OleColorToRgb(colour);
    if (!rgb || surface.isNull()) {
        return;
    }
    // Bresenham, stopping before the end point as the platform's line drawing does.
    const int dx = std::abs(x2 - x1);
    const int dy = -std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1;
    const int sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    int x = x1;
    int y = y1;
    while (x != x2 || y != y2) {
        pixelops::FillArea(surface, x, y, 1, 1, *rgb);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void DrawGradient(QImage& surface, int x1, int y1, int x2, int y2, OleColor fromColor,
                  OleColor toColor, int style, int mirror) {
    // The colours of lines 0..n; none (nothing drawn) when n < 0 or a colour does not
    // translate.
    const auto lineColours = [&](int n) {
        std::vector<ColorRef> colours;
        if (n >= 0) {
            colours.resize(size_t(n) + 1);
            if (!BuildGradientColors(fromColor, toColor, colours)) {
                colours.clear();
            }
        }
        return colours;
    };
    if (style == 0) {
        const std::vector<ColorRef> colours = lineColours(x2 - x1);
        for (int i = 0; i < int(colours.size()); ++i) {
            DrawLine(surface, x1 + i, y1, x1 + i, y2, OleColor(colours[size_t(i)]));
        }
    } else if (style == 1) {
        const std::vector<ColorRef> colours =
            lineColours(mirror > 0 ? RoundHalfEven((y2 - y1) / 2.0) : y2 - y1);
        for (int i = 0; i < int(colours.size()); ++i) {
            DrawLine(surface, x1, y1 + i, x2, y1 + i, OleColor(colours[size_t(i)]));
        }
        for (int i = 0; mirror > 0 && i < int(colours.size()); ++i) {
            DrawLine(surface, x1, y2 - i, x2, y2 - i, OleColor(colours[size_t(i)]));
        }
    }
}

void Draw3DRect(QImage& surface, int left, int top, int width, int height, OleColor lightColor,
                OleColor darkColor, OleColor fillColor) {
    if (width <= 0 || height <= 0) {
        return;
    }
    if (fillColor != kNoColor) {
        FillSolidRect(surface, left, top, width, height, fillColor);
    }
    const int right = left + width - 1;
    const int bottom = top + height - 1;
    DrawLine(surface, right, top, left, top, lightColor);
    DrawLine(surface, left, top, left, bottom, lightColor);
    DrawLine(surface, left, bottom, right, bottom, darkColor);
    DrawLine(surface, right, bottom, right, top, darkColor);
}

void FillSolidRect(QImage& surface, int left, int top, int width, int height, OleColor colour) {
    const auto rgb = OleColorToRgb(colour);
    if (!rgb) {
        return;
    }
    pixelops::FillArea(surface, left, top, width - 1, height - 1, *rgb);
}

int BuildRoundRectPoints(std::vector<QPoint>& points, float x1, float y1, float x2, float y2) {
    const int l = RoundHalfEven(x1);
    const int t = RoundHalfEven(y1);
    const int r = RoundHalfEven(x2);
    const int b = RoundHalfEven(y2);
    points.assign({QPoint(), QPoint(l + 2, t), QPoint(r - 2, t), QPoint(r - 1, t + 1),
                   QPoint(r, t + 2), QPoint(r, b - 2), QPoint(r - 1, b - 1), QPoint(r - 2, b),
                   QPoint(l + 2, b), QPoint(l + 1, b - 1), QPoint(l, b - 2), QPoint(l, t + 2),
                   QPoint(l + 1, t + 1), QPoint(l + 2, t)});
    return 13;
}

void DrawTextInRect(QPainter& painter, const QString& text, float left, float top, float width,
                    float height, int format) {
    const int l = RoundHalfEven(left);
    const int t = RoundHalfEven(top);
    const QRect rect(QPoint(l, t), QPoint(RoundHalfEven(double(left) + width) - 1,
                                          RoundHalfEven(double(top) + height) - 1));
    const int flags = QtTextFlags(format);
    painter.save();
    if (!(format & DtNoClip)) {
        painter.setClipRect(rect, Qt::IntersectClip);
    }
    painter.drawText(rect, flags, text);
    painter.restore();
}

} // namespace pelmora
