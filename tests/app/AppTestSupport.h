#pragma once
// Shared pieces of the main window tests: documents on disk, a window on the
// offscreen platform with a scripted desktop, and waiting for modal dialogs.

#include "app/CommandDispatcher.h"
#include "app/MainWindow.h"
#include "app/RunView.h"
#include "app/StatusPanels.h"
#include "app/TaskList.h"
#include "app/TaskPopupMenu.h"
#include "engine/libreoffice/LibreOfficeConverter.h"
#include "tests/app/ChosenConverter.h"
#include "tests/app/ScriptedDesktopSeam.h"
#include "tests/support/RecordingConverter.h"
#include "tests/support/TempFolder.h"

#include <QApplication>
#include <QTimer>
#include <atomic>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

/// Lets test failures show texts.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace pelmora::test {

/// Clicks the dialog's button named name ("cmdOK", "cmdCancel").
void ClickButton(QWidget* dialog, const char* name);

/// Writes a small RTF document at path (folders created) and returns the path.
std::string WriteDocument(const std::string& path, const std::string& text = "Hello");

/// Runs action on the first visible modal dialog of type T as soon as one is shown,
/// from the event loop that shows it. Fails the test when none appears in time.
template <typename T> void WhenModal(std::function<void(T*)> action, int timeoutMs = 5000) {
    auto* timer = new QTimer;
    auto waited = std::make_shared<int>(0);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, waited, action, timeoutMs] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
            dialog != nullptr && dialog->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action(dialog);
            return;
        }
        *waited += 5;
        if (*waited > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "no modal dialog appeared";
        }
    });
    timer->start();
}

/// A shown main window with a scripted desktop and a private folder.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /// Writes the document name into the private folder and adds it as a task.
    QString AddDocument(const std::string& name);
    /// Starts a run and lets the window work until it has ended.
    void RunToEnd(int timeoutMs = 180000);
    /// The path of name in the private folder.
    QString PathOf(const std::string& name) const { return QString::fromStdString(dir / name); }
    TaskList& List() const { return *window->taskList(); }
    /// The source of every row, in list order.
    QStringList Sources() const;
    /// The check box of every row, in list order.
    std::vector<bool> Checks() const;
    /// Makes the window's runs convert with LibreOffice instead of the recording converter.
    void UseRealConverter() { chosenConverter.Choose(realConverter); }
    /// Holds each document of the private folder named in names (every document when names
    /// is empty) in the recording converter once it is opened, until ReleaseHeld() or ten
    /// seconds, so that the test sees the window in the middle of a run.
    void HoldConversions(std::vector<std::string> names = {});
    /// True once a held document was opened.
    bool HeldStarted() const { return heldStarted_; }
    /// Lets the held documents go on.
    void ReleaseHeld() { heldReleased_ = true; }

    TempFolder dir;
    ScriptedDesktopSeam seam;
    // Before the converter, whose threads read them.
    std::atomic<bool> heldStarted_{false};
    std::atomic<bool> heldReleased_{false};
    RecordingConverter converter;
    LibreOfficeConverter realConverter;
    ChosenConverter chosenConverter{converter};
    std::unique_ptr<MainWindow> window;
};

} // namespace pelmora::test
