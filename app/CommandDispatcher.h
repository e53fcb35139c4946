#pragma once
// The main window's commands: toolbar buttons, menu items, the task list's popup menu
// and F5 become lower-cased command keys, which run 100 ms later from one of two
// one-shot timers, so that the control's own mouse handling has ended before a command
// (a dialog, a whole run) starts. During a run only the stop commands are accepted.

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>

namespace pelmora {

class MainWindow;

class CommandDispatcher : public QObject {
    Q_OBJECT

public:
    /// Delay between a click and its command, in milliseconds.
    static constexpr int kDeferMs = 100;
    /// The question asked before a run is stopped.
    static inline const QString kStopQuestion =
        QStringLiteral("Do you want to cancel all runing tasks ");

    /// Takes the commands of window's toolbar, menu bar, popup menu and F5 key.
    explicit CommandDispatcher(MainWindow& window);

    /// A toolbar button was clicked (only the key counts).
    void ButtonClick(int16_t buttonIndex, const QString& key);
    /// A menu item was chosen: the bar's items, the popup menu's items and F5.
    void ItemClick(const QString& name);

    /// The slot of toolbar commands; starts armed with an empty key.
    QTimer& toolbarTimer() { return toolbarTimer_; }
    /// The slot of menu commands.
    QTimer& menuTimer() { return menuTimer_; }
    /// The lower-cased key the toolbar slot holds.
    const QString& toolbarKey() const { return toolbarKey_; }
    /// The lower-cased key the menu slot holds.
    const QString& menuKey() const { return menuKey_; }

    /// The manual the Help commands open: help.html beside the executable.
    static QString HelpFilePath();

private:
    void OnToolbarTimer();
    void OnMenuTimer();
    // Runs the command a slot's timer armed, unless a dialog or a run stands in its way.
    void RunArmed(QTimer& timer, const QString& armedKey, const QString& stopKey,
                  void (CommandDispatcher::*run)(const QString&));
    bool Postponed(QTimer& timer);
    bool RefusedDuringRun(const QString& key, const QString& stopKey) const;
    bool ConfirmStop();
    void RunToolbarCommand(const QString& key);
    void RunMenuCommand(const QString& key);
    void FlipCheck(const QString& key);
    void ViewLogFile();
    void ShowAbout();
    void Open(const QString& target);

    MainWindow& window_;
    QTimer toolbarTimer_;
    QTimer menuTimer_;
    QString toolbarKey_;
    QString menuKey_;
};

} // namespace pelmora
