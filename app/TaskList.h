#pragma once
// The task list: a report view of task rows with check boxes, whole-row selection
// and several highlighted rows. It keeps the set of its sources so a duplicate is
// found without a scan, and tells its window about releases, keys, drops and removals.

#include "app/TaskRow.h"

#include <QIcon>
#include <QSet>
#include <QTreeWidget>
#include <QUrl>

namespace pelmora {

/// The report view of the main window's tasks. Positions are 1-based.
class TaskList : public QTreeWidget, public TaskPictures {
    Q_OBJECT
public:
    explicit TaskList(QWidget* parent = nullptr);

    int RowCount() const { return topLevelItemCount(); }
    /// The row at position, or nullptr out of range.
    TaskRow* Row(int position) const;
    /// The position of row, 0 when it is not in the list.
    int PositionOf(const TaskRow* row) const;
    /// The focused row, or nullptr.
    TaskRow* CurrentRow() const;
    /// The focused row's position, 0 when there is none.
    int CurrentPosition() const { return PositionOf(CurrentRow()); }

    /// Appends a row for task and returns it.
    TaskRow* AppendRow(const Task& task);
    /// Appends a row for each task at once.
    void AppendRows(const QList<Task>& tasks);
    /// Removes the row at position; out of range does nothing.
    void RemoveRow(int position);
    /// Removes every row.
    void RemoveAllRows();
    /// Moves the row at from to position to (both in range), keeping the row itself.
    void MoveRow(int from, int to);
    /// True when a row's source equals source ignoring case.
    bool Contains(const QString& source) const;

    /// Counts the checked rows; the current row, when checked, shows the pending icon.
    int CountChecked();
    /// Sets every row's check box to on (or flips it, with invert) and its icon to pending.
    void SetAllChecks(bool on, bool invert = false);
    /// Moves the current row step places (each row keeps its check box); both rows
    /// show the pending icon. Nothing when there is no current row or no room.
    bool MoveCurrent(int step);
    /// Removes the highlighted rows, last to first, except those whose documents are
    /// in progress; returns how many of those stayed.
    int RemoveHighlighted();
    /// The highlighted rows, in list order.
    QList<TaskRow*> Highlighted() const;

    /// Gives each column at least its designed width and room for its header (the date
    /// room for its time); the folder and the target take a quarter of the rest of the
    /// list's width each, the name what is left. Once the user has sized a column, the widths are
    /// the user's.
    void FitColumns();

    /// True for the documents a drop or Add takes: .doc, .rtf and .xml, by extension.
    static bool IsDocumentName(const QString& path);
    /// Drops are refused with reason while it is not empty (during a run).
    void SetDropRefusal(const QString& reason) { dropRefusal_ = reason; }

    /// The picture of a task icon number (the image list of the rows).
    const QIcon& Picture(int icon) const override;

signals:
    /// A row is about to leave the list.
    void RowAboutToBeRemoved(int position, pelmora::TaskRow* row);
    /// A mouse button was released over the list, after the list handled it.
    void MouseReleased(Qt::MouseButton button, QPoint position);
    /// A key was released while the list had the focus.
    void KeyReleased(int key, Qt::KeyboardModifiers modifiers);
    /// The list was double-clicked, after the list handled it.
    void DoubleClicked();
    /// Documents or folders were dropped on the list; skipped counts what was not taken.
    void UrlsDropped(const QList<QUrl>& urls, int skipped);
    /// A drop was refused, for reason.
    void DropRefused(const QString& reason);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    static QString SourceKey(const QString& source) { return source.toCaseFolded(); }
    static bool IsRepeatedMoveOrCheckKey(const QKeyEvent* event);
    int LeastColumnWidth(int column) const;
    static bool Takes(const QUrl& url);
    bool RefuseDrag(QDropEvent* event);

    QIcon converted_;
    QIcon pending_;
    QSet<QString> sources_;
    QString dropRefusal_;
    bool fitting_ = false;
    bool userSized_ = false;
};

} // namespace pelmora
