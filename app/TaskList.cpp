#include "app/TaskList.h"

#include "app/MiddleElisionDelegate.h"
#include "app/TaskIcons.h"
#include "controls/design/Twips.h"

#include <QDateTime>
#include <QDropEvent>
#include <QFileInfo>
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
    setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Folder"),
                     QStringLiteral("Target File"), QStringLiteral("File Size"),
                     QStringLiteral("Modify Date"), QStringLiteral("Converted")});
    headerItem()->setTextAlignment(ColumnSize, Qt::AlignRight | Qt::AlignVCenter);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::Interactive);
    header()->setSectionsMovable(false);
    // A long path loses its start, so the file name at its end stays in view.
    setTextElideMode(Qt::ElideLeft);
    setItemDelegateForColumn(ColumnName, new MiddleElisionDelegate(this));
    FitColumns();
    connect(header(), &QHeaderView::sectionResized, this, [this] {
        if (!fitting_) {
            userSized_ = true;
        }
    });
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
    static constexpr int kDesignTwips[ColumnCount] = {1800, 1800, 1900, 1000, 1600, 700};
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
    if (userSized_) {
        return;
    }
    fitting_ = true;
    int fixed = 0;
    for (int column = ColumnSize; column < ColumnCount; ++column) {
        setColumnWidth(column, LeastColumnWidth(column));
        fixed += columnWidth(column);
    }
    // The name, its folder and the target share what the other columns leave: the
    // folder and the target a quarter each, the name the rest. A cut name no longer
    // tells rows apart, while a cut path keeps its end and shows whole in its tooltip.
    const int paths = viewport()->width() - fixed;
    int left = paths;
    for (const int column : {ColumnFolder, ColumnTarget}) {
        const int width = std::max(LeastColumnWidth(column), paths / 4);
        setColumnWidth(column, width);
        left -= width;
    }
    setColumnWidth(ColumnName, std::max(LeastColumnWidth(ColumnName), left));
    fitting_ = false;
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

void TaskList::AppendRows(const QList<Task>& tasks) {
    QList<QTreeWidgetItem*> rows;
    rows.reserve(tasks.size());
    for (const Task& task : tasks) {
        rows.push_back(new TaskRow(task));
        sources_.insert(SourceKey(task.source));
    }
    addTopLevelItems(rows);
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

int TaskList::CountChecked() {
    TaskRow* current = CurrentRow();
    int checked = 0;
    for (int i = 1; i <= RowCount(); ++i) {
        TaskRow* row = Row(i);
        if (row->Checked()) {
            if (row == current) {
                row->SetIcon(IconPending);
            }
            ++checked;
        }
    }
    return checked;
}

void TaskList::SetAllChecks(bool on, bool invert) {
    for (int i = 1; i <= RowCount(); ++i) {
        TaskRow* row = Row(i);
        row->SetChecked(invert ? !row->Checked() : on);
        row->SetIcon(IconPending);
    }
}

bool TaskList::MoveCurrent(int step) {
    TaskRow* row = CurrentRow();
    const int k = PositionOf(row);
    const int to = k + step;
    if (k == 0 || to < 1 || to > RowCount()) {
        return false;
    }
    TaskRow* other = Row(to);
    // The row itself moves, so it keeps its check box, texts and password.
    MoveRow(k, to);
    setCurrentItem(row);
    row->SetIcon(IconPending);
    other->SetIcon(IconPending);
    return true;
}

QList<TaskRow*> TaskList::Highlighted() const {
    QList<TaskRow*> rows;
    for (int i = 1; i <= RowCount(); ++i) {
        if (Row(i)->isSelected()) {
            rows.push_back(Row(i));
        }
    }
    return rows;
}

int TaskList::RemoveHighlighted() {
    std::vector<int> positions;
    int kept = 0;
    for (int i = 1; i <= RowCount(); ++i) {
        if (Row(i)->isSelected()) {
            // A document being converted keeps its row: its outcome is still to show.
            if (Row(i)->InProgress()) {
                ++kept;
            } else {
                positions.push_back(i);
            }
        }
    }
    // The highlight goes with its rows anyway; dropping it first spares the list
    // from updating every remaining highlight at each removal.
    clearSelection();
    for (auto i = positions.rbegin(); i != positions.rend(); ++i) {
        RemoveRow(*i);
    }
    return kept;
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

bool TaskList::IsDocumentName(const QString& path) {
    for (const char* extension : {".doc", ".rtf", ".xml"}) {
        if (path.endsWith(QLatin1String(extension), Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}

bool TaskList::Takes(const QUrl& url) {
    if (!url.isLocalFile()) {
        return false;
    }
    const QString path = url.toLocalFile();
    return IsDocumentName(path) || QFileInfo(path).isDir();
}

bool TaskList::RefuseDrag(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    QString reason = dropRefusal_;
    if (reason.isEmpty() && std::none_of(urls.begin(), urls.end(), &TaskList::Takes)) {
        reason = QStringLiteral("Only .doc, .rtf and .xml documents and folders can be added");
    }
    if (reason.isEmpty()) {
        return false;
    }
    // The drag source must learn that nothing was taken.
    event->setDropAction(Qt::IgnoreAction);
    event->ignore();
    emit DropRefused(reason);
    return true;
}

void TaskList::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() && !RefuseDrag(event)) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void TaskList::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls() && dropRefusal_.isEmpty()) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void TaskList::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasUrls() || RefuseDrag(event)) {
        event->ignore();
        return;
    }
    QList<QUrl> taken;
    int skipped = 0;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (Takes(url)) {
            taken.push_back(url);
        } else {
            ++skipped;
        }
    }
    event->acceptProposedAction();
    emit UrlsDropped(taken, skipped);
}

void TaskList::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeWidget::mouseDoubleClickEvent(event);
    emit DoubleClicked();
}

} // namespace pelmora
