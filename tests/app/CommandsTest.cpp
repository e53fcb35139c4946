#include "app/AboutDialog.h"
#include "app/CommandDispatcher.h"
#include "app/ConversionRun.h"
#include "app/OptionsDialog.h"
#include "app/ProductAddresses.h"
#include "controls/menu/MenuBar.h"
#include "controls/menu/MenuGeometry.h"
#include "controls/menu/PopupMenu.h"
#include "controls/toolbar/ToolBar.h"
#include "engine/PathHelpers.h"
#include "tests/app/AppTestSupport.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <atomic>
#include <chrono>
#include <thread>

namespace pelmora::test {
namespace {

const QString kWebSite = QString::fromLatin1(kWebSiteAddress);
const QString kMail = QStringLiteral("mailto:") + QString::fromLatin1(kSupportMailAddress);

class CommandsTest : public MainWindowTest {
protected:
    CommandDispatcher& Commands() const { return *window->commands(); }
    QWindow* Handle() const { return window->windowHandle(); }

    // A real click, through the window system, on the toolbar button at position.
    void ClickToolbar(int position) const {
        ToolBar* toolbar = window->toolBar();
        const QPoint centre(
            toolbar->ButtonClientLeft(position) + toolbar->ButtonClientWidth(position) / 2,
            toolbar->ButtonClientTop(position) + toolbar->ButtonClientHeight(position) / 2);
        const QPoint at = toolbar->mapTo(window.get(), centre);
        QTest::mouseMove(Handle(), at);
        QTest::mouseClick(Handle(), Qt::LeftButton, {}, at);
    }

    // Real clicks on the bar item, then on the item of the popup it opened.
    void ChooseMenuItem(const QString& barItem, const QString& item) const {
        MenuBar* menu = window->menuBar();
        const QRect bar = menu->Geometry().Cell(menu->KeyToIndex(barItem));
        QTest::mouseClick(Handle(), Qt::LeftButton, {},
                          menu->mapTo(window.get(), QPoint((bar.left() + bar.right()) / 2,
                                                           (bar.top() + bar.bottom()) / 2)));
        PopupMenu* popup = menu->Popup();
        ASSERT_NE(popup, nullptr) << barItem.toStdString();
        const QRect row = popup->Geometry().Cell(menu->KeyToIndex(item));
        QTest::mouseClick(popup->windowHandle(), Qt::LeftButton, {},
                          QPoint((row.left() + row.right()) / 2, (row.top() + row.bottom()) / 2));
    }

    bool Idle() const {
        return !Commands().toolbarTimer().isActive() && !Commands().menuTimer().isActive() &&
               window->run() == nullptr;
    }
    // Lets armed commands fire and finish, runs included.
    void Settle() const {
        EXPECT_TRUE(QTest::qWaitFor([&] { return Idle(); }, 5000));
    }

    // A run whose log file would land in the test program's folder: keep it out.
    void NoLogFile() const { window->SetMenuItemChecked(QStringLiteral("mnuLogfile"), false); }

    // Runs action on the window's thread while the converter thread waits for it.
    void OnWindowThread(const std::function<void()>& action) const {
        QMetaObject::invokeMethod(window.get(), action, Qt::BlockingQueuedConnection);
    }

    // Two checked tasks, converted without a log file.
    void AddTwoTasks() {
        NoLogFile();
        AddDocument("1.doc");
        AddDocument("2.doc");
        window->ChangeFilesState();
    }

    // Counts the documents opened; while the first one converts, runs action on the
    // window's thread, then lets the document take lingerMs longer.
    void OnFirstDocument(RecordingConverter& converter, std::atomic<int>& opened,
                         std::function<void()> action, int lingerMs = 0) {
        converter.Script().SetOnOpen([this, &opened, action, lingerMs](const std::string&) {
            if (++opened == 1) {
                OnWindowThread(action);
                std::this_thread::sleep_for(std::chrono::milliseconds(lingerMs));
            }
        });
    }
};

TEST_F(CommandsTest, TimerOneStartsArmedWithAnEmptyKeyThatDoesNothing) {
    EXPECT_TRUE(Commands().toolbarTimer().isActive());
    EXPECT_TRUE(Commands().toolbarKey().isEmpty());
    EXPECT_FALSE(Commands().menuTimer().isActive());
    Settle();
    EXPECT_TRUE(seam.openFilesRequests.empty());
    EXPECT_TRUE(seam.opened.isEmpty());
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(CommandsTest, ToolbarAddAndMenuAddFileEndInTheSameCommand) {
    Settle();
    ClickToolbar(1);
    EXPECT_EQ(Commands().toolbarKey(), QStringLiteral("add"));
    EXPECT_TRUE(Commands().toolbarTimer().isActive());
    EXPECT_FALSE(Commands().menuTimer().isActive()) << "the toolbar path waits on its own timer";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Commands().toolbarTimer().isActive(); }));
    EXPECT_EQ(Commands().menuKey(), QStringLiteral("mnuaddfile"));
    Settle();
    ASSERT_EQ(seam.openFilesRequests.size(), 1u);

    ChooseMenuItem(QStringLiteral("mnuFile"), QStringLiteral("mnuAddFile"));
    EXPECT_EQ(Commands().menuKey(), QStringLiteral("mnuaddfile"));
    Settle();
    ASSERT_EQ(seam.openFilesRequests.size(), 2u);
    EXPECT_EQ(seam.openFilesRequests[0].title, seam.openFilesRequests[1].title);
    EXPECT_EQ(seam.openFilesRequests[0].filter, seam.openFilesRequests[1].filter);
}

TEST_F(CommandsTest, ClicksInQuickSuccessionRunTheLastKeyOnce) {
    Settle();
    Commands().ButtonClick(8, QStringLiteral("Help"));
    Commands().ButtonClick(9, QStringLiteral("home"));
    Commands().ItemClick(QStringLiteral("mnuSupport"));
    Commands().ItemClick(QStringLiteral("mnuSupport"));
    Settle();
    EXPECT_EQ(seam.opened, QStringList({kWebSite, kMail}));
}

TEST_F(CommandsTest, CompressToggledTwiceIsOffAndTheRunReadsTheCurrentMark) {
    NoLogFile();
    ChooseMenuItem(QStringLiteral("mnuOptions"), QStringLiteral("mnuCompress"));
    Settle();
    EXPECT_TRUE(window->MenuItemChecked(QStringLiteral("mnuCompress")));
    ChooseMenuItem(QStringLiteral("mnuOptions"), QStringLiteral("mnuCompress"));
    Settle();
    EXPECT_FALSE(window->MenuItemChecked(QStringLiteral("mnuCompress")));

    // The real converter writes font tags; compaction makes the page clean HTML5.
    UseRealConverter();
    const std::string source = dir / "lang.rtf";
    WriteFile(source, "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}}\\f0 Hello "
                      "{\\lang1031 Wort}\\par}\n");
    ASSERT_TRUE(window->AddFile(QString::fromStdString(source)));
    window->ChangeFilesState();
    ChooseMenuItem(QStringLiteral("mnuOptions"), QStringLiteral("mnuCompress"));
    Settle();
    ChooseMenuItem(QStringLiteral("mnuAction"), QStringLiteral("mnuConverter"));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return List().Row(1)->State() == QStringLiteral("Done"); }, 120000));
    const std::string page = ReadFile(dir / "lang.html");
    EXPECT_NE(page.find("Wort"), std::string::npos);
    EXPECT_NE(page.find("<meta charset=utf-8>"), std::string::npos) << "the page was compacted";
    EXPECT_EQ(page.find("<font"), std::string::npos) << "the page was compacted";
}

TEST_F(CommandsTest, TheFourOptionsAreBackAfterARestart) {
    for (const char* key : {"mnuLogfile", "mnuCreateDir", "mnuOverwrite", "mnuCompress"}) {
        Commands().ItemClick(QLatin1String(key));
        Settle();
    }
    EXPECT_FALSE(window->MenuItemChecked(QStringLiteral("mnuOverwrite")));
    EXPECT_TRUE(window->MenuItemChecked(QStringLiteral("mnuCompress")));

    window = std::make_unique<MainWindow>(seam, chosenConverter);
    EXPECT_TRUE(window->MenuItemChecked(QStringLiteral("mnuLogfile")));
    EXPECT_TRUE(window->MenuItemChecked(QStringLiteral("mnuCreateDir")));
    EXPECT_TRUE(window->MenuItemChecked(QStringLiteral("mnuOverwrite")));
    EXPECT_FALSE(window->MenuItemChecked(QStringLiteral("mnuCompress")));
}

TEST_F(CommandsTest, DuringARunOnlyStopIsTakenAndCancelLetsTheRunGoOn) {
    NoLogFile();
    for (const char* name : {"1.doc", "2.doc", "3.doc"}) {
        AddDocument(name);
    }
    window->ChangeFilesState();
    std::atomic<int> opened{0};
    bool addArmed = true;
    bool f5Armed = true;
    bool menuAddArmed = true;
    converter.Script().SetOnOpen([&](const std::string&) {
        const int task = ++opened;
        OnWindowThread([&, task] {
            if (task == 1) {
                ClickToolbar(1);
                addArmed = Commands().toolbarTimer().isActive();
                QTest::keyClick(&List(), Qt::Key_F5);
                Commands().ItemClick(QStringLiteral("mnuAddFile"));
                f5Armed = menuAddArmed = Commands().menuTimer().isActive();
                seam.messageAnswers.push_back(QMessageBox::Cancel);
                ClickToolbar(6);
            } else if (task == 2) {
                seam.messageAnswers.push_back(QMessageBox::Ok);
                ClickToolbar(6);
            }
        });
    });
    Settle();
    ClickToolbar(5);
    EXPECT_TRUE(QTest::qWaitFor([&] { return opened > 0 && window->run() == nullptr; }, 20000));

    EXPECT_FALSE(addArmed);
    EXPECT_FALSE(f5Armed);
    EXPECT_FALSE(menuAddArmed);
    EXPECT_TRUE(seam.openFilesRequests.empty());
    ASSERT_EQ(seam.messages.size(), 2u);
    for (const auto& message : seam.messages) {
        EXPECT_EQ(message.text, CommandDispatcher::kStopQuestion);
        EXPECT_EQ(message.icon, QMessageBox::Question);
        EXPECT_EQ(message.defaultButton, QMessageBox::Ok);
    }
    // Cancel let the run go on; OK stopped it after the task in progress.
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(List().Row(1)->State(), QStringLiteral("Done"));
    EXPECT_EQ(List().Row(2)->State(), QStringLiteral("Done"));
    EXPECT_EQ(List().Row(3)->State(), QStringLiteral("Ready"));
    EXPECT_TRUE(List().Row(3)->Checked());
    Settle();
    EXPECT_EQ(opened, 2) << "nothing refused during the run runs afterwards";
}

TEST_F(CommandsTest, MenuStopAsksAndStopsThroughItsTimer) {
    AddTwoTasks();
    std::atomic<int> opened{0};
    bool cancelArmed = true;
    // The menu's stop runs from its timer: the document outlasts the deferral.
    OnFirstDocument(
        converter, opened,
        [&] {
            seam.messageAnswers.push_back(QMessageBox::Cancel);
            Commands().ItemClick(QStringLiteral("mnuStop"));
            cancelArmed = Commands().menuTimer().isActive();
            seam.messageAnswers.push_back(QMessageBox::Ok);
            Commands().ItemClick(QStringLiteral("mnuStop"));
        },
        4 * CommandDispatcher::kDeferMs);
    Commands().ItemClick(QStringLiteral("mnuConverter"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return opened > 0 && window->run() == nullptr; }, 20000));
    EXPECT_FALSE(cancelArmed);
    EXPECT_EQ(seam.messages.size(), 2u);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(List().Row(2)->State(), QStringLiteral("Ready"));
}

TEST_F(CommandsTest, ACommandArmedBeforeARunIsNotRunInsideIt) {
    NoLogFile();
    AddDocument("1.doc");
    window->ChangeFilesState();
    // Each document outlasts the deferral, so the second command fires inside the run.
    converter.Script().SetOnOpen([](const std::string&) {
        std::this_thread::sleep_for(std::chrono::milliseconds(3 * CommandDispatcher::kDeferMs));
    });
    Settle();
    // Convert on the toolbar, then F5, within the same tenth of a second.
    Commands().ButtonClick(5, QStringLiteral("Extract"));
    QTest::keyClick(&List(), Qt::Key_F5);
    Settle();
    std::vector<std::string> calls = converter.Script().Calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "Quit"), 1) << "one run, one session";
    EXPECT_EQ(window->logPane()->toPlainText().count(QStringLiteral("  100, ")), 1);

    // Convert, then Add File: the Add command armed before the run is dropped.
    window->SetAllChecks(true);
    Commands().ButtonClick(5, QStringLiteral("Extract"));
    Commands().ItemClick(QStringLiteral("mnuAddFile"));
    Settle();
    calls = converter.Script().Calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "Quit"), 2);
    EXPECT_TRUE(seam.openFilesRequests.empty());
}

TEST_F(CommandsTest, StopWhenNoRunIsGoingDoesNothing) {
    Settle();
    window->SetPanelText(1, QStringLiteral("2 Selected file(s)  "));
    Commands().ButtonClick(6, QStringLiteral("stop"));
    Commands().ItemClick(QStringLiteral("mnuStop"));
    Settle();
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_EQ(window->PanelText(1), QStringLiteral("2 Selected file(s)  "));
}

TEST_F(CommandsTest, KeysOfTheTablesReachTheirCommands) {
    Settle();
    struct Case {
        bool toolbar;
        const char* key;
        QString opened;
    };
    const QString help = QString::fromStdString(AppFolder()) + QStringLiteral("help.html");
    const std::vector<Case> cases = {
        {true, "Help", help},
        {true, "home", kWebSite},
        {true, "email", kMail},
        {false, "mnuHelpFile", help},
        {false, "mnuWebsite", kWebSite},
        {false, "mnuSupport", kMail},
        {true, "unknown", QString()},
        {false, "mnuFile", QString()},
        {false, "mnuFilebar0", QString()},
    };
    for (const Case& c : cases) {
        seam.opened.clear();
        if (c.toolbar) {
            Commands().ButtonClick(1, QLatin1String(c.key));
        } else {
            Commands().ItemClick(QLatin1String(c.key));
        }
        Settle();
        EXPECT_EQ(seam.opened, c.opened.isEmpty() ? QStringList() : QStringList{c.opened}) << c.key;
    }
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(CommandsTest, ListAndLogCommands) {
    AddDocument("a.doc");
    AddDocument("b.doc");
    window->ChangeFilesState();
    Settle();

    Commands().ItemClick(QStringLiteral("mnuSnone"));
    Settle();
    EXPECT_EQ(Checks(), std::vector<bool>({false, false}));
    Commands().ItemClick(QStringLiteral("mnuInvert"));
    Settle();
    EXPECT_EQ(Checks(), std::vector<bool>({true, true}));

    // The popup menu's items enter the menu path.
    window->popupMenu()->findChild<QAction*>(QStringLiteral("mnuSelectNone"))->trigger();
    EXPECT_EQ(Commands().menuKey(), QStringLiteral("mnusnone"));
    Settle();
    EXPECT_EQ(Checks(), std::vector<bool>({false, false}));

    List().setCurrentItem(List().topLevelItem(0));
    List().topLevelItem(0)->setSelected(true);
    ClickToolbar(3);
    Settle();
    EXPECT_EQ(Sources(), QStringList({PathOf("b.doc")}));

    window->logPane()->setPlainText(QStringLiteral("12:00:00  100, Successfully convert x"));
    ChooseMenuItem(QStringLiteral("mnuFile"), QStringLiteral("mnuclearlog"));
    Settle();
    EXPECT_TRUE(window->logPane()->toPlainText().isEmpty());
}

TEST_F(CommandsTest, ViewLogFileOpensTodaysLogOnlyWhenItExists) {
    // Each test process has a state folder of its own, so no other test writes this log.
    const std::string log = DefaultLogPath();
    std::remove(log.c_str());
    ChooseMenuItem(QStringLiteral("mnuFile"), QStringLiteral("mnuViewLog"));
    Settle();
    EXPECT_TRUE(seam.opened.isEmpty());

    WriteFile(log, "12:00:00  100, Successfully convert a to b\n");
    Commands().ItemClick(QStringLiteral("mnuViewLog"));
    Settle();
    EXPECT_EQ(seam.opened, QStringList({QString::fromStdString(log)}));
    std::remove(log.c_str());
}

TEST_F(CommandsTest, OutputDirectoryShowsTheOptionsDialogAndKeepsListedTargets) {
    const QString source = AddDocument("a.doc");
    const QString target = List().Row(1)->Target();
    WhenModal<OptionsDialog>([](OptionsDialog* dialog) { ClickButton(dialog, "cmdCancel"); });
    Commands().ItemClick(QStringLiteral("mnuOutput"));
    Settle();
    EXPECT_EQ(List().Row(1)->Target(), target);
    EXPECT_EQ(List().Row(1)->Source(), source);
}

TEST_F(CommandsTest, ACommandArrivingWhileAModalDialogIsOpenWaitsForIt) {
    Settle();
    bool openedWhileShown = true;
    WhenModal<AboutDialog>([&](AboutDialog* box) {
        Commands().ButtonClick(9, QStringLiteral("home"));
        QTest::qWait(3 * CommandDispatcher::kDeferMs);
        openedWhileShown = !seam.opened.isEmpty();
        box->okButton()->click();
    });
    ChooseMenuItem(QStringLiteral("mnuhelp"), QStringLiteral("mnuAbout"));
    Settle();
    EXPECT_FALSE(openedWhileShown);
    EXPECT_EQ(seam.opened, QStringList({kWebSite}));
}

TEST_F(CommandsTest, ClosingWhileIdleAsksNothingAndExitCloses) {
    Settle();
    ChooseMenuItem(QStringLiteral("mnuFile"), QStringLiteral("mnuExit"));
    Settle();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(CommandsTest, ClosingDuringARunAsksWithCancelPreselected) {
    AddTwoTasks();
    std::atomic<int> opened{0};
    bool stillOpen = false;
    OnFirstDocument(converter, opened, [&] {
        seam.messageAnswers.push_back(QMessageBox::Cancel);
        window->close();
        stillOpen = window->isVisible();
    });
    Commands().ItemClick(QStringLiteral("mnuConverter"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return opened > 0 && window->run() == nullptr; }, 20000));
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text,
              CommandDispatcher::kStopQuestion + QStringLiteral("and close the software? "));
    EXPECT_EQ(seam.messages[0].defaultButton, QMessageBox::Cancel);
    EXPECT_EQ(opened, 2);
}

TEST(ManualTest, TheManualIsBesideTheProgram) {
    const std::string manual = ReadFile(std::string(PELMORA_BINARY_DIR) + "/app/help.html");
    EXPECT_NE(manual.find("pelmora"), std::string::npos);
    EXPECT_NE(manual.find("LibreOffice Writer"), std::string::npos);
    for (const char* code : {"100", "101", "102", "103", "104"}) {
        EXPECT_NE(manual.find(std::string("<td>") + code + "</td>"), std::string::npos) << code;
    }
}

} // namespace
} // namespace pelmora::test
