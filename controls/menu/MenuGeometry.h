#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <vector>

namespace pelmora {

/// Where a menu's layout placed its items: the bar's cells or a popup's rows. Painting, hit
/// tests and the popups opened from an item read these, and only the layout writes them.
class MenuGeometry {
public:
    /// Forgets every place.
    void Clear();
    /// Places item `index` (1-based, of the menu's item list): its cell, all four edges
    /// inside, and where its caption starts.
    void Place(int index, const QRect& cell, QPointF text);
    /// True when item `index` has a place.
    bool IsPlaced(int index) const;
    /// The cell of item `index`; an empty rectangle when it has none.
    QRect Cell(int index) const;
    /// Where the caption of item `index` starts.
    QPointF TextAt(int index) const;
    /// The item placed first whose cell holds the point, all four edges included; 0 for none.
    int ItemAt(QPoint point) const;

private:
    std::vector<int> order_;    // item indices in the order placed
    std::vector<QRect> cells_;  // by item index, index 0 unused
    std::vector<QPointF> text_; // by item index
};

} // namespace pelmora
