#include "controls/paint/MouseOver.h"

#include <QApplication>
#include <QCursor>
#include <QWidget>

namespace pelmora {

bool IsMouseOverWindow(const QWidget* window) {
    return IsMouseOverWindowAt(QCursor::pos(), window);
}

bool IsMouseOverWindowAt(QPoint globalPos, const QWidget* window) {
    return window && QApplication::widgetAt(globalPos) == window;
}

} // namespace pelmora
