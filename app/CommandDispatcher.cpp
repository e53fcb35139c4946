#include "app/CommandDispatcher.h"

#include "app/DesktopSeam.h"
#include "engine/PathHelpers.h"
#include "app/ProductAddresses.h"
#include "app/WindowHelpers.h"
#include "app/AboutDialog.h"
#include "app/MainWindow.h"
#include "controls/menu/MenuBar.h"
#include "controls/toolbar/ToolBar.h"

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

CommandDispatcher::CommandDispatcher(MainWindow& window) : QObject(&window), m_window(window) {
    for (QTimer* timer : {&m_timer1, &m_timer2}) {
        timer->setSingleShot(true);
        timer->setInterval(kDeferMs);
    }
    connect(&m_timer1, &QTimer::timeout, this, &CommandDispatcher::OnTimer1);
    connect(&m_timer2, &QTimer::timeout, this, &CommandDispatcher::OnTimer2);
    m_timer1.start();

    if (ToolBar* toolbar = window.xToolbar1())
        connect(toolbar, &ToolBar::ButtonClick, this, &CommandDispatcher::ButtonClick);
    if (MenuBar* menu = window.xMenu1())
        connect(menu, &MenuBar::ItemClick, this, &CommandDispatcher::ItemClick);
    connect(&window, &MainWindow::MenuCommandRequested, this, &CommandDispatcher::ItemClick);
    // Once the window is gone no command may act on it.
    connect(&window, &MainWindow::Unloaded, this, [this] {
        m_timer1.stop();
        m_timer2.stop();
    });
}

QString CommandDispatcher::HelpFilePath() {
    return QString::fromStdString(AppFolder()) + QStringLiteral("help.html");
}

bool CommandDispatcher::ConfirmStop() {
    return m_window.Seam().ShowMessage(&m_window, kStopQuestion, kApplicationTitle,
                                       QMessageBox::Question, QMessageBox::Ok | QMessageBox::Cancel,
                                       QMessageBox::Ok) == QMessageBox::Ok;
}

void CommandDispatcher::ButtonClick(int16_t /*buttonIndex*/, const QString& key) {
    Skipping([&] {
        const QString lower = key.toLower();
        if (m_window.bConverting) {
            if (lower == QStringLiteral("stop") && ConfirmStop())
                m_window.StopConversion();
            return;
        }
        m_key1 = lower;
        m_timer1.start();
    });
}

void CommandDispatcher::ItemClick(const QString& name) {
    Skipping([&] {
        m_window.Yield();
        const QString lower = name.toLower();
        if (m_window.bConverting) {
            if (lower != QStringLiteral("mnustop") || !ConfirmStop())
                return;
        }
        m_key2 = lower;
        m_timer2.start();
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
    return m_window.bConverting && key != stopKey;
}

void CommandDispatcher::OnTimer1() {
    if (Postponed(m_timer1))
        return;
    const QString key = m_key1;
    if (RefusedDuringRun(key, QStringLiteral("stop")))
        return;
    Skipping([&] { RunToolbarCommand(key); });
}

void CommandDispatcher::OnTimer2() {
    if (Postponed(m_timer2))
        return;
    const QString key = m_key2;
    if (RefusedDuringRun(key, QStringLiteral("mnustop")))
        return;
    Skipping([&] { RunMenuCommand(key); });
}

void CommandDispatcher::RunToolbarCommand(const QString& key) {
    if (key == QStringLiteral("add")) {
        ItemClick(QStringLiteral("mnuaddfile"));
        m_window.Yield();
    } else if (key == QStringLiteral("folder")) {
        ItemClick(QStringLiteral("mnuaddfolder"));
        m_window.Yield();
    } else if (key == QStringLiteral("remove")) {
        m_window.RemoveSelectedTasks();
    } else if (key == QStringLiteral("extract")) {
        m_window.RunConversion();
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
        m_window.RunConversion();
    } else if (key == QStringLiteral("mnustop")) {
        // Only a run can be stopped; a stop confirmed just as the run ended does nothing.
        if (m_window.bConverting)
            m_window.StopConversion();
    } else if (key == QStringLiteral("mnuaddfile")) {
        m_window.AddFilesFromDialog();
    } else if (key == QStringLiteral("mnuaddfolder")) {
        m_window.ShowAddFolderDialog();
    } else if (key == QStringLiteral("mnuremovefile")) {
        m_window.RemoveSelectedTasks();
    } else if (key == QStringLiteral("mnuclear")) {
        m_window.ClearTasks();
    } else if (key == QStringLiteral("mnuviewlog")) {
        ViewLogFile();
    } else if (key == QStringLiteral("mnuclearlog")) {
        m_window.txtLog()->clear();
    } else if (key == QStringLiteral("mnuexit")) {
        m_window.close();
    } else if (key == QStringLiteral("mnuoutput")) {
        m_window.ShowOptionsDialog();
    } else if (key == QStringLiteral("mnumoveup")) {
        m_window.MoveTaskUp();
    } else if (key == QStringLiteral("mnumovedown")) {
        m_window.MoveTaskDown();
    } else if (key == QStringLiteral("mnusall")) {
        m_window.SetAllChecks(true);
    } else if (key == QStringLiteral("mnusnone")) {
        m_window.SetAllChecks(false);
    } else if (key == QStringLiteral("mnuinvert")) {
        m_window.InvertChecks();
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
    m_window.SetMenuItemChecked(key, !m_window.MenuItemChecked(key));
}

void CommandDispatcher::ViewLogFile() {
    const std::string path = DefaultLogPath();
    if (FileExists(path))
        Open(QString::fromStdString(path));
}

void CommandDispatcher::ShowAbout() {
    DesktopSeam& seam = m_window.Seam();
    AboutDialog box(&m_window, [&seam](const QString& target) { seam.OpenWithDesktop(target); });
    box.exec();
}

void CommandDispatcher::Open(const QString& target) {
    m_window.Seam().OpenWithDesktop(target);
}

} // namespace pelmora
