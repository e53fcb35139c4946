#include "controls/menu/MenuSurfacePainter.h"

#include "controls/menu/MenuDrawing.h"
#include "controls/menu/MenuItem.h"

#include <cmath>

namespace pelmora {

MenuSurfacePainter::MenuSurfacePainter(QImage& surface, const QFont& font, int style)
    : surface_(surface), font_(font), painter_(&surface), style_(style),
      textColor_(MenuColor(0x80000012)) {
    painter_.setFont(font);
    painter_.setRenderHint(QPainter::Antialiasing, false);
}

void MenuSurfacePainter::caption(const MenuItem& item, int dx, int dy, const QColor& color) {
    DrawMenuCaption(painter_, static_cast<int>(std::lround(text_.x())) + dx,
                    static_cast<int>(std::lround(text_.y())) + dy, item.Caption(), color);
}

} // namespace pelmora
