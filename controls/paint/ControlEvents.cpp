#include "controls/paint/ControlEvents.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

namespace pelmora {

namespace {

// The bits 1, 2 and 4 for three flags, in the order given.
int16_t ThreeBits(int flags, int one, int two, int four) {
    return static_cast<int16_t>(((flags & one) ? 1 : 0) | ((flags & two) ? 2 : 0) |
                                ((flags & four) ? 4 : 0));
}

} // namespace

QMouseEvent* ControlMouseEvent(const QWidget& control, QEvent& event) {
    switch (event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        return control.isEnabled() ? static_cast<QMouseEvent*>(&event) : nullptr;
    default:
        return nullptr;
    }
}

bool ShowSurface(QWidget& control, const QImage& surface, const QEvent& event) {
    if (event.type() != QEvent::Paint) {
        return false;
    }
    const QRect area = static_cast<const QPaintEvent&>(event).rect();
    QPainter(&control).drawImage(area, surface, area);
    return true;
}

int16_t MouseButtonBits(Qt::MouseButtons buttons) {
    return ThreeBits(buttons.toInt(), Qt::LeftButton, Qt::RightButton, Qt::MiddleButton);
}

int16_t ShiftBits(Qt::KeyboardModifiers modifiers) {
    return ThreeBits(modifiers.toInt(), Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier);
}

} // namespace pelmora
