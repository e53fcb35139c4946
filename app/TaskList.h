#pragma once
// The task list: a report view of task rows with check boxes, whole-row selection
// and several highlighted rows. It keeps the set of its sources so a duplicate is
// found without a scan, and tells its window about releases, keys and removals.

#include "app/TaskRow.h"

#include <QIcon>
#include <QSet>
#include <QTreeWidget>
#include <QUrl>

namespace pelmora {

/// The report view of the main window's tasks. Positions are 1-based.
class TaskList : public QTreeWidget {
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
    /// Removes the row at position; out of range does nothing.
    void RemoveRow(int position);
    /// Removes every row.
    void RemoveAllRows();
    /// Moves the row at from to position to (both in range), keeping the row itself.
    void MoveRow(int from, int to);
    /// True when a row's source equals source ignoring case.
    bool Contains(const QString& source) const;

    /// Gives each column at least its designed width and room for its header (the date
    /// room for its time); the two path columns share the rest of the list's width.
    void FitColumns();

    /// The picture of a task icon number (the image list of the rows).
    const QIcon& Picture(int icon) const;

signals:
    /// A row is about to leave the list.
    void RowAboutToBeRemoved(int position, pelmora::TaskRow* row);
    /// A mouse button was released over the list, after the list handled it.
    void MouseReleased(Qt::MouseButton button, QPoint position);
    /// A key was released while the list had the focus.
    void KeyReleased(int key, Qt::KeyboardModifiers modifiers);
    /// The list was double-clicked, after the list handled it.
    void DoubleClicked();
    /// Files or folders were dropped on the list.
    void UrlsDropped(const QList<QUrl>& urls);

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

    QIcon converted_;
    QIcon pending_;
    QSet<QString> sources_;
};

} // namespace pelmora
