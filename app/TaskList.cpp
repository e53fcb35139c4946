#include "app/TaskList.h"

#include "app/TaskIcons.h"
#include "controls/design/Twips.h"

#include <QDateTime>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QMimeData>
#include <QMouseEvent>
#include <QStyle>
#include <algorithm>

namespace pelmora {

TaskList::TaskList(QWidget* parent)
    : QTreeWidget(parent), converted_(ConvertedPageIcon()), pending_(WordDocumentIcon()) {
    setObjectName(QStringLiteral("lstItem"));
    setColumnCount(ColumnCount);
    setHeaderLabels({QStringLiteral("Source File"), QStringLiteral("Target File"),
                     QStringLiteral("File Size"), QStringLiteral("Modify Date"),
                     QStringLiteral("Converted")});
    headerItem()->setTextAlignment(ColumnSize, Qt::AlignRight | Qt::AlignVCenter);
    header()->setStretchLastSection(false);
    // A long path loses its middle, so the file name at its end stays in view.
    setTextElideMode(Qt::ElideMiddle);
    FitColumns();
    setRootIsDecorated(false);
    setItemsExpandable(false);
    // Every row has the same height; the view then lays out thousands of rows
    // without measuring each one.
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setIconSize(QSize(16, 16));
    // Check boxes on the rows; a click anywhere on a row highlights the whole row.
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    // Files dragged from a file manager are added; rows themselves are not dragged.
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
}

int TaskList::LeastColumnWidth(int column) const {
    static constexpr int kDesignTwips[ColumnCount] = {2750, 2750, 1000, 1600, 700};
    int least =
        std::max(TwipsToPixelsX(kDesignTwips[column], this), header()->sectionSizeHint(column));
    if (column == ColumnDate) {
        // Room for a date with its time, as the locale writes the longest one.
        const QString longest = QLocale().toString(
            QDateTime(QDate(2000, 12, 28), QTime(23, 58, 58)), QLocale::ShortFormat);
        const int padding =
            2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 8;
        least = std::max(least, fontMetrics().horizontalAdvance(longest) + padding);
    }
    return least;
}

void TaskList::FitColumns() {
    int fixed = 0;
    for (int column = ColumnSize; column < ColumnCount; ++column) {
        setColumnWidth(column, LeastColumnWidth(column));
        fixed += columnWidth(column);
    }
    // The two paths share what the other columns leave of the list's width.
    const int paths = viewport()->width() - fixed;
    const int source = std::max(LeastColumnWidth(ColumnSource), paths / 2);
    const int target = std::max(LeastColumnWidth(ColumnTarget), paths - paths / 2);
    setColumnWidth(ColumnSource, source);
    setColumnWidth(ColumnTarget, target);
}

bool TaskList::viewportEvent(QEvent* event) {
    // The viewport also narrows when the scroll bar appears, not only with the list.
    if (event->type() == QEvent::Resize) {
        FitColumns();
    }
    return QTreeWidget::viewportEvent(event);
}

TaskRow* TaskList::Row(int position) const {
    return static_cast<TaskRow*>(topLevelItem(position - 1));
}

int TaskList::PositionOf(const TaskRow* row) const {
    if (row == nullptr) {
        return 0;
    }
    return indexOfTopLevelItem(const_cast<TaskRow*>(row)) + 1;
}

TaskRow* TaskList::CurrentRow() const {
    QTreeWidgetItem* item = currentItem();
    return item != nullptr && item->type() == TaskRow::Type ? static_cast<TaskRow*>(item) : nullptr;
}

TaskRow* TaskList::AppendRow(const Task& task) {
    auto* row = new TaskRow(task);
    addTopLevelItem(row);
    sources_.insert(SourceKey(task.source));
    return row;
}

void TaskList::RemoveRow(int position) {
    TaskRow* row = Row(position);
    if (row == nullptr) {
        return;
    }
    emit RowAboutToBeRemoved(position, row);
    sources_.remove(SourceKey(row->Source()));
    delete takeTopLevelItem(position - 1);
}

void TaskList::RemoveAllRows() {
    for (int position = RowCount(); position >= 1; --position) {
        emit RowAboutToBeRemoved(position, Row(position));
    }
    sources_.clear();
    clear();
}

void TaskList::MoveRow(int from, int to) {
    if (from == to || Row(from) == nullptr || Row(to) == nullptr) {
        return;
    }
    QTreeWidgetItem* row = takeTopLevelItem(from - 1);
    insertTopLevelItem(to - 1, row);
}

bool TaskList::Contains(const QString& source) const {
    return sources_.contains(SourceKey(source));
}

const QIcon& TaskList::Picture(int icon) const {
    return icon == IconConverted ? converted_ : pending_;
}

void TaskList::mouseReleaseEvent(QMouseEvent* event) {
    QTreeWidget::mouseReleaseEvent(event);
    emit MouseReleased(event->button(), event->position().toPoint());
}

bool TaskList::IsRepeatedMoveOrCheckKey(const QKeyEvent* event) {
    if (!event->isAutoRepeat()) {
        return false;
    }
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    return key == Qt::Key_Space ||
           ((key == Qt::Key_Left || key == Qt::Key_Right) && mods == Qt::ControlModifier);
}

void TaskList::keyPressEvent(QKeyEvent* event) {
    // A held key is one press: a held Space would flip the check box on and off.
    if (IsRepeatedMoveOrCheckKey(event)) {
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void TaskList::keyReleaseEvent(QKeyEvent* event) {
    QTreeWidget::keyReleaseEvent(event);
    // A held Ctrl+arrow sends a release with every repeat; only the real one moves.
    if (IsRepeatedMoveOrCheckKey(event)) {
        return;
    }
    emit KeyReleased(event->key(), event->modifiers());
}

void TaskList::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void TaskList::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void TaskList::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit UrlsDropped(event->mimeData()->urls());
}

void TaskList::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeWidget::mouseDoubleClickEvent(event);
    emit DoubleClicked();
}

} // namespace pelmora
