#pragma once

#include "controls/toolbar/ButtonCollection.h"
#include "controls/toolbar/ToolbarProperties.h"

#include <QFont>
#include <QRect>
#include <QSize>
#include <vector>

namespace pelmora {

/// Where the last layout placed the buttons: painting, hit tests and the host read these
/// cells, and only the layout writes them.
class ToolbarGeometry {
public:
    /// The cell of a button (1-based); empty for a hidden button or one not laid out yet.
    QRect Cell(int index) const;
    /// The first visible button whose cell holds the point, 0 for none.
    int ButtonAt(float x, float y) const;
    /// The length along the bar that shows every button.
    int RequiredLength() const { return requiredLength_; }

private:
    friend ToolbarGeometry ArrangeToolbar(const ToolbarProperties&, QSize, const QFont&,
                                          const ButtonCollection&);
    std::vector<QRect> cells_; // index 0 unused
    int requiredLength_ = 0;
};

/// Places every visible button in one row (or column).
ToolbarGeometry ArrangeToolbar(const ToolbarProperties& p, QSize size, const QFont& font,
                               const ButtonCollection& buttons);

} // namespace pelmora

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

} // namespace pelmora::ToolbarLayout
