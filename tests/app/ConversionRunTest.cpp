// The run over the task list against a recording converter: what reaches the
// converter and in which order, and what the window does around it, including the
// user working the window while a document converts. Real conversions are in
// RealConversionRunTest.

#include "engine/PathHelpers.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/ListChecks.h"
#include "tests/support/Matchers.h"
#include "tests/support/StagingRecord.h"

#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <gmock/gmock.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pelmora::test {
namespace {

class ConversionRunTest : public MainWindowTest {
protected:
    std::string Src(const std::string& name) const { return dir / name; }

    // While one of the documents names (any document when names is empty) converts, runs
    // action on the window thread (polled by a timer); the document goes on once action
    // is done.
    void DuringConversionOf(std::vector<std::string> names, std::function<void()> action) {
        HoldConversions(std::move(names));
        auto* timer = new QTimer(window.get());
        timer->setInterval(2);
        QObject::connect(timer, &QTimer::timeout, [this, timer, action] {
            if (HeldStarted()) {
                timer->stop();
                action();
                ReleaseHeld();
            }
        });
        timer->start();
    }
};

TEST_F(ConversionRunTest, OneSessionConvertsTheCheckedTasksWithTheirOwnPasswords) {
    window->SetPassword(QStringLiteral("pässwörd€"));
    AddDocument("1.doc");
    window->SetPassword(QString());
    AddDocument("2.doc");
    window->SetPassword(QStringLiteral("three"));
    AddDocument("3.doc");
    SetItemChecked(&List(), 2, false);
    window->ChangeFilesState();

    RunToEnd();

    EXPECT_THAT(converter.Script().Opened(), ElementsAre(Src("1.doc"), Src("3.doc")));
    // The engine hands a blank for "no password"; the others arrive byte for byte.
    EXPECT_THAT(converter.Script().Passwords(), ElementsAre("pässwörd€", "three"));
    const std::vector<std::string> calls = converter.Script().Calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "Quit"), 1);
    EXPECT_EQ(calls.back(), "Quit");
    EXPECT_EQ(List().Row(1)->State(), QStringLiteral("Done"));
    // The unchecked task is passed over untouched.
    EXPECT_EQ(List().Row(2)->State(), QStringLiteral("Ready"));
    EXPECT_FALSE(List().Row(2)->Checked());
    EXPECT_FALSE(List().Row(3)->Checked());
    EXPECT_TRUE(FileExists(Src("1.html")));
    EXPECT_FALSE(FileExists(Src("2.html")));
}

// A run killed earlier left its staging folder beside the pages; the window's run
// removes it as the command line's does, and keeps one whose maker may still live.
TEST_F(ConversionRunTest, StagingFoldersOfKilledRunsGoBeforeTheRunWrites) {
    AddDocument("1.doc");
    window->ChangeFilesState();
    const pid_t gone = fork();
    if (gone == 0) {
        _exit(0);
    }
    waitpid(gone, nullptr, 0);
    WriteFile(dir / ".pelmora-gone00/owner", test::StagingRecord(gone, "12345", "1.html"));
    WriteFile(dir / ".pelmora-gone00/1.html", "half a page");
    WriteFile(dir / ".pelmora-unknwn/1.html", "a page being written");

    RunToEnd();

    EXPECT_FALSE(std::filesystem::exists(dir / ".pelmora-gone00"));
    EXPECT_TRUE(std::filesystem::exists(dir / ".pelmora-unknwn"));
    EXPECT_EQ(List().Row(1)->State(), QStringLiteral("Done"));
}

TEST_F(ConversionRunTest, OptionsAreReadFromTheMenuWhenEachTaskStarts) {
    AddDocument("1.doc");
    AddDocument("2.doc");
    WriteFile(Src("2.html"), "an older page");
    window->ChangeFilesState();
    // While the first task converts the user switches "Overwrite existing file" off.
    DuringConversionOf(
        {"1.doc"}, [this] { window->SetMenuItemChecked(QStringLiteral("mnuOverwrite"), false); });
    RunToEnd();

    EXPECT_THAT(converter.Script().Opened(), ElementsAre(Src("1.doc")));
    EXPECT_EQ(ReadFile(Src("2.html")), "an older page");
    EXPECT_EQ(List().Row(2)->State(), QStringLiteral("Failure"));
    EXPECT_THAT(window->logPane()->toPlainText().toStdString(), HasSubstr("  101, "));
}

TEST_F(ConversionRunTest, TheWindowKeepsWorkingWhileADocumentConverts) {
    AddDocument("1.doc");
    window->ChangeFilesState();
    bool stopLooked = false;
    bool stopEnabled = false;
    bool extractEnabled = true;
    bool busy = false;
    DuringConversionOf({}, [&] {
        stopLooked = true;
        stopEnabled = window->ToolbarButtonEnabled(QStringLiteral("stop")) &&
                      window->MenuItemEnabled(QStringLiteral("mnuStop"));
        extractEnabled = window->ToolbarButtonEnabled(QStringLiteral("Extract"));
        busy = QApplication::overrideCursor() != nullptr &&
               QApplication::overrideCursor()->shape() == Qt::BusyCursor;
        window->repaint();
    });
    RunToEnd();

    ASSERT_TRUE(stopLooked);
    EXPECT_TRUE(stopEnabled);
    EXPECT_FALSE(extractEnabled);
    EXPECT_TRUE(busy);
    // Afterwards the idle look is back.
    EXPECT_FALSE(window->ToolbarButtonEnabled(QStringLiteral("stop")));
    EXPECT_FALSE(window->MenuItemEnabled(QStringLiteral("mnuStop")));
    EXPECT_TRUE(window->ToolbarButtonEnabled(QStringLiteral("Extract")));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(window->progressBar()->isVisible());
    EXPECT_FALSE(window->Converting());
    EXPECT_EQ(List().selectionMode(), QAbstractItemView::ExtendedSelection);
}

TEST_F(ConversionRunTest, RowsRemovedDuringARunAreNeverConvertedTheOneInProgressStays) {
    for (const char* name : {"1.doc", "2.doc", "3.doc", "4.doc"}) {
        AddDocument(name);
    }
    window->ChangeFilesState();
    QString notice;
    DuringConversionOf({"2.doc"}, [&] {
        // The row in progress and the one after it are highlighted; Delete takes only
        // the one after it, and the status bar says why the other stays.
        ASSERT_TRUE(QTest::qWaitFor([&] { return List().Row(2)->InProgress(); }));
        List().clearSelection();
        List().Row(2)->setSelected(true);
        List().Row(3)->setSelected(true);
        List().setFocus();
        QTest::keyClick(&List(), Qt::Key_Delete);
        notice = window->progressBar()->format();
    });
    RunToEnd();

    EXPECT_THAT(converter.Script().Opened(), ElementsAre(Src("1.doc"), Src("2.doc"), Src("4.doc")));
    EXPECT_THAT(Sources(), ElementsAre(PathOf("1.doc"), PathOf("2.doc"), PathOf("4.doc")));
    EXPECT_EQ(notice, QStringLiteral("1 document(s) in progress cannot be removed"));
    EXPECT_EQ(List().Row(2)->State(), QStringLiteral("Done"));
    EXPECT_THAT(Checks(), ElementsAre(false, false, false));
    EXPECT_EQ(window->logPane()->toPlainText().count(QStringLiteral("  100, ")), 3);
}

// Two offices take every task at once to hand out the longest first; a task unchecked
// while the first two convert is still left alone.
TEST_F(ConversionRunTest, ATaskUncheckedDuringATwoOfficeRunIsNeverConverted) {
    window->SetRunSessions(2);
    for (const char* name : {"1.doc", "2.doc", "3.doc", "4.doc"}) {
        AddDocument(name);
    }
    window->ChangeFilesState();
    DuringConversionOf({"1.doc", "2.doc"}, [&] { List().Row(3)->SetChecked(false); });
    RunToEnd();

    const std::vector<std::string> opened = converter.Script().Opened();
    EXPECT_EQ(std::count(opened.begin(), opened.end(), Src("3.doc")), 0);
    EXPECT_EQ(std::count(opened.begin(), opened.end(), Src("4.doc")), 1);
    EXPECT_EQ(window->logPane()->toPlainText().count(QStringLiteral("  100, ")), 3);
    EXPECT_EQ(List().Row(3)->State(), QStringLiteral("Ready"));
}

TEST_F(ConversionRunTest, ClearingTheListDuringARunEndsIt) {
    for (const char* name : {"1.doc", "2.doc", "3.doc"}) {
        AddDocument(name);
    }
    window->ChangeFilesState();
    DuringConversionOf({}, [&] {
        seam.messageAnswers.push_back(QMessageBox::Ok);
        window->ClearTasks();
    });
    RunToEnd();

    EXPECT_THAT(converter.Script().Opened(), ElementsAre(Src("1.doc")));
    EXPECT_EQ(List().RowCount(), 0);
    EXPECT_EQ(window->PanelText(1), QString());
    EXPECT_EQ(window->PanelText(3), QStringLiteral("Total 0 Files"));
}

TEST_F(ConversionRunTest, ClosingDuringARunEndsTheConverterAtOnceKeepsDoneLinesAndUnloads) {
    for (const char* name : {"1.doc", "2.doc", "3.doc"}) {
        AddDocument(name);
    }
    window->ChangeFilesState();
    const std::string log = DefaultLogPath();
    const std::string logBefore = FileExists(log) ? ReadFile(log) : std::string();
    QSignalSpy unloaded(window.get(), &MainWindow::Unloaded);
    int unloadedAtClose = -1;
    DuringConversionOf({"2.doc"}, [&] {
        seam.messageAnswers.push_back(QMessageBox::Cancel);
        window->close(); // declined: the run goes on
        EXPECT_TRUE(window->isVisible());
        seam.messageAnswers.push_back(QMessageBox::Ok);
        window->close();
        unloadedAtClose = static_cast<int>(unloaded.size());
    });
    RunToEnd(20000);

    ASSERT_EQ(seam.messages.size(), 2u);
    EXPECT_EQ(seam.messages[0].text,
              QStringLiteral("Do you want to cancel all runing tasks and close the software? "));
    EXPECT_EQ(seam.messages[0].defaultButton, QMessageBox::Cancel);
    EXPECT_FALSE(window->isVisible());
    // The document in progress was ended with its office; the third never started.
    EXPECT_THAT(converter.Script().Opened(), ElementsAre(Src("1.doc"), Src("2.doc")));
    // The finished document's line reached the log file before the program ended.
    const std::string logAfter = ReadFile(log);
    ASSERT_GE(logAfter.size(), logBefore.size());
    const std::string added = logAfter.substr(logBefore.size());
    EXPECT_NE(added.find("1.doc"), std::string::npos) << added;
    EXPECT_EQ(added.find("3.doc"), std::string::npos) << added;
    // The program may end only once the run is over, and then at once.
    EXPECT_EQ(unloadedAtClose, 0);
    EXPECT_EQ(unloaded.size(), 1);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ConversionRunTest, ClosingWhileIdleAsksNothingAndUnloadsAtOnce) {
    QSignalSpy unloaded(window.get(), &MainWindow::Unloaded);
    window->close();
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_EQ(unloaded.size(), 1);
}

TEST_F(ConversionRunTest, AConverterThatCannotStartOffersToClose) {
    AddDocument("1.doc");
    window->ChangeFilesState();
    converter.Script().SetFailStart(true);

    seam.messageAnswers.push_back(QMessageBox::Cancel);
    RunToEnd();
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_THAT(seam.messages[0].text.toStdString(), HasSubstr("and close the software? "));
    // Kept open: back to idle, the task untouched.
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->Converting());
    EXPECT_TRUE(window->ToolbarButtonEnabled(QStringLiteral("Extract")));
    EXPECT_FALSE(window->MenuItemEnabled(QStringLiteral("mnuStop")));
    EXPECT_FALSE(window->progressBar()->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(List().Row(1)->Checked());
    EXPECT_EQ(List().Row(1)->State(), QStringLiteral("Ready"));

    QSignalSpy unloaded(window.get(), &MainWindow::Unloaded);
    seam.messageAnswers.push_back(QMessageBox::Ok);
    RunToEnd();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(unloaded.size(), 1);
    EXPECT_THAT(converter.Script().Calls(), IsEmpty());
}

TEST_F(ConversionRunTest, NothingToConvertOnlySaysSo) {
    RunToEnd();
    AddDocument("1.doc");
    window->SetAllChecks(false);
    RunToEnd();
    ASSERT_EQ(seam.messages.size(), 2u);
    for (const auto& message : seam.messages) {
        EXPECT_EQ(message.text, QStringLiteral("Please add a task first!"));
        EXPECT_EQ(message.icon, QMessageBox::Information);
    }
    EXPECT_THAT(converter.Script().Calls(), IsEmpty());
    EXPECT_FALSE(window->Converting());
    // The count is that of the last refresh: a task checked since then is not seen.
    SetItemChecked(&List(), 1, true);
    RunToEnd();
    EXPECT_EQ(seam.messages.size(), 3u);
}

TEST_F(ConversionRunTest, FailuresAreMarkedAndTheRunGoesOn) {
    const QString gone = AddDocument("gone.doc");
    window->SetOutputDir(QStringLiteral("/proc/pelmora-no-folder"));
    AddDocument("1.doc");
    AddDocument("2.doc");
    window->SetOutputDir(QString());
    AddDocument("3.doc");
    std::filesystem::remove(gone.toStdString());
    window->ChangeFilesState();
    RunToEnd();

    const QStringList lines = window->logPane()->toPlainText().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_THAT(lines[0].toStdString(), HasSubstr("  102, "));
    EXPECT_THAT(lines[1].toStdString(), HasSubstr("  103, "));
    EXPECT_THAT(lines[2].toStdString(), HasSubstr("  103, "));
    EXPECT_THAT(lines[3].toStdString(), HasSubstr("  100, "));
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(List().Row(i)->State(), QStringLiteral("Failure"));
        EXPECT_EQ(List().Row(i)->Icon(), IconPending);
        EXPECT_FALSE(List().Row(i)->Checked());
        // The row says why in its tooltip: its log line without the time.
        const QString reason = List().Row(i)->data(ColumnState, Qt::ToolTipRole).toString();
        EXPECT_TRUE(lines[i - 1].endsWith(reason)) << reason.toStdString();
        EXPECT_TRUE(reason.startsWith(i == 1 ? QStringLiteral("102, ") : QStringLiteral("103, ")));
        EXPECT_TRUE(List().Row(i)->data(ColumnName, Qt::ToolTipRole).toString().endsWith(reason));
    }
    EXPECT_EQ(List().Row(4)->State(), QStringLiteral("Done"));
    EXPECT_EQ(List().Row(4)->Icon(), IconConverted);
    EXPECT_EQ(List().Row(4)->data(ColumnState, Qt::ToolTipRole), QVariant());
}

} // namespace
} // namespace pelmora::test
