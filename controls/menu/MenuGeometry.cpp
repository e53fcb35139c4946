#include "controls/menu/MenuGeometry.h"

#include <algorithm>

namespace pelmora {

void MenuGeometry::Clear() {
    order_.clear();
    cells_.clear();
    text_.clear();
}

void MenuGeometry::Place(int index, const QRect& cell, QPointF text) {
    if (index <= 0) {
        return;
    }
    const auto slot = static_cast<std::size_t>(index);
    if (slot >= cells_.size()) {
        cells_.resize(slot + 1);
        text_.resize(slot + 1);
    }
    if (!IsPlaced(index)) {
        order_.push_back(index);
    }
    cells_[slot] = cell;
    text_[slot] = text;
}

bool MenuGeometry::IsPlaced(int index) const {
    return std::find(order_.begin(), order_.end(), index) != order_.end();
}

QRect MenuGeometry::Cell(int index) const {
    return IsPlaced(index) ? cells_[static_cast<std::size_t>(index)] : QRect();
}

QPointF MenuGeometry::TextAt(int index) const {
    return IsPlaced(index) ? text_[static_cast<std::size_t>(index)] : QPointF();
}

int MenuGeometry::ItemAt(QPoint point) const {
    for (int index : order_) {
        // Not QRect::contains: a cell whose right edge lies left of its left edge (a negative
        // spacing) holds no point rather than the mirrored one.
        const QRect& c = cells_[static_cast<std::size_t>(index)];
        if (point.x() >= c.left() && point.x() <= c.right() && point.y() >= c.top() &&
            point.y() <= c.bottom()) {
            return index;
        }
    }
    return 0;
}

} // namespace pelmora
