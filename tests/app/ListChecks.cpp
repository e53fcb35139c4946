#include "tests/app/ListChecks.h"

#include <QTreeWidget>

namespace pelmora::test {

void SetItemChecked(QTreeWidget* list, int row, bool checked) {
    QTreeWidgetItem* item = list->topLevelItem(row - 1);
    if (item != nullptr) {
        item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    }
}

bool IsItemChecked(const QTreeWidget* list, int row) {
    const QTreeWidgetItem* item = list->topLevelItem(row - 1);
    return item != nullptr && item->checkState(0) != Qt::Unchecked;
}

} // namespace pelmora::test
