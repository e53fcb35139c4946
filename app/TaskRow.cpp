#include "app/TaskRow.h"

#include "app/TaskList.h"

namespace pelmora {

TaskRow::TaskRow(const Task& task) : QTreeWidgetItem(Type), password_(task.password) {
    setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
             Qt::ItemNeverHasChildren);
    setText(ColumnSource, task.source);
    setText(ColumnTarget, task.target);
    setText(ColumnSize, task.sizeText);
    setTextAlignment(ColumnSize, Qt::AlignRight | Qt::AlignVCenter);
    setText(ColumnDate, task.dateText);
    setText(ColumnState, task.state);
    icon_ = task.icon == IconConverted ? IconConverted : IconPending;
    SetChecked(task.checked);
}

void TaskRow::SetIcon(int icon) {
    const int picture = icon == IconConverted ? IconConverted : IconPending;
    if (picture != icon_) {
        icon_ = picture;
        emitDataChanged();
    }
}

QVariant TaskRow::data(int column, int role) const {
    if (column == ColumnSource && role == Qt::DecorationRole) {
        if (const auto* list = dynamic_cast<const TaskList*>(treeWidget())) {
            return list->Picture(icon_);
        }
        return {};
    }
    // Paths are elided in the list; the whole path shows when the pointer rests on it.
    if ((column == ColumnSource || column == ColumnTarget) && role == Qt::ToolTipRole) {
        return text(column);
    }
    return QTreeWidgetItem::data(column, role);
}

void TaskRow::SetChecked(bool checked) {
    setCheckState(ColumnSource, checked ? Qt::Checked : Qt::Unchecked);
}

Task TaskRow::ToTask() const {
    return Task{Source(),  Target(), text(ColumnSize), text(ColumnDate), State(),
                password_, icon_,    Checked()};
}

} // namespace pelmora
