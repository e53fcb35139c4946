#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRect>

namespace pelmora {

class MenuItem;

/// What the menu bar's and the popups' painters share: a painter open on the surface with
/// the menu's font and paint style, the caption step and the switch to direct pixel writes.
class MenuSurfacePainter {
protected:
    /// Opens the painter on `surface` with `font`, without anti-aliasing.
    MenuSurfacePainter(QImage& surface, const QFont& font, int style);

    /// Where the item being painted was placed: its cell and its caption's start.
    void place(const QRect& cell, QPointF text) {
        cell_ = cell;
        text_ = text;
    }
    /// Prints the item's caption at its text position moved by (dx, dy).
    void caption(const MenuItem& item, int dx, int dy, const QColor& color);

    /// Runs a drawing step that writes the surface's pixels itself, with no painter open.
    template <class Draw> void direct(Draw&& draw) {
        painter_.end();
        draw(surface_);
        painter_.begin(&surface_);
        painter_.setFont(font_);
    }

    QImage& surface_;
    QFont font_;
    QPainter painter_;
    int style_;
    QColor textColor_;
    QRect cell_;
    QPointF text_;
};

} // namespace pelmora
