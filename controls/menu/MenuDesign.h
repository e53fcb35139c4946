#pragma once

#include "controls/design/ValueTable.h"
#include "controls/menu/MenuItemList.h"

#include <QFont>
#include <QJsonObject>

namespace pelmora {

// The menu bar's stored control values, one row each in stored order (ItemCount and
// ItemsFont follow them):
//   ROW(type, name, stored key, default, whether a change needs a new layout)
// The row is the one place a value is declared: the design's field, the bar's getter and
// setter and the stored key come from it.
#define PELMORA_MENU_BAR_VALUES(ROW)                                                               \
    ROW(int, Spacing, "Spacing", 12, true)                                                         \
    ROW(int, Style, "Style", 0, true)                                                              \
    ROW(int, HighLightStyle, "HighLightStyle", 1, false)

/// The stored design of a menu bar: its control values and items as kept in a form's stored
/// design (a JSON object of named values, one key per value and item). Spacing is the
/// horizontal padding of a bar item in pixels, Style the paint style 0...3, HighLightStyle
/// the highlight style of popup items 0...5.
class MenuDesign {
public:
    PELMORA_MENU_BAR_VALUES(PELMORA_VALUE_ACCESSORS)
    /// Font of the bar and the first-level popups.
    const QFont& ItemsFont() const { return itemsFont_; }
    void SetItemsFont(const QFont& font) { itemsFont_ = font; }
    /// The items in order; their pictures included.
    MenuItemList& Items() { return items_; }
    const MenuItemList& Items() const { return items_; }

    /// Reads a stored design; every missing or unreadable value takes its default, the font
    /// defaults to `containerFont`. Never fails.
    static MenuDesign FromJson(const QJsonObject& bag, const QFont& containerFont);
    /// Writes the stored design; values equal to their defaults are left out.
    QJsonObject ToJson(const QFont& containerFont) const;

    /// Reads a stored design from a file or Qt resource path; false when it cannot be read.
    static bool Load(const QString& path, const QFont& containerFont, MenuDesign& design);

    /// The most items a stored design may declare; indices are 16-bit.
    static constexpr int MaxItems = 32767;

private:
    PELMORA_MENU_BAR_VALUES(PELMORA_VALUE_FIELD)
    QFont itemsFont_;
    MenuItemList items_;
};

} // namespace pelmora
