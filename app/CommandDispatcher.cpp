#include "app/CommandDispatcher.h"

#include "app/AboutDialog.h"
#include "app/DesktopDialogs.h"
#include "app/DesktopSeam.h"
#include "app/MainWindow.h"
#include "app/ProductAddresses.h"
#include "app/WindowHelpers.h"
#include "controls/menu/MenuBar.h"
#include "controls/toolbar/ToolBar.h"
#include "engine/PathHelpers.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <exception>
#include <functional>
#include <span>

namespace pelmora {

namespace {

// A failing command is skipped, as every step of the dispatch is; nothing is reported.
template <typename Step> void Skipping(Step&& step) {
    try {
        step();
    } catch (const std::exception&) {
    } catch (...) {
    }
}

// A command and the lower-cased key that names it.
struct NamedCommand {
    const char* key;
    std::function<void()> run;
};

// Runs the command that key names; an unknown key does nothing.
void RunNamed(const QString& key, std::span<const NamedCommand> commands) {
    for (const NamedCommand& command : commands) {
        if (key == QLatin1String(command.key)) {
            command.run();
            return;
        }
    }
}

QString WebSite() {
    return QString::fromLatin1(kWebSiteAddress);
}

QString SupportMail() {
    return QStringLiteral("mailto:") + QString::fromLatin1(kSupportMailAddress);
}

} // namespace

CommandDispatcher::CommandDispatcher(MainWindow& window) : QObject(&window), window_(window) {
    for (QTimer* timer : {&toolbarTimer_, &menuTimer_}) {
        timer->setSingleShot(true);
        timer->setInterval(kDeferMs);
    }
    connect(&toolbarTimer_, &QTimer::timeout, this, &CommandDispatcher::OnToolbarTimer);
    connect(&menuTimer_, &QTimer::timeout, this, &CommandDispatcher::OnMenuTimer);
    toolbarTimer_.start();

    if (ToolBar* toolbar = window.toolBar())
        connect(toolbar, &ToolBar::ButtonClick, this, &CommandDispatcher::ButtonClick);
    if (MenuBar* menu = window.menuBar())
        connect(menu, &MenuBar::ItemClick, this, &CommandDispatcher::ItemClick);
    connect(&window, &MainWindow::MenuCommandRequested, this, &CommandDispatcher::ItemClick);
    // Once the window is gone no command may act on it.
    connect(&window, &MainWindow::Unloaded, this, [this] {
        toolbarTimer_.stop();
        menuTimer_.stop();
    });
}

QString CommandDispatcher::HelpFilePath() {
    return QString::fromStdString(pelmora::HelpFilePath());
}

bool CommandDispatcher::ConfirmStop() {
    return window_.seam().ShowMessage(&window_, kStopQuestion, kApplicationTitle,
                                      QMessageBox::Question, QMessageBox::Ok | QMessageBox::Cancel,
                                      QMessageBox::Ok) == QMessageBox::Ok;
}

void CommandDispatcher::ButtonClick(int16_t /*buttonIndex*/, const QString& key) {
    Skipping([&] {
        const QString lower = key.toLower();
        if (window_.Converting()) {
            if (lower == QStringLiteral("stop") && ConfirmStop())
                window_.StopConversion();
            return;
        }
        toolbarKey_ = lower;
        toolbarTimer_.start();
    });
}

void CommandDispatcher::ItemClick(const QString& name) {
    Skipping([&] {
        window_.Yield();
        const QString lower = name.toLower();
        if (window_.Converting()) {
            if (lower != QStringLiteral("mnustop") || !ConfirmStop())
                return;
        }
        menuKey_ = lower;
        menuTimer_.start();
    });
}

bool CommandDispatcher::Postponed(QTimer& timer) {
    // A command never runs on top of a modal dialog (one of ours, or a question being
    // asked): it waits until the dialog has closed.
    if (QApplication::activeModalWidget() == nullptr)
        return false;
    timer.start();
    return true;
}

bool CommandDispatcher::RefusedDuringRun(const QString& key, const QString& stopKey) const {
    // A command armed just before a run started must not run inside it: the run would
    // be started twice, or the list changed under it.
    return window_.Converting() && key != stopKey;
}

void CommandDispatcher::OnToolbarTimer() {
    RunArmed(toolbarTimer_, toolbarKey_, QStringLiteral("stop"),
             &CommandDispatcher::RunToolbarCommand);
}

void CommandDispatcher::OnMenuTimer() {
    RunArmed(menuTimer_, menuKey_, QStringLiteral("mnustop"), &CommandDispatcher::RunMenuCommand);
}

void CommandDispatcher::RunArmed(QTimer& timer, const QString& armedKey, const QString& stopKey,
                                 void (CommandDispatcher::*run)(const QString&)) {
    if (Postponed(timer))
        return;
    const QString key = armedKey;
    if (RefusedDuringRun(key, stopKey))
        return;
    Skipping([&] { (this->*run)(key); });
}

void CommandDispatcher::RunToolbarCommand(const QString& key) {
    const NamedCommand commands[] = {
        {"add",
         [this] {
             ItemClick(QStringLiteral("mnuaddfile"));
             window_.Yield();
         }},
        {"folder",
         [this] {
             ItemClick(QStringLiteral("mnuaddfolder"));
             window_.Yield();
         }},
        {"remove", [this] { window_.RemoveSelectedTasks(); }},
        {"extract", [this] { window_.RunConversion(); }},
        {"help", [this] { Open(HelpFilePath()); }},
        {"home", [this] { Open(WebSite()); }},
        {"email", [this] { Open(SupportMail()); }},
    };
    RunNamed(key, commands);
}

void CommandDispatcher::RunMenuCommand(const QString& key) {
    const NamedCommand commands[] = {
        {"mnuconverter", [this] { window_.RunConversion(); }},
        // Only a run can be stopped; a stop confirmed just as the run ended does nothing.
        {"mnustop",
         [this] {
             if (window_.Converting())
                 window_.StopConversion();
         }},
        {"mnuaddfile", [this] { window_.AddFilesFromDialog(); }},
        {"mnuaddfolder", [this] { window_.ShowAddFolderDialog(); }},
        {"mnuremovefile", [this] { window_.RemoveSelectedTasks(); }},
        {"mnuclear", [this] { window_.ClearTasks(); }},
        {"mnuviewlog", [this] { ViewLogFile(); }},
        {"mnuclearlog", [this] { window_.logPane()->clear(); }},
        {"mnuexit", [this] { window_.close(); }},
        {"mnuoutput", [this] { window_.ShowOptionsDialog(); }},
        {"mnumoveup", [this] { window_.MoveTaskUp(); }},
        {"mnumovedown", [this] { window_.MoveTaskDown(); }},
        {"mnusall", [this] { window_.SetAllChecks(true); }},
        {"mnusnone", [this] { window_.SetAllChecks(false); }},
        {"mnuinvert", [this] { window_.InvertChecks(); }},
        {"mnulogfile", [this] { FlipCheck(QStringLiteral("mnuLogfile")); }},
        {"mnucreatedir", [this] { FlipCheck(QStringLiteral("mnuCreateDir")); }},
        {"mnuoverwrite", [this] { FlipCheck(QStringLiteral("mnuoverwrite")); }},
        {"mnucompress", [this] { FlipCheck(QStringLiteral("mnuCompress")); }},
        {"mnuhelpfile", [this] { Open(HelpFilePath()); }},
        {"mnuwebsite", [this] { Open(WebSite()); }},
        {"mnusupport", [this] { Open(SupportMail()); }},
        {"mnuabout", [this] { ShowAbout(); }},
    };
    RunNamed(key, commands);
}

void CommandDispatcher::FlipCheck(const QString& key) {
    window_.SetMenuItemChecked(key, !window_.MenuItemChecked(key));
}

void CommandDispatcher::ViewLogFile() {
    const std::string path = DefaultLogPath();
    if (FileExists(path))
        Open(QString::fromStdString(path));
}

void CommandDispatcher::ShowAbout() {
    DesktopSeam& seam = window_.seam();
    AboutDialog box(&window_, [&seam](const QString& target) { seam.OpenWithDesktop(target); });
    box.exec();
}

void CommandDispatcher::Open(const QString& target) {
    window_.seam().OpenWithDesktop(target);
}

} // namespace pelmora
