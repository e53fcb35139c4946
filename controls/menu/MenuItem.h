#pragma once

#include "controls/design/ValueTable.h"
#include "controls/paint/OlePicture.h"

#include <QString>
#include <cstdint>

namespace pelmora {

// The values of a menu item, one row each; the stored ones in stored order, the picture
// (stored between MaskColor and Visible) kept apart where PICTURE stands:
//   ROW(type, name, stored key (nullptr: not stored), default)
// The row is the one place a value is declared: the item's field, getter and setter and the
// stored design come from it.
#define PELMORA_MENU_ITEM_VALUES(ROW, PICTURE)                                                     \
    ROW(bool, Enabled, "MenuEnabled", true)                                                        \
    ROW(bool, Checked, "MenuChecked", false)                                                       \
    ROW(int, Ident, "MenuIdent", 0)                                                                \
    ROW(QString, Caption, "MenuCaption", QString())                                                \
    ROW(QString, Name, "MenuName", QString())                                                      \
    ROW(bool, UseMaskColor, "MenuUseMaskColor", true)                                              \
    ROW(std::uint32_t, MaskColor, "MenuMaskColor", 0xFF00FFu)                                      \
    PICTURE                                                                                        \
    ROW(bool, Visible, "MenuVisible", true)                                                        \
    ROW(QString, Description, "MenuDescription", QString())                                        \
    ROW(bool, Expanded, nullptr, false)                                                            \
    ROW(int, RootIndex, nullptr, 0)                                                                \
    ROW(bool, IsRoot, nullptr, false)

// Name: identifier reported by the click event, compared without regard to case. Caption:
// text, "&" marks the access key, "-" makes a separator. Ident: indent level, 0 = bar item;
// level n + 1 right after level n is its first child. Visible: hidden items get no bar cell
// and are not listed in popups. Enabled: disabled items are drawn greyed and cannot be
// chosen. UseMaskColor: the picture is drawn with MaskColor (an OLE colour) transparent.
// Description: status text sent with the description event. Expanded: this item's popup is
// open. RootIndex: 1-based index of the parent item, 0 for bar items. IsRoot: the item has
// children. Where an item is drawn is not the item's: the bar and each popup keep a
// MenuGeometry.

/// One entry of a menu: the tree is expressed by Ident, the indent level of each item in the
/// flat list kept by the menu bar.
class MenuItem {
public:
    PELMORA_MENU_ITEM_VALUES(PELMORA_VALUE_ACCESSORS, )

    /// The item's picture; `which` is accepted and not used (there is one slot).
    const OlePicture& APicture(int which = 0) const;
    /// Replaces the picture.
    void SetAPicture(const OlePicture& picture, int which = 0);
    /// Replaces the picture and remembers the path it was read from, for the stored design.
    void SetAPicture(const OlePicture& picture, const QString& source);
    /// The resource or file path the picture was read from; empty when not known.
    const QString& PictureSource() const { return pictureSource_; }

private:
    PELMORA_MENU_ITEM_VALUES(PELMORA_VALUE_FIELD, )
    OlePicture picture_;
    QString pictureSource_;
};

} // namespace pelmora
