#pragma once
// The task list's context menu "mnuPopup": menu commands by key, clearing the log
// pane and the Options dialog.

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
    /// An item that runs a menu command was chosen, with the command's key.
    void CommandChosen(const QString& key);
    /// "Clear Logs" was chosen.
    void ClearLogsChosen();
    /// "Output Directory..." was chosen.
    void OutputDirectoryChosen();

private:
    QAction* remove_ = nullptr;
    QAction* outputDir_ = nullptr;
};

} // namespace pelmora
