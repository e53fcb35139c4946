#pragma once

#include "controls/menu/MenuSurfacePainter.h"

#include <QFont>
#include <QImage>
#include <cstdint>

namespace pelmora {

class MenuItem;

/// Paints the menu bar's background and its items into the bar's surface, in one of the four
/// paint styles.
class MenuBarPainter : private MenuSurfacePainter {
public:
    /// Paints on `surface` with the bar's font, style and cell fill colour (OLE).
    MenuBarPainter(QImage& surface, const QFont& font, int style, std::uint32_t backColor);

    /// Clears the bar to the button face; style 3 lays its banded gradient over all of it.
    void PaintBackground();
    /// Paints one bar item in state -1 open, 0 normal or 1 hot, at its cell and text position.
    void PaintItem(const MenuItem& item, const QRect& cell, QPointF text, int state);

private:
    void paintStyle0(const MenuItem& item, int state);
    void paintStyle1(const MenuItem& item, int state);
    void paintStyle2(const MenuItem& item, int state);
    void paintStyle3(const MenuItem& item, int state);

    std::uint32_t backColor_;
};

} // namespace pelmora
