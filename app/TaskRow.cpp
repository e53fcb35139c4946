#include "app/TaskRow.h"

#include <algorithm>

namespace pelmora {

namespace {

int Picture(int icon) {
    return icon == IconConverted ? IconConverted : IconPending;
}

} // namespace

TaskRow::TaskRow(const Task& task) : QTreeWidgetItem(Type), task_(task) {
    setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
             Qt::ItemNeverHasChildren);
    setTextAlignment(ColumnSize, Qt::AlignRight | Qt::AlignVCenter);
    task_.icon = Picture(task.icon);
    SetChecked(task.checked);
    // A changed item tells the view only the columns it holds values for; the texts come
    // from the task, so a value in the last column makes every cell repaint.
    setData(ColumnCount - 1, Qt::UserRole, true);
}

void TaskRow::SetTarget(const QString& target) {
    task_.target = target;
    emitDataChanged();
}

void TaskRow::SetState(const QString& state, const QString& reason) {
    task_.state = state;
    task_.reason = reason;
    emitDataChanged();
}

void TaskRow::SetIcon(int icon) {
    if (Picture(icon) != task_.icon) {
        task_.icon = Picture(icon);
        emitDataChanged();
    }
}

QVariant TaskRow::data(int column, int role) const {
    const QString& source = task_.source;
    const int slash = source.lastIndexOf(QLatin1Char('/'));
    if (role == Qt::DisplayRole) {
        switch (column) {
        case ColumnName:
            return source.mid(slash + 1);
        case ColumnFolder:
            return source.left(std::max(slash, 1));
        case ColumnTarget:
            return task_.target;
        case ColumnSize:
            return task_.sizeText;
        case ColumnDate:
            return task_.dateText;
        case ColumnState:
            return task_.state;
        default:
            return {};
        }
    }
    if (role == Qt::ToolTipRole) {
        // The whole path shows when the pointer rests on a cut one; a failure says why.
        if (column == ColumnTarget) {
            return task_.target;
        }
        if (!task_.reason.isEmpty() && column == ColumnState) {
            return task_.reason;
        }
        if (column == ColumnName || column == ColumnFolder) {
            return task_.reason.isEmpty() ? source : source + QLatin1Char('\n') + task_.reason;
        }
        return {};
    }
    if (column == ColumnName && role == Qt::DecorationRole) {
        if (const auto* pictures = dynamic_cast<const TaskPictures*>(treeWidget())) {
            return pictures->Picture(task_.icon);
        }
        return {};
    }
    return QTreeWidgetItem::data(column, role);
}

void TaskRow::SetChecked(bool checked) {
    setCheckState(ColumnName, checked ? Qt::Checked : Qt::Unchecked);
}

Task TaskRow::ToTask() const {
    Task task = task_;
    task.checked = Checked();
    return task;
}

} // namespace pelmora
