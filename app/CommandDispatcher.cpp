#include "app/CommandDispatcher.h"

#include "app/AboutDialog.h"
#include "app/DesktopDialogs.h"
#include "app/DesktopSeam.h"
#include "app/MainWindow.h"
#include "app/ProductAddresses.h"
#include "controls/menu/MenuBar.h"
#include "controls/toolbar/ToolBar.h"
#include "engine/PathHelpers.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <exception>

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
    if (Postponed(toolbarTimer_))
        return;
    const QString key = toolbarKey_;
    if (RefusedDuringRun(key, QStringLiteral("stop")))
        return;
    Skipping([&] { RunToolbarCommand(key); });
}

void CommandDispatcher::OnMenuTimer() {
    if (Postponed(menuTimer_))
        return;
    const QString key = menuKey_;
    if (RefusedDuringRun(key, QStringLiteral("mnustop")))
        return;
    Skipping([&] { RunMenuCommand(key); });
}

void CommandDispatcher::RunToolbarCommand(const QString& key) {
    if (key == QStringLiteral("add")) {
        ItemClick(QStringLiteral("mnuaddfile"));
        window_.Yield();
    } else if (key == QStringLiteral("folder")) {
        ItemClick(QStringLiteral("mnuaddfolder"));
        window_.Yield();
    } else if (key == QStringLiteral("remove")) {
        window_.RemoveSelectedTasks();
    } else if (key == QStringLiteral("extract")) {
        window_.RunConversion();
    } else if (key == QStringLiteral("help")) {
        Open(HelpFilePath());
    } else if (key == QStringLiteral("home")) {
        Open(WebSite());
    } else if (key == QStringLiteral("email")) {
        Open(SupportMail());
    }
}

void CommandDispatcher::RunMenuCommand(const QString& key) {
    if (key == QStringLiteral("mnuconverter")) {
        window_.RunConversion();
    } else if (key == QStringLiteral("mnustop")) {
        // Only a run can be stopped; a stop confirmed just as the run ended does nothing.
        if (window_.Converting())
            window_.StopConversion();
    } else if (key == QStringLiteral("mnuaddfile")) {
        window_.AddFilesFromDialog();
    } else if (key == QStringLiteral("mnuaddfolder")) {
        window_.ShowAddFolderDialog();
    } else if (key == QStringLiteral("mnuremovefile")) {
        window_.RemoveSelectedTasks();
    } else if (key == QStringLiteral("mnuclear")) {
        window_.ClearTasks();
    } else if (key == QStringLiteral("mnuviewlog")) {
        ViewLogFile();
    } else if (key == QStringLiteral("mnuclearlog")) {
        window_.logPane()->clear();
    } else if (key == QStringLiteral("mnuexit")) {
        window_.close();
    } else if (key == QStringLiteral("mnuoutput")) {
        window_.ShowOptionsDialog();
    } else if (key == QStringLiteral("mnumoveup")) {
        window_.MoveTaskUp();
    } else if (key == QStringLiteral("mnumovedown")) {
        window_.MoveTaskDown();
    } else if (key == QStringLiteral("mnusall")) {
        window_.SetAllChecks(true);
    } else if (key == QStringLiteral("mnusnone")) {
        window_.SetAllChecks(false);
    } else if (key == QStringLiteral("mnuinvert")) {
        window_.InvertChecks();
    } else if (key == QStringLiteral("mnulogfile")) {
        FlipCheck(QStringLiteral("mnuLogfile"));
    } else if (key == QStringLiteral("mnucreatedir")) {
        FlipCheck(QStringLiteral("mnuCreateDir"));
    } else if (key == QStringLiteral("mnuoverwrite")) {
        FlipCheck(QStringLiteral("mnuoverwrite"));
    } else if (key == QStringLiteral("mnucompress")) {
        FlipCheck(QStringLiteral("mnuCompress"));
    } else if (key == QStringLiteral("mnuhelpfile")) {
        Open(HelpFilePath());
    } else if (key == QStringLiteral("mnuwebsite")) {
        Open(WebSite());
    } else if (key == QStringLiteral("mnusupport")) {
        Open(SupportMail());
    } else if (key == QStringLiteral("mnuabout")) {
        ShowAbout();
    }
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
