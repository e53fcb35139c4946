#pragma once
// One row of the task list: a task value (a source document waiting for, or done
// with, its conversion). What the columns show is drawn from the value.

#include <QIcon>
#include <QString>
#include <QTreeWidgetItem>

namespace pelmora {

/// The picture of a task: 1 a converted page, 2 a document still to convert.
enum TaskIcon : int { IconConverted = 1, IconPending = 2 };

/// The columns of the task list, left to right from 0; ColumnCount counts them.
enum TaskColumn : int {
    ColumnName,
    ColumnFolder,
    ColumnTarget,
    ColumnSize,
    ColumnDate,
    ColumnState,
    ColumnCount
};

/// Where rows find the picture of a task icon: the view they are in, which holds
/// one copy of each for all its rows.
class TaskPictures {
public:
    /// The picture of a task icon number.
    virtual const QIcon& Picture(int icon) const = 0;

protected:
    ~TaskPictures() = default;
};

/// A task as a plain value.
struct Task {
    QString source;   ///< full path of the source document
    QString target;   ///< full path of the page to write
    QString sizeText; ///< as "File Size" shows it
    QString dateText; ///< as "Modify Date" shows it
    QString state;    ///< "Ready", "Done" or "Failure"
    QString reason;   ///< why the last conversion failed; empty otherwise
    QString password; ///< the password given when the task was added; never shown
    int icon = IconPending;
    bool checked = true;
};

/// A task list row; its columns show its task, its password is hidden.
class TaskRow : public QTreeWidgetItem {
public:
    /// The item type that tells task rows from other items.
    static constexpr int Type = QTreeWidgetItem::UserType + 1;

    explicit TaskRow(const Task& task);

    const QString& Source() const { return task_.source; }
    const QString& Target() const { return task_.target; }
    void SetTarget(const QString& target);
    const QString& State() const { return task_.state; }
    /// Sets the state, and the reason of a failure (empty for none).
    void SetState(const QString& state, const QString& reason = QString());
    const QString& Reason() const { return task_.reason; }
    const QString& Password() const { return task_.password; }
    /// IconConverted or IconPending.
    int Icon() const { return task_.icon; }
    void SetIcon(int icon);
    bool Checked() const { return checkState(ColumnName) != Qt::Unchecked; }
    void SetChecked(bool checked);
    /// True while a session converts the row's document.
    bool InProgress() const { return inProgress_; }
    void SetInProgress(bool inProgress) { inProgress_ = inProgress; }
    /// The row as a plain value.
    Task ToTask() const;

    QVariant data(int column, int role) const override;

private:
    Task task_;
    bool inProgress_ = false;
};

} // namespace pelmora
