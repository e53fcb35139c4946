#pragma once
// Whether the pointer is over a window itself (not over one of its children or another window).

#include <QPoint>

class QWidget;

namespace pelmora {

/// True when the widget under the screen cursor is window itself.
bool IsMouseOverWindow(const QWidget* window);
/// True when the widget at the global position is window itself.
bool IsMouseOverWindowAt(QPoint globalPos, const QWidget* window);

} // namespace pelmora
