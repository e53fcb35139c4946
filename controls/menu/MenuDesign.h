#pragma once

#include "controls/menu/MenuItemList.h"

#include <QFont>
#include <QJsonObject>

namespace pelmora {

/// The stored design of a menu bar: its control values and items as kept in a form's stored
/// design (a JSON object of named values, one key per value and item).
class MenuDesign {
public:
    /// Horizontal padding of a bar item, pixels.
    int Spacing = 12;
    /// Paint style 0...3.
    int Style = 0;
    /// Highlight style of popup items 0...5.
    int HighLightStyle = 1;
    /// Font of the bar and the first-level popups.
    QFont ItemsFont;
    /// The items in order; their pictures included.
    MenuItemList Items;

    /// Reads a stored design; every missing or unreadable value takes its default, the font
    /// defaults to `containerFont`. Never fails.
    static MenuDesign FromJson(const QJsonObject& bag, const QFont& containerFont);
    /// Writes the stored design; values equal to their defaults are left out.
    QJsonObject ToJson(const QFont& containerFont) const;

    /// Reads a stored design from a file or Qt resource path; false when it cannot be read.
    static bool Load(const QString& path, const QFont& containerFont, MenuDesign& design);

    /// The most items a stored design may declare; indices are 16-bit.
    static constexpr int MaxItems = 32767;
};

} // namespace pelmora
