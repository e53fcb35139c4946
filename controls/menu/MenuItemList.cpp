#include "controls/menu/MenuItemList.h"

#include "controls/menu/MenuError.h"

namespace pelmora {

MenuItem* MenuItemList::At(int index) {
    if (index < 1 || index > Count()) {
        return nullptr;
    }
    return &items_[static_cast<std::size_t>(index - 1)];
}

const MenuItem* MenuItemList::At(int index) const {
    return const_cast<MenuItemList*>(this)->At(index);
}

MenuItem& MenuItemList::Item(int index) {
    MenuItem* item = At(index);
    if (!item) {
        RaiseMenuError(35601, "MenuTree", "Item");
    }
    return *item;
}

const MenuItem& MenuItemList::Item(int index) const {
    return const_cast<MenuItemList*>(this)->Item(index);
}

int MenuItemList::Add(const MenuItem& item) {
    items_.push_back(item);
    return Count();
}

void MenuItemList::LinkTree() {
    for (MenuItem& item : items_) {
        item.SetRootIndex(0);
        item.SetIsRoot(false);
    }
    // Only items exactly one level deeper are children; the scan ends where the subtree ends,
    // so a list with skipped levels still links every item it can.
    const int count = Count();
    for (int i = 1; i <= count; ++i) {
        const int level = items_[i - 1].Ident() + 1;
        for (int j = i + 1; j <= count; ++j) {
            MenuItem& next = items_[j - 1];
            if (next.Ident() < level) {
                break;
            }
            if (next.Ident() == level) {
                next.SetRootIndex(i);
                items_[i - 1].SetIsRoot(true);
            }
        }
    }
}

int MenuItemList::FindName(const QString& name) const {
    for (int i = 1; i <= Count(); ++i) {
        if (items_[i - 1].Name().compare(name, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return 0;
}

} // namespace pelmora
