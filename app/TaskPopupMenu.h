#pragma once
// The task list's context menu: its items are commands of the window's
// command table.

#include "app/CommandTable.h"

#include <QMenu>

namespace pelmora {

/// The popup menu of the task list.
class TaskPopupMenu : public QMenu {
    Q_OBJECT
public:
    explicit TaskPopupMenu(QWidget* parent);

    /// Shows the menu at the global point; the items that act on a row are enabled
    /// only when overRow.
    void ShowAt(const QPoint& globalPosition, bool overRow);

signals:
    /// An item was chosen.
    void Chosen(pelmora::CommandId id);

private:
    QList<QAction*> rowItems_;
};

} // namespace pelmora
