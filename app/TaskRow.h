#pragma once
// One row of the task list: a source document waiting for (or done with) conversion.

#include <QString>
#include <QTreeWidgetItem>

namespace pelmora {

/// The picture of a task: 1 a converted page, 2 a document still to convert.
enum TaskIcon : int { IconConverted = 1, IconPending = 2 };

/// The columns of the task list, left to right from 0; ColumnCount counts them.
enum TaskColumn : int {
    ColumnSource,
    ColumnTarget,
    ColumnSize,
    ColumnDate,
    ColumnState,
    ColumnCount
};

/// A task as a plain value: what a row shows and holds.
struct Task {
    QString source;   ///< full path of the source document
    QString target;   ///< full path of the page to write
    QString sizeText; ///< as "File Size" shows it
    QString dateText; ///< as "Modify Date" shows it
    QString state;    ///< "Ready", "Done" or "Failure"
    QString password; ///< the password given when the task was added; never shown
    int icon = IconPending;
    bool checked = true;
};

/// A task list row; its column texts are the task's texts, its password is hidden.
class TaskRow : public QTreeWidgetItem {
public:
    /// The item type that tells task rows from other items.
    static constexpr int Type = QTreeWidgetItem::UserType + 1;

    explicit TaskRow(const Task& task);

    QString Source() const { return text(ColumnSource); }
    QString Target() const { return text(ColumnTarget); }
    void SetTarget(const QString& target) { setText(ColumnTarget, target); }
    QString State() const { return text(ColumnState); }
    void SetState(const QString& state) { setText(ColumnState, state); }
    QString Password() const { return password_; }
    /// IconConverted or IconPending.
    int Icon() const { return icon_; }
    void SetIcon(int icon);
    bool Checked() const { return checkState(ColumnSource) != Qt::Unchecked; }
    void SetChecked(bool checked);
    /// The row as a plain value.
    Task ToTask() const;

    /// The picture comes from the owning list's pictures by the row's icon number.
    QVariant data(int column, int role) const override;

private:
    QString password_;
    int icon_ = IconPending;
};

} // namespace pelmora
