#pragma once

#include "controls/menu/MenuItem.h"

#include <vector>

namespace pelmora {

/// The ordered list of menu items shared by the bar and its popups; indices start at 1.
class MenuItemList {
public:
    /// Number of items.
    int Count() const { return static_cast<int>(items_.size()); }
    /// The item at a 1-based index, or nullptr when the index is out of range.
    MenuItem* At(int index);
    const MenuItem* At(int index) const;
    /// The item at a 1-based index; raises 35601 when the index is out of range.
    MenuItem& Item(int index);
    const MenuItem& Item(int index) const;
    /// Appends an item and returns its index.
    int Add(const MenuItem& item);
    /// Removes every item.
    void Clear() { items_.clear(); }
    /// Sets RootIndex and IsRoot of every item from the indent levels.
    void LinkTree();
    /// Index of the first item whose Name equals the text ignoring case, 0 when none.
    int FindName(const QString& name) const;

    std::vector<MenuItem>::iterator begin() { return items_.begin(); }
    std::vector<MenuItem>::iterator end() { return items_.end(); }
    std::vector<MenuItem>::const_iterator begin() const { return items_.begin(); }
    std::vector<MenuItem>::const_iterator end() const { return items_.end(); }

private:
    std::vector<MenuItem> items_;
};

} // namespace pelmora
