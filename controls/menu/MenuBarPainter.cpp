#include "controls/menu/MenuBarPainter.h"

#include "controls/menu/MenuDrawing.h"
#include "controls/menu/MenuItem.h"
#include "controls/paint/Drawing.h"

namespace pelmora {

using namespace MenuColors;

MenuBarPainter::MenuBarPainter(QImage& surface, const QFont& font, int style,
                               std::uint32_t backColor)
    : MenuSurfacePainter(surface, font, style), backColor_(backColor) {}

void MenuBarPainter::PaintBackground() {
    surface_.fill(MenuColor(ButtonFace));
    if (style_ == 3) {
        DrawBandedGradient(painter_, 0, 0, surface_.width(), surface_.height(), White, LightGrey);
    }
}

void MenuBarPainter::PaintItem(const MenuItem& item, const QRect& cell, QPointF text, int state) {
    place(cell, text);
    FillBox(painter_, cell_.left(), cell_.top(), cell_.right(), cell_.bottom(), backColor_);
    switch (style_) {
    case 1:
        paintStyle1(item, state);
        break;
    case 2:
        paintStyle2(item, state);
        break;
    case 3:
        paintStyle3(item, state);
        break;
    default:
        paintStyle0(item, state);
        break;
    }
}

void MenuBarPainter::paintStyle0(const MenuItem& item, int state) {
    const int l = cell_.left(), t = cell_.top(), r = cell_.right(), b = cell_.bottom();
    if (state < 0) {
        caption(item, 1, 1, textColor_);
        DrawFrame(painter_, l, t, r, b, DarkGrey, White, White, DarkGrey);
    } else if (state > 0) {
        caption(item, -1, -1, textColor_);
        DrawFrame(painter_, l, t, r, b, White, DarkGrey, DarkGrey, White);
    } else {
        caption(item, 0, 0, textColor_);
    }
}

void MenuBarPainter::paintStyle1(const MenuItem& item, int state) {
    const int l = cell_.left(), t = cell_.top(), r = cell_.right(), b = cell_.bottom();
    if (state < 0) {
        caption(item, 1, 1, textColor_);
        MenuLine(painter_, l, t, r - 3, t, White);
        MenuLine(painter_, r - 3, t, r, b, DarkGrey);
        MenuLine(painter_, r, b, l, b, DarkGrey);
        MenuLine(painter_, l, b, l, t, White);
    } else if (state > 0) {
        OutlineBox(painter_, l, t, r, b, White);
        painter_.fillRect(QRect(QPoint(l + 2, t + 2), QPoint(r - 2, b - 2)), QColor(220, 220, 220));
        caption(item, 0, 0, textColor_);
    } else {
        caption(item, 0, 0, textColor_);
    }
}

void MenuBarPainter::paintStyle2(const MenuItem& item, int state) {
    const int l = cell_.left(), t = cell_.top(), r = cell_.right(), b = cell_.bottom();
    if (state == 0) {
        caption(item, 0, 0, textColor_);
        return;
    }
    const bool open = state < 0;
    direct([&](QImage& s) {
        DrawGradient(s, l + 1, t + 1, r - 1, b - 1, open ? White : LightGrey,
                     open ? LightGrey : White, 1, 1);
    });
    // Thick points in the cell colour round the corners off.
    painter_.setPen(QPen(MenuColor(backColor_), 10, Qt::SolidLine, Qt::RoundCap));
    for (const QPoint& corner : {QPoint(l, t), QPoint(r, t), QPoint(r, b), QPoint(l, b)}) {
        painter_.drawPoint(corner);
    }
    painter_.setPen(QPen(MenuColor(backColor_), 1));
    caption(item, 0, 0, MenuColor(open ? Black : DarkGrey));
}

void MenuBarPainter::paintStyle3(const MenuItem& item, int state) {
    const int l = cell_.left(), t = cell_.top(), r = cell_.right(), b = cell_.bottom();
    if (state < 0) {
        DrawBandedGradient(painter_, l, t, r, b, LightGrey, White);
        caption(item, 1, 1, MenuColor(Black));
    } else if (state > 0) {
        DrawBandedGradient(painter_, l, t, r, b, White, LightGrey);
        caption(item, 0, 0, MenuColor(LightBlue));
    } else {
        DrawBandedGradient(painter_, l, t, r, b, White, LightGrey);
        caption(item, 0, 0, textColor_);
    }
}

} // namespace pelmora
