#pragma once
// The main window's commands: toolbar buttons, menu items, the task list's popup menu
// and the shortcuts become commands of the one table, which run 100 ms later from one
// of two one-shot timers, so that the control's own mouse handling has ended before a
// command (a dialog, a run) starts. During a run only stop and exit are accepted.

#include "app/CommandTable.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>

class QWidget;

namespace pelmora {

class CommandModel;
class DesktopSeam;
class WindowCommands;

class CommandDispatcher : public QObject {
    Q_OBJECT

public:
    /// Delay between a click and its command, in milliseconds.
    static constexpr int kDeferMs = 100;
    /// The question asked before a run is stopped.
    static inline const QString kStopQuestion =
        QStringLiteral("Do you want to cancel all runing tasks ");

    /// Runs the commands of model on target; dialogs and the desktop go through seam,
    /// owned by owner.
    CommandDispatcher(WindowCommands& target, CommandModel& model, DesktopSeam& seam,
                      QWidget& owner);

    /// A toolbar button was clicked (only the key counts).
    void ButtonClick(int16_t buttonIndex, const QString& key);
    /// A menu item was chosen: the bar's items, the popup menu's items and the shortcuts.
    void ItemClick(const QString& name);
    /// A command chosen by its id (a shortcut or a popup item).
    void Choose(CommandId id);
    /// Ends every pending command: the window is gone.
    void Shutdown();

    /// The slot of toolbar commands; starts armed with an empty key.
    QTimer& toolbarTimer() { return toolbarTimer_; }
    /// The slot of menu commands.
    QTimer& menuTimer() { return menuTimer_; }
    /// The lower-cased key the toolbar slot holds.
    const QString& toolbarKey() const { return toolbarKey_; }
    /// The lower-cased key the menu slot holds.
    const QString& menuKey() const { return menuKey_; }

private:
    void OnTimer(QTimer& timer, const QString& key, bool fromToolbar);
    bool ConfirmStop();
    void Run(CommandId id);
    void ViewLogFile();
    void ShowAbout();
    void Open(const QString& target);

    WindowCommands& target_;
    CommandModel& model_;
    DesktopSeam& seam_;
    QWidget& owner_;
    QTimer toolbarTimer_;
    QTimer menuTimer_;
    QString toolbarKey_;
    QString menuKey_;
};

} // namespace pelmora
