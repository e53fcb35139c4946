#pragma once

#include <QString>

namespace pelmora {

class PopupMenu;

/// Whoever opened a popup menu window: the menu bar for a first-level popup, else the popup
/// one level up. Clicks and descriptions travel up this chain to the bar.
class MenuOwner {
public:
    virtual ~MenuOwner() = default;
    /// "xMenu" for the bar, "wMenu" for a popup.
    virtual QString Name() const = 0;
    /// Passes a chosen item's Name up the chain; the bar raises ItemClick.
    virtual void SendClickEvent(const QString& key) = 0;
    /// Passes an item's Description up the chain; the bar raises ItemDescription.
    virtual void SendDescriptionEvent(const QString& description) = 0;
    /// Closes this popup and every popup above it; the bar has nothing to close.
    virtual void ForceUnload() = 0;
    /// Told by a child popup while it unloads: the owner forgets it and clears MenuOpen.
    virtual void ChildUnloaded(PopupMenu* child) = 0;
};

} // namespace pelmora
