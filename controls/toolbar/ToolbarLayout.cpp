#include "controls/toolbar/ToolbarLayout.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>

namespace pelmora::ToolbarLayout {

int BorderInset(const ToolbarProperties& p, int side) {
    using Getter = const bool& (ToolbarProperties::*)() const;
    static constexpr Getter sideFlags[4] = {
        &ToolbarProperties::BorderLeft, &ToolbarProperties::BorderTop,
        &ToolbarProperties::BorderRight, &ToolbarProperties::BorderBottom};
    if (side < 0 || side > 3) {
        return 1;
    }
    int inset = 1;
    if ((p.*sideFlags[side])()) {
        ++inset;
    }
    if (p.BorderStyle() == tbbsFrame || p.BorderStyle() == tbbsInsetButton ||
        p.BorderStyle() == tbbsRaisedButton) {
        ++inset;
    }
    if ((side == 1 && p.DoubleTopBorder()) || (side == 3 && p.DoubleBottomBorder())) {
        ++inset;
    }
    return inset;
}

bool CaptionShown(const ToolbarProperties& p, const ToolbarButton& button) {
    if (button.Caption().isEmpty()) {
        return false;
    }
    return p.CaptionOptions() == iftoShowLabels ||
           (p.CaptionOptions() == iftoSelectedLabels && button.AlwaysShowCaption());
}

QFont MeasuringFont(const ToolbarProperties& p, const QFont& font) {
    QFont f = font;
    if (p.BoldOnChecked()) {
        f.setBold(true);
    }
    return f;
}

namespace {

// Length of one button along the bar, before the caption is added.
int BaseLength(const ToolbarButton& b, int cross) {
    if (b.Style() == tbbtPlaceholder && b.PlaceholderSize() != 0) {
        return static_cast<int>(std::lrint(b.PlaceholderSize()));
    }
    if (b.Style() == tbbtSeparator) {
        return SeparatorLength;
    }
    return cross;
}

} // namespace

} // namespace pelmora::ToolbarLayout

namespace pelmora {

using namespace ToolbarLayout;

QRect ToolbarGeometry::Cell(int index) const {
    if (index < 1 || index >= static_cast<int>(cells_.size())) {
        return {};
    }
    return cells_[static_cast<size_t>(index)];
}

int ToolbarGeometry::ButtonAt(float x, float y) const {
    for (size_t i = 1; i < cells_.size(); ++i) {
        const QRect& c = cells_[i];
        if (!c.isNull() && c.left() <= x && x <= c.left() + c.width() - 1 && c.top() <= y &&
            y <= c.top() + c.height() - 1) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

ToolbarGeometry ArrangeToolbar(const ToolbarProperties& p, QSize size, const QFont& font,
                               const ButtonCollection& buttons) {
    ToolbarGeometry geometry;
    geometry.cells_.resize(static_cast<size_t>(buttons.Count()) + 1);
    const bool horizontal = RunsHorizontally(size);
    const int gripper = p.DockingStyle() != 0 ? GripperSpace : 0;
    int x = BorderInset(p, 0);
    int y = BorderInset(p, 1);
    int cross;
    int required;
    if (horizontal) {
        x += gripper;
        cross = size.height() - BorderInset(p, 1) - BorderInset(p, 3);
        required = x + BorderInset(p, 0);
    } else {
        y += gripper;
        cross = size.width() - BorderInset(p, 0) - BorderInset(p, 2);
        required = y;
    }
    cross = std::max(cross, 0);
    const QFontMetrics metrics(MeasuringFont(p, font));
    for (int i = 1; i <= buttons.Count(); ++i) {
        const ToolbarButton& b = buttons[i];
        if (!b.Visible()) {
            continue;
        }
        int length;
        if (p.Style() == tbtsFixed) {
            length = static_cast<int>(std::lrint(p.FixedSize()));
        } else {
            length = BaseLength(b, cross);
            if (CaptionShown(p, b)) {
                const int tw = metrics.horizontalAdvance(b.Caption());
                length += horizontal ? tw - 30 : tw + 3;
            }
        }
        // A very small bar could make a captioned button negative; it is empty instead.
        length = std::max(length, 0);
        geometry.cells_[static_cast<size_t>(i)] =
            QRect(x, y, horizontal ? length : cross, horizontal ? cross : length);
        if (horizontal) {
            x += length + p.ButtonGap();
            required = x + BorderInset(p, 0);
        } else {
            y += length + p.ButtonGap() + BorderInset(p, 1);
            required = y;
        }
    }
    geometry.requiredLength_ = required;
    return geometry;
}

} // namespace pelmora
