#pragma once

#include "controls/menu/MenuDesign.h"
#include "controls/menu/MenuItemList.h"
#include "controls/menu/MenuOwner.h"

#include <QFont>
#include <QImage>
#include <QJsonObject>
#include <QWidget>
#include <cstdint>
#include <memory>

namespace pelmora {

class MenuGeometry;
class PopupMenu;

#define PELMORA_MENU_BAR_ACCESSORS(type, name, key, def, relayout)                                 \
    type name() const;                                                                             \
    void Set##name(const type& value);

/// Owner-drawn menu bar: the bar items are the level-0 items of one flat item list; a click
/// opens a popup menu window with the item's children.
class MenuBar : public QWidget, public MenuOwner {
    Q_OBJECT

public:
    /// Bar item states for painting.
    enum BarState { StateOpen = -1, StateNormal = 0, StateHot = 1 };

    /// A new bar: Spacing 12, the parent's font without bold.
    explicit MenuBar(QWidget* parent = nullptr);
    ~MenuBar() override;

    /// The whole menu, indices from 1.
    MenuItemList& MenuTree();
    const MenuItemList& MenuTree() const;

    /// A key that is a non-zero number is the index itself (not range-checked); otherwise the
    /// first item whose Name equals the key ignoring case. Raises 35601 when nothing matches.
    int KeyToIndex(const QString& key) const;
    /// Checked of the first item named `key` (ignoring case); false when there is none.
    bool ItemChecked(const QString& key) const;
    /// Sets Checked of the first item named `key`; an unknown key changes nothing. No repaint.
    void SetItemChecked(const QString& key, bool checked);

    /// Opens the popup of bar item `index` under it; raises 35607 while a modal window is up.
    void ShowMenu(int index);
    /// Lays out and repaints the bar.
    void Refresh();
    /// Closes whatever popup of this bar is open; false when none was.
    bool CloseOpenMenu();
    /// Opens bar item index with its first item highlighted, for the keyboard: Alt with
    /// the item's letter (the one after "&", else the first) and F10 (the first item) do.
    void OpenFromKeyboard(int index);
    /// Opens the bar item step places after (or before) the open one, wrapping around.
    void OpenNeighbour(int step);

    // One getter and setter per row of PELMORA_MENU_BAR_VALUES: a new value marks the design
    // changed and takes effect at the next Refresh; the value the property has does nothing.
    PELMORA_MENU_BAR_VALUES(PELMORA_MENU_BAR_ACCESSORS)
    const QFont& ItemsFont() const;
    /// Sets the font of the bar and its first-level popups; takes effect at the next Refresh.
    void SetItemsFont(const QFont& font);
    /// Colour (OLE) with which item cells are filled before painting.
    std::uint32_t BackColor() const;
    void SetBackColor(std::uint32_t color);
    /// True once a persisted property was set since the design was read.
    bool Changed() const;
    void SetChanged(bool changed);

    /// Always "xMenu".
    QString Name() const override { return QStringLiteral("xMenu"); }
    /// Raises ItemClick with the key.
    void SendClickEvent(const QString& key) override;
    /// Raises ItemDescription with the text.
    void SendDescriptionEvent(const QString& description) override;

    /// Replaces the menu and the control values with a stored design, then Refresh.
    void ReadProperties(const QJsonObject& bag);
    /// The stored design of this bar.
    QJsonObject WriteProperties() const;
    /// Reads a stored design from a file or resource path; false when it cannot be read.
    bool LoadDesign(const QString& path);

    /// Index of the hot bar item, 0 for none.
    int HotItem() const;
    /// A popup of this bar is open.
    bool MenuOpen() const;
    /// The first-level popup, or nullptr.
    PopupMenu* Popup() const;
    /// Index of the bar item at a point of the control, 0 for none.
    int HitTest(int x, int y);
    /// Where the bar items are drawn, laid out anew first when the layout is stale.
    const MenuGeometry& Geometry();
    /// The painted bar.
    const QImage& Surface() const;

    QSize sizeHint() const override;

signals:
    /// A leaf item was chosen; its Name exactly as stored.
    void ItemClick(const QString& name);
    /// The item under the mouse changed; its Description, or "" off the popup items.
    void ItemDescription(const QString& description);

protected:
    /// The private class takes painting and the mouse and follows a new size; QWidget does
    /// the rest.
    bool event(QEvent* event) override;

private:
    // On the widget, not the private class: the popup calls them through its MenuOwner.
    void ForceUnload() override {}
    void ChildUnloaded(PopupMenu* child) override;

    class Private;
    std::unique_ptr<Private> d_;
};

#undef PELMORA_MENU_BAR_ACCESSORS

} // namespace pelmora
