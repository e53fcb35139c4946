#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <cstdint>

namespace pelmora {

class MenuItem;

/// Paints the menu bar's background and its items into the bar's surface, in one of the four
/// paint styles.
class MenuBarPainter {
public:
    /// Paints on `surface` with the bar's font, style and cell fill colour (OLE).
    MenuBarPainter(QImage& surface, const QFont& font, int style, std::uint32_t backColor);

    /// Clears the bar to the button face; style 3 lays its banded gradient over all of it.
    void PaintBackground();
    /// Paints one bar item in state -1 open, 0 normal or 1 hot, at its cell and text position.
    void PaintItem(const MenuItem& item, int state);

private:
    void paintStyle0(const MenuItem& item, int state);
    void paintStyle1(const MenuItem& item, int state);
    void paintStyle2(const MenuItem& item, int state);
    void paintStyle3(const MenuItem& item, int state);
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
    std::uint32_t backColor_;
    QColor textColor_;
};

} // namespace pelmora
