#pragma once

#include "controls/menu/MenuSurfacePainter.h"

#include <QFont>
#include <QImage>
#include <cstdint>

namespace pelmora {

class MenuItem;
class PaintEffects;

/// Paints a popup menu window's background and its item rows into the window's surface.
class MenuItemPainter : private MenuSurfacePainter {
public:
    /// Item states.
    enum State { Highlighted = -1, Normal = 0, Raised = 1 };

    /// Paints on `surface` with the popup's font, paint style 0...3 and highlight style 0...5;
    /// pictures go through the popup's own `effects`.
    MenuItemPainter(QImage& surface, const QFont& font, int style, int highLight,
                    PaintEffects& effects);

    /// The fill colour (OLE) of the window and of item rows in a paint style.
    static std::uint32_t BackColor(int style);
    /// The window background and frame of the style; styles 2 and 3 paint none. A first-level
    /// popup leaves its top border open under the bar item (`ownerWidth` pixels).
    void PaintBackground(int ownerWidth);
    /// Paints one item row into its cell, the caption starting at `text`; separators and
    /// disabled items are only ever painted normal.
    void Paint(const MenuItem& item, const QRect& cell, QPointF text, int state);
    /// The submenu arrow at the right end of a row, optionally with a 3-D outline.
    void DrawTriangle(int left, int top, int right, int bottom, std::uint32_t color, int effect3D);
    /// A row of 21 colour bands with a raised frame (the OpenStep look).
    void DrawOpenStepItem(int x1, int y1, int x2, int y2, std::uint32_t fromColor,
                          std::uint32_t toColor);

private:
    void paintHighlighted(const MenuItem& item);
    void paintNormal(const MenuItem& item);
    void paintRaised(const MenuItem& item);
    void drawPicture(const MenuItem& item, int x, int y);

    int highLight_;
    PaintEffects& effects_;
};

} // namespace pelmora
