#pragma once
// The events the owner-drawn controls take themselves: painting from their surface and the
// mouse, with the button and shift values they raise mouse events with.

#include <QMouseEvent>
#include <Qt>
#include <cstdint>

class QImage;
class QWidget;

namespace pelmora {

/// The event as a mouse event the control handles itself, else nullptr. A disabled control
/// handles none: Qt then passes a press on to the parent, as for any disabled widget.
QMouseEvent* ControlMouseEvent(const QWidget& control, QEvent& event);

/// Hands a mouse event to the control's handlers as QWidget's own handlers would: a press and
/// the second press of a double click to MousePress, a move to MouseMove, a release to
/// MouseRelease where the control has one. False for what none of them takes, which is then
/// QWidget::event's.
template <typename Handlers>
bool HandleMouse(const QWidget& control, QEvent& event, Handlers& handlers) {
    const QMouseEvent* mouse = ControlMouseEvent(control, event);
    if (mouse == nullptr) {
        return false;
    }
    switch (mouse->type()) {
    case QEvent::MouseMove:
        handlers.MouseMove(*mouse);
        return true;
    case QEvent::MouseButtonRelease:
        if constexpr (requires { handlers.MouseRelease(*mouse); }) {
            handlers.MouseRelease(*mouse);
            return true;
        }
        return false;
    default:
        handlers.MousePress(*mouse);
        return true;
    }
}

/// Shows the part of the control a paint event asks for from its drawing surface; false for
/// any other event.
bool ShowSurface(QWidget& control, const QImage& surface, const QEvent& event);

/// The buttons as the controls' mouse events number them: 1 left, 2 right, 4 middle.
int16_t MouseButtonBits(Qt::MouseButtons buttons);
/// The modifier keys as the controls' mouse events number them: 1 shift, 2 control, 4 alt.
int16_t ShiftBits(Qt::KeyboardModifiers modifiers);

} // namespace pelmora
