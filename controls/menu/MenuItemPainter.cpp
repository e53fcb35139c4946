#include "controls/menu/MenuItemPainter.h"

#include "controls/menu/MenuDrawing.h"
#include "controls/menu/MenuItem.h"
#include "controls/paint/Drawing.h"
#include "controls/paint/PaintEffects.h"

#include <QPolygon>
#include <cmath>

namespace pelmora {

using namespace MenuColors;

namespace {
constexpr int PictureSize = 16;
constexpr int StripRight = 24;
constexpr std::uint32_t HighlightCaptionColor = 0x57404A;
constexpr std::uint32_t HighlightFrameColor = 0x80000003;

bool isSeparator(const MenuItem& item) {
    return item.Caption() == QLatin1String("-");
}
} // namespace

MenuItemPainter::MenuItemPainter(QImage& surface, const QFont& font, int style, int highLight,
                                 PaintEffects& effects)
    : MenuSurfacePainter(surface, font, style), highLight_(highLight), effects_(effects) {}

std::uint32_t MenuItemPainter::BackColor(int style) {
    return style == 1 ? WindowColor : ButtonFace;
}

void MenuItemPainter::PaintBackground(int ownerWidth) {
    const int w = surface_.width() - 1;
    const int h = surface_.height() - 1;
    if (style_ == 0) {
        surface_.fill(MenuColor(ButtonFace));
        DrawFrame(painter_, 0, 0, w, h, White, DarkGrey, DarkGrey, White);
    } else if (style_ == 1) {
        surface_.fill(MenuColor(WindowColor));
        OutlineBox(painter_, 0, 0, w, h, DarkGrey);
        if (ownerWidth > 0) {
            MenuLine(painter_, 0, 0, ownerWidth, 0, White);
        }
        FillBox(painter_, 1, 1, StripRight, h - 1, ButtonFace);
    }
}

void MenuItemPainter::Paint(const MenuItem& item, const QRect& cell, QPointF text, int state) {
    place(cell, text);
    if (state != Normal && (isSeparator(item) || !item.Enabled())) {
        return;
    }
    FillBox(painter_, cell_.left(), cell_.top(), cell_.right(), cell_.bottom(), BackColor(style_));
    if (state == Highlighted) {
        paintHighlighted(item);
    } else if (state == Raised) {
        paintRaised(item);
    } else {
        paintNormal(item);
    }
}

void MenuItemPainter::paintHighlighted(const MenuItem& item) {
    const int l = cell_.left(), t = cell_.top(), r = cell_.right(), b = cell_.bottom();
    std::uint32_t checkColor = White;
    switch (highLight_) {
    case 0:
        OutlineBox(painter_, l + 1, t + 1, r - 1, b - 1, HighlightFrameColor);
        checkColor = DarkGrey;
        break;
    case 1:
        FillBox(painter_, l + 1, t + 1, r - 1, b - 1, HighlightFrameColor);
        break;
    case 2:
        direct(
            [&](QImage& s) { DrawGradient(s, l + 1, t + 1, r - 1, b - 1, DarkGrey, White, 0, 0); });
        break;
    case 3:
        direct([&](QImage& s) {
            DrawGradient(s, l + 1, t + 1, r - 1, b - 1, DarkBlue, LightGrey, 0, 0);
        });
        break;
    case 4:
        direct([&](QImage& s) {
            DrawGradient(s, l + 1, t + 1, r - 1, b - 1, DarkGrey, 0xD2D2D2, 1, 1);
        });
        break;
    case 5:
        direct([&](QImage& s) {
            DrawGradient(s, l + 1, t + 1, r - 1, b - 1, LightGrey, White, 1, 1);
        });
        checkColor = DarkGrey;
        break;
    default:
        break;
    }
    caption(item, 1, 1, MenuColor(HighlightCaptionColor));
    if (style_ == 0) {
        DrawFrame(painter_, l, t, r, b, DarkGrey, White, White, DarkGrey);
    }
    if (!item.Checked()) {
        drawPicture(item, l + 1, t + 1);
    }
    if (item.IsRoot()) {
        DrawTriangle(l, t, r, b, DarkGrey, 0);
    }
    if (item.Checked()) {
        DrawTick(painter_, l + 4, t, 10, 10, Black);
        DrawTick(painter_, l + 2, t - 2, 10, 10, checkColor);
    }
}

void MenuItemPainter::paintNormal(const MenuItem& item) {
    const int l = cell_.left(), t = cell_.top(), r = cell_.right(), b = cell_.bottom();
    if (style_ == 1) {
        FillBox(painter_, l, t, StripRight, b, ButtonFace);
    } else if (style_ == 2) {
        FillBox(painter_, l, t, r, b, White);
        OutlineBox(painter_, l, t + 2, r, b - 2, Black);
    } else if (style_ == 3) {
        DrawOpenStepItem(l - 3, t, r + 3, b, White, LightGrey);
    }
    if (isSeparator(item)) {
        const int mid = t + static_cast<int>(std::lround((b - t) / 2.0));
        if (style_ == 1) {
            MenuLine(painter_, l + 5, mid, r - 5, mid, LightGrey);
        } else {
            MenuLine(painter_, l + 5, mid - 1, r - 5, mid - 1, DarkGrey);
            MenuLine(painter_, l + 5, mid, r - 5, mid, White);
        }
        return;
    }
    if (item.Enabled()) {
        caption(item, 0, 0, textColor_);
        drawPicture(item, l + 2, t + 2);
        if (item.IsRoot()) {
            if (style_ == 3) {
                DrawTriangle(l, t, r, b, LightGrey, 1);
            } else {
                DrawTriangle(l, t, r, b, Black, 0);
            }
        }
    } else if (style_ == 1) {
        caption(item, 0, 0, MenuColor(LightGrey));
    } else {
        caption(item, 2, 2, MenuColor(White));
        caption(item, 0, 0, MenuColor(LightGrey));
    }
    if (item.Checked()) {
        DrawTick(painter_, l + 4, t, 10, 10, DarkGrey);
    }
}

void MenuItemPainter::paintRaised(const MenuItem& item) {
    caption(item, -1, -1, textColor_);
    DrawFrame(painter_, cell_.left(), cell_.top(), cell_.right(), cell_.bottom(), White, DarkGrey,
              DarkGrey, White);
}

void MenuItemPainter::drawPicture(const MenuItem& item, int x, int y) {
    const OlePicture& picture = item.APicture();
    if (!item.Enabled()) {
        direct([&](QImage& s) {
            effects_.PaintDisabledPicture(s, picture, x, y, PictureSize, PictureSize, 0, 0,
                                          item.MaskColor(), 0);
        });
    } else if (picture.type() == OlePicture::Type::Icon || !item.UseMaskColor()) {
        direct([&](QImage& s) {
            effects_.PaintStandardPicture(s, picture, x, y, PictureSize, PictureSize, 0, 0, 0);
        });
    } else {
        direct([&](QImage& s) {
            effects_.PaintTransparentPicture(s, picture, x, y, PictureSize, PictureSize, 0, 0,
                                             item.MaskColor(), 0);
        });
    }
}

void MenuItemPainter::DrawTriangle(int left, int top, int right, int bottom, std::uint32_t color,
                                   int effect3D) {
    (void)left;
    const int mid = top + static_cast<int>(std::lround((bottom - top) / 2.0));
    const QPolygon arrow(
        {QPoint(right - 5, mid), QPoint(right - 10, mid - 5), QPoint(right - 10, mid + 5)});
    painter_.setPen(QPen(MenuColor(color), 1));
    painter_.setBrush(MenuColor(color));
    painter_.drawPolygon(arrow);
    painter_.setBrush(Qt::NoBrush);
    if (effect3D >= 1) {
        MenuLine(painter_, right - 4, mid + 1, right - 11, mid - 6, DarkGrey);
        MenuLine(painter_, right - 11, mid - 6, right - 11, mid + 6, DarkGrey);
        MenuLine(painter_, right - 11, mid + 6, right - 4, mid + 1, White);
    }
}

void MenuItemPainter::DrawOpenStepItem(int x1, int y1, int x2, int y2, std::uint32_t fromColor,
                                       std::uint32_t toColor) {
    DrawBandedGradient(painter_, x1, y1, x2, y2, fromColor, toColor);
}

} // namespace pelmora
