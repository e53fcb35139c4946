#pragma once

#include "controls/menu/MenuOwner.h"

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <memory>
#include <vector>

namespace pelmora {

class MenuGeometry;
class MenuItemList;

// What the opener sets up before FillItems, one row each: ROW(type, name, default). The row
// declares the popup's field and its getter; Setup sets them all.
#define PELMORA_POPUP_SETUP(ROW)                                                                   \
    ROW(MenuItemList*, MenuTree, nullptr)                                                          \
    ROW(MenuOwner*, ParentForm, nullptr)                                                           \
    ROW(int, FilterIndex, 0)                                                                       \
    ROW(int, LeftCorner, 0)                                                                        \
    ROW(int, TopCorner, 0)                                                                         \
    ROW(int, Style, 0)                                                                             \
    ROW(int, OwnerWidth, 0)                                                                        \
    ROW(int, HighLight, 0)

#define PELMORA_POPUP_GETTER(type, name, def) type name() const;

/// Borderless popup window showing the visible children of one menu item. Popups form a
/// chain bar -> popup -> popup; each knows its opener (ParentForm).
class PopupMenu : public QWidget, public MenuOwner {
    Q_OBJECT

public:
    /// A hidden popup window over `opener`; its 100 ms activation timer runs from here on.
    explicit PopupMenu(QWidget* opener = nullptr);
    ~PopupMenu() override;

    /// Set by the opener before FillItems: the whole menu (shared with the bar), the opener
    /// (the bar for a first-level popup, else the parent popup), the index of the item whose
    /// children are shown, the screen position of the top-left corner in twips, the paint
    /// style 0...3, the highlight style 0...5 and the width in pixels of the bar item that
    /// opened the popup (first level only, else 0).
    void Setup(MenuItemList* tree, MenuOwner* opener, int filterIndex, QPoint cornerTwips,
               int style, int highLight, int ownerWidth = 0);
    PELMORA_POPUP_SETUP(PELMORA_POPUP_GETTER)
    /// A child popup of this window is open.
    bool MenuOpen() const;

    /// Takes the name, size and bold of the bar's font (first-level popups only).
    void SetItemsFont(const QFont& font);
    /// Lists the children of FilterIndex, lays out their rows, sizes and places the window.
    void FillItems();
    /// Shows the window without taking the activation; a first-level popup then takes
    /// the application's key presses and closes on a press outside the menu.
    void ShowPopup();
    /// Opens a child popup beside item `index`.
    void ShowMenu(int index);
    /// Closes this popup and every popup of the chain above it.
    void ForceUnload() override;
    /// Closes this popup and its child; tells the opener. Safe to call twice.
    void Unload();
    /// Always "wMenu".
    QString Name() const override { return QStringLiteral("wMenu"); }
    /// Passes the key up the chain.
    void SendClickEvent(const QString& key) override;
    /// Passes the text up the chain.
    void SendDescriptionEvent(const QString& description) override;

    /// Highlights the first item that can be chosen (a menu opened from the keyboard).
    void HighlightFirst();

    /// Style 2: shapes the window to the item rows, leaving gaps between them.
    void SetRegions(int level);

    /// MenuTree indices of the items shown, in order.
    const std::vector<int>& Items() const;
    /// The highlighted item, 0 for none.
    int HotItem() const;
    /// The open child popup, or nullptr.
    PopupMenu* ChildPopup() const;
    /// MenuTree index of the item at a point of the window, 0 for none.
    int HitTest(int x, int y) const;
    /// Where the rows are drawn, as the last FillItems placed them.
    const MenuGeometry& Geometry() const;
    /// The painted window.
    const QImage& Surface() const;
    /// Was unloaded and waits for deletion.
    bool IsUnloaded() const;

protected:
    /// The private class takes painting, the mouse and the keys: Up and Down move the
    /// highlight, Enter chooses, Right opens a submenu (or the next menu of the bar), Left
    /// and Esc close this popup. QWidget does the rest.
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // On the widget, not the private class: the child popup calls it through its MenuOwner.
    void ChildUnloaded(PopupMenu* child) override;

    class Private;
    std::unique_ptr<Private> d_;
};

#undef PELMORA_POPUP_GETTER

} // namespace pelmora
