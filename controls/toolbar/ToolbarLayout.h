#pragma once

#include "controls/toolbar/ButtonCollection.h"
#include "controls/toolbar/ToolbarProperties.h"

#include <QFont>
#include <QSize>

namespace pelmora::ToolbarLayout {

/// Space kept for the gripper when the toolbar has one.
constexpr int GripperSpace = 12;
/// Length of a separator along the bar.
constexpr int SeparatorLength = 6;

/// Pixels between the control's edge and its buttons on one side (0 left, 1 top, 2 right,
/// 3 bottom).
int BorderInset(const ToolbarProperties& p, int side);

/// Buttons run left to right when the control is at least as wide as high.
inline bool RunsHorizontally(QSize size) {
    return size.width() >= size.height();
}

/// Whether a button's caption is drawn under the current caption options.
bool CaptionShown(const ToolbarProperties& p, const ToolbarButton& button);

/// Font used to measure captions: bold when checked captions are drawn bold, so that a toggle
/// never changes a size.
QFont MeasuringFont(const ToolbarProperties& p, const QFont& font);

/// Places every visible button in one row (or column) and stores each rectangle in its record;
/// returns the length the bar needs to show all of them.
int Arrange(const ToolbarProperties& p, QSize size, const QFont& font, ButtonCollection& buttons);

} // namespace pelmora::ToolbarLayout
