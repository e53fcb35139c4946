// The task list of the main window: adding, counting, removing, clearing, checking,
// moving, and the list's mouse and keyboard handling, on real widgets.

#include "app/CommandDispatcher.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/ListChecks.h"
#include "tests/support/Matchers.h"

#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>
#include <gmock/gmock.h>

namespace pelmora::test {
namespace {

class TaskListTest : public MainWindowTest {
protected:
    // The documents 1.doc to count.doc in the list, which has the focus and the given row
    // as its current one.
    void AddNumberedDocumentsFocusingRow(int count, int current) {
        for (int i = 1; i <= count; ++i) {
            AddDocument(std::to_string(i) + ".doc");
        }
        List().setFocus();
        List().setCurrentItem(List().Row(current));
    }
};

TEST_F(TaskListTest, AddFilesFillsAReadyCheckedRowWithTheTaskValues) {
    WriteFile(dir / "report.doc", std::string(2048, 'x'));
    window->SetPassword(QStringLiteral("secret"));
    ASSERT_TRUE(window->AddFile(PathOf("report.doc")));

    ASSERT_EQ(List().RowCount(), 1);
    TaskRow* row = List().Row(1);
    EXPECT_EQ(row->Source(), PathOf("report.doc"));
    EXPECT_EQ(row->Target(), PathOf("report.html"));
    EXPECT_EQ(row->text(ColumnSize), QStringLiteral("2.00KB"));
    EXPECT_FALSE(row->text(ColumnDate).isEmpty());
    EXPECT_EQ(row->State(), QStringLiteral("Ready"));
    EXPECT_TRUE(row->Checked());
    EXPECT_EQ(row->Icon(), IconPending);
    // The password travels with the task but is never shown.
    EXPECT_EQ(row->Password(), QStringLiteral("secret"));
    for (int column = 0; column < ColumnCount; ++column) {
        EXPECT_FALSE(row->text(column).contains(QStringLiteral("secret")));
    }

    window->SetOutputDir(QString::fromStdString(dir / "out"));
    WriteDocument(dir / "sub/memo.rtf");
    ASSERT_TRUE(window->AddFile(PathOf("sub/memo.rtf")));
    EXPECT_EQ(List().Row(2)->Target(), PathOf("out/memo.html"));
}

// A run changes a row's state, target and icon; the view must repaint every cell of it,
// not only the first, or a finished row keeps reading "Ready".
TEST_F(TaskListTest, AChangedRowRepaintsEveryColumn) {
    AddDocument("done.doc");
    ASSERT_EQ(List().RowCount(), 1);
    QSignalSpy changed(List().model(), &QAbstractItemModel::dataChanged);
    List().Row(1)->SetState(QStringLiteral("Done"));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toModelIndex().column(), 0);
    EXPECT_EQ(changed.at(0).at(1).toModelIndex().column(), ColumnCount - 1);
    EXPECT_EQ(List().Row(1)->data(ColumnState, Qt::DisplayRole).toString(), QStringLiteral("Done"));
}

TEST_F(TaskListTest, AddFilesRefusesMissingFilesFoldersAndDuplicatesInAnyCase) {
    const QString path = AddDocument("Report.doc");
    EXPECT_FALSE(window->AddFile(path));
    EXPECT_FALSE(window->AddFile(path.toUpper()));
    WriteDocument((dir / "REPORT.DOC"));
    EXPECT_FALSE(window->AddFile(PathOf("REPORT.DOC")));
    EXPECT_FALSE(window->AddFile(PathOf("missing.doc")));
    EXPECT_FALSE(window->AddFile(QString::fromStdString(dir.Path())));
    EXPECT_EQ(List().RowCount(), 1);
    EXPECT_TRUE(window->IsInTaskList(path.toLower()));
    EXPECT_TRUE(seam.messages.empty());

    // Once removed, the file can be added again.
    List().Row(1)->setSelected(true);
    window->RemoveSelectedTasks();
    EXPECT_FALSE(window->IsInTaskList(path));
    EXPECT_TRUE(window->AddFile(path));
}

TEST_F(TaskListTest, StatusPanelsCountCheckedTasksAndAllTasks) {
    EXPECT_EQ(window->PanelText(3), QStringLiteral("Total 0 File"));
    window->ChangeFilesState();
    EXPECT_EQ(window->PanelText(3), QStringLiteral("Total 0 Files"));
    EXPECT_EQ(window->PanelText(1), QString());

    for (const char* name : {"a.doc", "b.doc", "c.doc", "d.doc", "e.doc"}) {
        AddDocument(name);
    }
    SetItemChecked(&List(), 2, false);
    SetItemChecked(&List(), 4, false);
    window->ChangeFilesState();
    EXPECT_EQ(window->PanelText(1), QStringLiteral("3 Selected file(s)  "));
    EXPECT_EQ(window->PanelText(3), QStringLiteral("Total 5 Files"));

    window->SetAllChecks(false);
    EXPECT_EQ(window->PanelText(1), QString());
    window->InvertChecks();
    EXPECT_EQ(window->PanelText(1), QStringLiteral("5 Selected file(s)  "));
    SetItemChecked(&List(), 1, false);
    window->InvertChecks();
    EXPECT_THAT(Checks(), ElementsAre(true, false, false, false, false));
}

TEST_F(TaskListTest, CheckingSetsThePendingIconAgain) {
    AddDocument("a.doc");
    AddDocument("b.doc");
    List().Row(1)->SetIcon(IconConverted);
    List().Row(2)->SetIcon(IconConverted);
    window->SetAllChecks(true);
    EXPECT_EQ(List().Row(1)->Icon(), IconPending);
    EXPECT_EQ(List().Row(2)->Icon(), IconPending);

    // The refresh gives only the current row its pending icon back.
    List().Row(1)->SetIcon(IconConverted);
    List().Row(2)->SetIcon(IconConverted);
    List().setCurrentItem(List().Row(2));
    window->ChangeFilesState();
    EXPECT_EQ(List().Row(1)->Icon(), IconConverted);
    EXPECT_EQ(List().Row(2)->Icon(), IconPending);
}

TEST_F(TaskListTest, AddFromDialogAddsTheChosenFilesAndRefreshes) {
    const std::string a = WriteDocument(dir / "a.doc");
    const std::string b = WriteDocument(dir / "b.rtf");
    seam.openFilesAnswers.push_back({QString::fromStdString(a), QString::fromStdString(b)});
    WhenModal<QDialog>([](QDialog* options) { ClickButton(options, "cmdOK"); });
    window->AddFilesFromDialog();

    ASSERT_EQ(seam.openFilesRequests.size(), 1u);
    EXPECT_TRUE(seam.openFilesRequests[0].multiSelect);
    EXPECT_TRUE(seam.openFilesRequests[0].fileMustExist);
    EXPECT_TRUE(seam.openFilesRequests[0].filter.startsWith(
        QStringLiteral("Microsoft Word Documents(*.doc;rtf;xml) (*.doc")));
    // The first file chosen takes the position after the rows listed before.
    EXPECT_EQ(List().Row(1)->Source(), QString::fromStdString(a));
    EXPECT_THAT(Sources(), ElementsAre(QString::fromStdString(a), QString::fromStdString(b)));
    EXPECT_EQ(window->PanelText(1), QStringLiteral("2 Selected file(s)  "));
    EXPECT_EQ(window->PanelText(3), QStringLiteral("Total 2 Files"));
}

TEST_F(TaskListTest, ADuplicateInAMultiFileAddEndsTheCommand) {
    AddDocument("b.doc");
    window->ChangeFilesState();
    const std::string a = WriteDocument(dir / "a.doc");
    const std::string c = WriteDocument(dir / "c.doc");
    seam.openFilesAnswers.push_back(
        {QString::fromStdString(a), PathOf("B.DOC"), QString::fromStdString(c)});
    WriteDocument(dir / "B.DOC");
    WhenModal<QDialog>([](QDialog* options) { ClickButton(options, "cmdOK"); });
    window->AddFilesFromDialog();

    EXPECT_EQ(List().Row(2)->Source(), QString::fromStdString(a));
    EXPECT_THAT(Sources(), ElementsAre(PathOf("b.doc"), QString::fromStdString(a)));
    EXPECT_TRUE(List().Row(2)->Checked());
    // The command ended before its refresh: the panels still show the old counts.
    EXPECT_EQ(window->PanelText(1), QStringLiteral("1 Selected file(s)  "));
    EXPECT_EQ(window->PanelText(3), QStringLiteral("Total 1 Files"));
}

TEST_F(TaskListTest, CancellingEitherDialogOfTheAddCommandAddsNothing) {
    window->AddFilesFromDialog(); // the file dialog is cancelled
    EXPECT_EQ(List().RowCount(), 0);
    EXPECT_EQ(window->OutputDir(), QString());

    seam.openFilesAnswers.push_back({QString::fromStdString(WriteDocument(dir / "a.doc"))});
    window->SetOutputDir(QStringLiteral("earlier"));
    WhenModal<QDialog>([](QDialog* options) { options->reject(); });
    window->AddFilesFromDialog();
    EXPECT_EQ(List().RowCount(), 0);
    // A cancelled Options dialog writes nothing.
    EXPECT_EQ(window->OutputDir(), QStringLiteral("earlier"));
}

TEST_F(TaskListTest, ClearAsksOnlyWhenThereIsSomethingToClear) {
    window->ClearTasks();
    EXPECT_TRUE(seam.messages.empty());

    AddDocument("a.doc");
    AddDocument("b.doc");
    window->ChangeFilesState();
    seam.messageAnswers.push_back(QMessageBox::Cancel);
    window->ClearTasks();
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text, QStringLiteral("Do you want to clear all tasks? "));
    EXPECT_EQ(seam.messages[0].icon, QMessageBox::Question);
    EXPECT_EQ(seam.messages[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(List().RowCount(), 2);

    seam.messageAnswers.push_back(QMessageBox::Ok);
    window->ClearTasks();
    EXPECT_EQ(List().RowCount(), 0);
    EXPECT_FALSE(window->IsInTaskList(PathOf("a.doc")));
    // The status bar keeps its texts until the next refresh.
    EXPECT_EQ(window->PanelText(3), QStringLiteral("Total 2 Files"));
}

TEST_F(TaskListTest, MovesKeepEachTaskWithItsOwnCheckBoxAndPassword) {
    window->SetPassword(QStringLiteral("one"));
    AddDocument("1.doc");
    window->SetPassword(QStringLiteral("two"));
    AddDocument("2.doc");
    AddDocument("3.doc");
    SetItemChecked(&List(), 2, false);
    List().Row(1)->SetIcon(IconConverted);

    List().setCurrentItem(List().Row(1));
    window->MoveTaskUp();
    EXPECT_THAT(Sources(), ElementsAre(PathOf("1.doc"), PathOf("2.doc"), PathOf("3.doc")));

    window->MoveTaskDown();
    EXPECT_THAT(Sources(), ElementsAre(PathOf("2.doc"), PathOf("1.doc"), PathOf("3.doc")));
    EXPECT_THAT(Checks(), ElementsAre(false, true, true));
    EXPECT_EQ(List().Row(2)->Password(), QStringLiteral("one"));
    EXPECT_EQ(List().Row(1)->Password(), QStringLiteral("two"));
    EXPECT_EQ(List().Row(1)->Icon(), IconPending);
    EXPECT_EQ(List().Row(2)->Icon(), IconPending);
    EXPECT_EQ(List().CurrentRow(), List().Row(2));
    EXPECT_TRUE(List().Row(2)->isSelected());

    window->MoveTaskDown();
    window->MoveTaskDown(); // already last
    EXPECT_THAT(Sources(), ElementsAre(PathOf("2.doc"), PathOf("3.doc"), PathOf("1.doc")));
    EXPECT_THAT(Checks(), ElementsAre(false, true, true));
    window->MoveTaskUp();
    EXPECT_THAT(Sources(), ElementsAre(PathOf("2.doc"), PathOf("1.doc"), PathOf("3.doc")));

    List().setCurrentItem(nullptr);
    window->MoveTaskDown();
    EXPECT_THAT(Sources(), ElementsAre(PathOf("2.doc"), PathOf("1.doc"), PathOf("3.doc")));
}

TEST_F(TaskListTest, CtrlArrowsMoveRowsOtherArrowsDoNot) {
    AddNumberedDocumentsFocusingRow(3, 2);

    QTest::keyClick(&List(), Qt::Key_Right);
    QTest::keyClick(&List(), Qt::Key_Left);
    QTest::keyClick(&List(), Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(&List(), Qt::Key_Left, Qt::AltModifier);
    EXPECT_THAT(Sources(), ElementsAre(PathOf("1.doc"), PathOf("2.doc"), PathOf("3.doc")));

    QTest::keyClick(&List(), Qt::Key_Right, Qt::ControlModifier);
    EXPECT_THAT(Sources(), ElementsAre(PathOf("1.doc"), PathOf("3.doc"), PathOf("2.doc")));
    QTest::keyClick(&List(), Qt::Key_Left, Qt::ControlModifier);
    QTest::keyClick(&List(), Qt::Key_Left, Qt::ControlModifier);
    EXPECT_THAT(Sources(), ElementsAre(PathOf("2.doc"), PathOf("1.doc"), PathOf("3.doc")));
    // Any key release refreshes the panels.
    EXPECT_EQ(window->PanelText(3), QStringLiteral("Total 3 Files"));
}

// A held key: the window system sends press and release pairs marked as repeats, then
// the real release.
void HoldKey(QWidget* list, Qt::Key key, Qt::KeyboardModifiers modifiers, int repeats) {
    QKeyEvent first(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(list, &first);
    for (int i = 0; i < repeats; ++i) {
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, QString(), true);
        QApplication::sendEvent(list, &release);
        QKeyEvent press(QEvent::KeyPress, key, modifiers, QString(), true);
        QApplication::sendEvent(list, &press);
    }
    QKeyEvent last(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(list, &last);
}

TEST_F(TaskListTest, AHeldMoveOrCheckKeyActsOnce) {
    AddNumberedDocumentsFocusingRow(4, 1);

    HoldKey(&List(), Qt::Key_Right, Qt::ControlModifier, 3);
    EXPECT_THAT(Sources(),
                ElementsAre(PathOf("2.doc"), PathOf("1.doc"), PathOf("3.doc"), PathOf("4.doc")));
    HoldKey(&List(), Qt::Key_Left, Qt::ControlModifier, 2);
    EXPECT_THAT(Sources(),
                ElementsAre(PathOf("1.doc"), PathOf("2.doc"), PathOf("3.doc"), PathOf("4.doc")));

    // Space held over a checked row unchecks it once; repeats do not flip it back.
    ASSERT_TRUE(List().Row(1)->Checked());
    HoldKey(&List(), Qt::Key_Space, Qt::NoModifier, 3);
    EXPECT_FALSE(List().Row(1)->Checked());
    EXPECT_EQ(window->PanelText(1), QStringLiteral("3 Selected file(s)  "));
}

TEST_F(TaskListTest, KeysRemoveRowsRefreshCountsAndStartARun) {
    AddNumberedDocumentsFocusingRow(3, 1);
    List().Row(3)->setSelected(true);

    // F5 is the window's Convert shortcut; it arms the menu's path.
    QTest::keyClick(&List(), Qt::Key_F5);
    EXPECT_EQ(window->commands()->menuKey(), QStringLiteral("mnuconverter"));
    EXPECT_TRUE(window->commands()->menuTimer().isActive());
    window->commands()->menuTimer().stop();

    QTest::keyClick(&List(), Qt::Key_Delete);
    EXPECT_THAT(Sources(), ElementsAre(PathOf("2.doc")));
    EXPECT_EQ(window->PanelText(3), QStringLiteral("Total 1 Files"));

    List().setCurrentItem(List().Row(1));
    QTest::keyClick(&List(), Qt::Key_Space);
    EXPECT_EQ(window->PanelText(1),
              List().Row(1)->Checked() ? QStringLiteral("1 Selected file(s)  ") : QString());
}

TEST_F(TaskListTest, RemoveTakesEveryHighlightedRow) {
    for (const char* name : {"1.doc", "2.doc", "3.doc", "4.doc"}) {
        AddDocument(name);
    }
    List().Row(1)->setSelected(true);
    List().Row(3)->setSelected(true);
    List().Row(4)->setSelected(true);
    window->RemoveSelectedTasks();
    EXPECT_THAT(Sources(), ElementsAre(PathOf("2.doc")));
    EXPECT_EQ(window->PanelText(1), QStringLiteral("1 Selected file(s)  "));
    EXPECT_TRUE(List().hasFocus());
}

TEST_F(TaskListTest, AClickAnywhereInTheListRefreshesTheCounts) {
    AddDocument("1.doc");
    AddDocument("2.doc");
    SetItemChecked(&List(), 1, false);
    const QPoint empty(List().viewport()->width() / 2, List().viewport()->height() - 5);
    QTest::mouseClick(List().viewport(), Qt::LeftButton, {}, empty);
    EXPECT_EQ(window->PanelText(1), QStringLiteral("1 Selected file(s)  "));

    // Ticking a check box with the mouse reaches the counts at once.
    const QRect rowRect = List().visualItemRect(List().Row(1));
    for (int x = rowRect.left() + 2; x < rowRect.left() + 40 && !List().Row(1)->Checked(); x += 3) {
        QTest::mouseClick(List().viewport(), Qt::LeftButton, {}, QPoint(x, rowRect.center().y()));
    }
    ASSERT_TRUE(List().Row(1)->Checked());
    EXPECT_EQ(window->PanelText(1), QStringLiteral("2 Selected file(s)  "));
}

TEST_F(TaskListTest, RightButtonShowsThePopupWithItemsForTheRowUnderThePointer) {
    AddDocument("1.doc");
    QMenu* popup = window->popupMenu();
    auto item = [popup](const char* name) {
        return popup->findChild<QAction*>(QLatin1String(name));
    };
    const QPoint onRow = List().visualItemRect(List().Row(1)).center();
    QTest::mouseClick(List().viewport(), Qt::RightButton, {}, onRow);
    ASSERT_TRUE(popup->isVisible());
    EXPECT_TRUE(item("mnuRemove")->isEnabled());
    EXPECT_TRUE(item("mnuOutputDir")->isEnabled());
    popup->hide();

    const QPoint below(10, List().viewport()->height() - 5);
    QTest::mouseClick(List().viewport(), Qt::RightButton, {}, below);
    ASSERT_TRUE(popup->isVisible());
    EXPECT_FALSE(item("mnuRemove")->isEnabled());
    EXPECT_FALSE(item("mnuOutputDir")->isEnabled());
    popup->hide();

    QStringList captions;
    for (QAction* action : popup->actions()) {
        captions.push_back(action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    EXPECT_EQ(captions, (QStringList{"&Add", "&Remove", "-", "&Clear List", "-", "&Select All",
                                     "S&elect None", "-", "&Invert Selection", "-", "C&lear Logs",
                                     "-", "Output &Directory..."}));

    QStringList keys;
    for (const char* name :
         {"mnuAdd", "mnuClearList", "mnuSelectall", "mnuSelectNone", "mnuInvert"}) {
        item(name)->trigger();
        keys.push_back(window->commands()->menuKey());
    }
    window->commands()->menuTimer().stop();
    EXPECT_EQ(keys, (QStringList{"mnuaddfile", "mnuclear", "mnusall", "mnusnone", "mnuinvert"}));
    window->logPane()->setPlainText(QStringLiteral("old line"));
    item("mnuLog")->trigger();
    EXPECT_EQ(window->logPane()->toPlainText(), QStringLiteral("Ready...\n"));

    window->runView()->EnterRunState(1);
    QTest::mouseClick(List().viewport(), Qt::RightButton, {}, onRow);
    EXPECT_FALSE(popup->isVisible());
    window->runView()->LeaveRunState();
}

TEST_F(TaskListTest, DoubleClickOnAConvertedRowOpensItsPage) {
    AddDocument("1.doc");
    List().Row(1)->SetIcon(IconConverted);
    const QPoint onRow = List().visualItemRect(List().Row(1)).center();
    QTest::mouseDClick(List().viewport(), Qt::LeftButton, {}, onRow);
    EXPECT_THAT(seam.opened, ElementsAre(PathOf("1.html")));
}

TEST_F(TaskListTest, DoubleClickEditsTheOutputFolderOfTheHighlightedRows) {
    window->SetOutputDir(QString::fromStdString(dir / "out"));
    AddDocument("src/1.doc");
    window->SetOutputDir(QString());
    AddDocument("src/2.doc");
    AddDocument("src/3.doc");

    // A row whose page goes elsewhere opens the dialog on that folder.
    WhenModal<QDialog>([this](QDialog* options) {
        auto* custom = options->findChild<QAbstractButton*>(QStringLiteral("opnDir1"));
        auto* path = options->findChild<QLineEdit*>(QStringLiteral("txtPath"));
        EXPECT_TRUE(custom->isChecked());
        EXPECT_TRUE(path->isEnabled());
        EXPECT_EQ(path->text(), QString::fromStdString(dir / "out/"));
        path->setText(QString::fromStdString(dir / "elsewhere"));
        ClickButton(options, "cmdOK");
    });
    const QPoint first = List().visualItemRect(List().Row(1)).center();
    QTest::mouseDClick(List().viewport(), Qt::LeftButton, {}, first);
    EXPECT_TRUE(seam.folderRequests.empty());
    EXPECT_EQ(List().Row(1)->Target(), PathOf("elsewhere/1.html"));
    EXPECT_EQ(List().Row(2)->Target(), PathOf("src/2.html"));

    // Several highlighted rows: the plain dialog; its answer goes to all of them.
    List().setCurrentItem(List().Row(2));
    List().Row(3)->setSelected(true);
    WhenModal<QDialog>([](QDialog* options) {
        EXPECT_TRUE(options->findChild<QAbstractButton*>(QStringLiteral("opnDir0"))->isChecked());
        ClickButton(options, "cmdOK");
    });
    window->EditHighlightedOutput();
    EXPECT_EQ(List().Row(1)->Target(), PathOf("elsewhere/1.html"));
    EXPECT_EQ(List().Row(2)->Target(), PathOf("src/2.html"));
    EXPECT_EQ(List().Row(3)->Target(), PathOf("src/3.html"));

    // Cancelled: the targets stay.
    List().Row(2)->setSelected(true);
    window->SetOutputDir(QStringLiteral("earlier"));
    WhenModal<QDialog>([](QDialog* options) { options->reject(); });
    window->EditHighlightedOutput();
    EXPECT_EQ(List().Row(3)->Target(), PathOf("src/3.html"));
    EXPECT_EQ(window->OutputDir(), QStringLiteral("earlier"));
}

TEST_F(TaskListTest, ATaskListOfTenThousandFilesWorks) {
    const int count = 10000;
    for (int i = 0; i < count; ++i) {
        WriteFile(dir / ("f" + std::to_string(i) + ".doc"), "x");
    }
    for (int i = 0; i < count; ++i) {
        ASSERT_TRUE(window->AddFile(PathOf("f" + std::to_string(i) + ".doc")));
    }
    EXPECT_FALSE(window->AddFile(PathOf("F9999.DOC")));
    window->ChangeFilesState();
    EXPECT_EQ(window->PanelText(3), QStringLiteral("Total 10000 Files"));
    EXPECT_EQ(window->PanelText(1), QStringLiteral("10000 Selected file(s)  "));
    for (int i = 1; i <= count; i += 2) {
        List().Row(i)->setSelected(true);
    }
    window->RemoveSelectedTasks();
    EXPECT_EQ(List().RowCount(), count / 2);
    EXPECT_EQ(List().Row(1)->Source(), PathOf("f1.doc"));
    EXPECT_FALSE(window->IsInTaskList(PathOf("f0.doc")));
    EXPECT_TRUE(window->IsInTaskList(PathOf("f9999.doc")));
}

} // namespace
} // namespace pelmora::test
