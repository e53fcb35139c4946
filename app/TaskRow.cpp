#include "app/TaskRow.h"

#include "app/TaskList.h"

namespace pelmora {

TaskRow::TaskRow(const Task& task) : QTreeWidgetItem(Type), m_password(task.password) {
    setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
             Qt::ItemNeverHasChildren);
    setText(ColumnSource, task.source);
    setText(ColumnTarget, task.target);
    setText(ColumnSize, task.sizeText);
    setTextAlignment(ColumnSize, Qt::AlignRight | Qt::AlignVCenter);
    setText(ColumnDate, task.dateText);
    setText(ColumnState, task.state);
    m_icon = task.icon == IconConverted ? IconConverted : IconPending;
    SetChecked(task.checked);
}

void TaskRow::SetIcon(int icon) {
    const int picture = icon == IconConverted ? IconConverted : IconPending;
    if (picture != m_icon) {
        m_icon = picture;
        emitDataChanged();
    }
}

QVariant TaskRow::data(int column, int role) const {
    if (column == ColumnSource && role == Qt::DecorationRole) {
        if (const auto* list = dynamic_cast<const TaskList*>(treeWidget())) {
            return list->Picture(m_icon);
        }
        return {};
    }
    return QTreeWidgetItem::data(column, role);
}

void TaskRow::SetChecked(bool checked) {
    setCheckState(ColumnSource, checked ? Qt::Checked : Qt::Unchecked);
}

Task TaskRow::ToTask() const {
    return Task{Source(), Target(),   text(ColumnSize), text(ColumnDate),
                State(),  m_password, m_icon,           Checked()};
}

} // namespace pelmora
