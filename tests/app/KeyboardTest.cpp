// The window from the keyboard: the standard shortcuts, the menu bar's letters, the
// tab order through list, log pane and toolbar, and the toolbar's own keys. Real key
// events on the real widgets.
#include "app/CommandModel.h"
#include "app/ConversionRun.h"
#include "app/WindowHelpers.h"
#include "controls/menu/MenuBar.h"
#include "controls/menu/PopupMenu.h"
#include "controls/toolbar/ToolBar.h"
#include "engine/PathHelpers.h"
#include "tests/app/AppTestSupport.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

namespace pelmora::test {
namespace {

class KeyboardTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        Settle();
    }
    void Settle() const {
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return !window->commands()->toolbarTimer().isActive() &&
                   !window->commands()->menuTimer().isActive();
        }));
    }
    // A key typed into whatever has the focus in the window.
    void Type(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus != nullptr ? focus : window.get(), static_cast<Qt::Key>(key),
                        modifiers);
    }
};

TEST_F(KeyboardTest, StandardShortcutsReachTheirCommands) {
    Type(Qt::Key_O, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(seam.openFilesRequests.size(), 1u) << "Ctrl+O adds files";

    Type(Qt::Key_F1);
    Settle();
    EXPECT_EQ(seam.opened, QStringList{QString::fromStdString(HelpFilePath())});

    // Esc stops only a run; with none going it does nothing, and Stop is off.
    EXPECT_FALSE(window->commandModel()->Enabled(CommandId::Stop));
    Type(Qt::Key_Escape);
    Settle();
    EXPECT_TRUE(seam.messages.empty());

    Type(Qt::Key_Q, Qt::ControlModifier);
    Settle();
    EXPECT_FALSE(window->isVisible()) << "Ctrl+Q quits";
}

TEST_F(KeyboardTest, AltLettersAndF10OpenTheMenusAndEnterChooses) {
    AddDocument("a.doc");
    window->ChangeFilesState();
    Type(Qt::Key_E, Qt::AltModifier);
    PopupMenu* edit = window->menuBar()->Popup();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->FilterIndex(), window->menuBar()->KeyToIndex(QStringLiteral("mnuedit")));
    // Output Directory..., Move Up, Move Down, Select All, Select None.
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(edit, Qt::Key_Down);
    }
    QTest::keyClick(edit, Qt::Key_Return);
    Settle();
    EXPECT_EQ(Checks(), std::vector<bool>{false}) << "Select None was chosen";
    // The offscreen platform has no window manager to hand the activation back.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));

    Type(Qt::Key_F10);
    ASSERT_NE(window->menuBar()->Popup(), nullptr);
    QTest::keyClick(window->menuBar()->Popup(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window->menuBar()->Popup(), nullptr);
    EXPECT_FALSE(window->menuBar()->MenuOpen());
}

TEST_F(KeyboardTest, TabGoesFromTheListToTheLogPaneToTheToolbarWhoseKeysClickItsButtons) {
    List().setFocus();
    ASSERT_TRUE(List().hasFocus());
    Type(Qt::Key_Tab);
    EXPECT_TRUE(window->logPane()->hasFocus());
    // Typing goes nowhere: the pane is read-only, and Tab leaves it.
    Type(Qt::Key_X);
    EXPECT_TRUE(window->logPane()->toPlainText().isEmpty());
    Type(Qt::Key_Tab);
    ASSERT_TRUE(window->toolBar()->hasFocus());

    // The first button takes the frame; Right passes separators and disabled Stop.
    const QStringList expected = {"Add", "folder", "Remove", "Extract", "Help", "home"};
    for (int i = 0; i < expected.size(); ++i) {
        if (i > 0) {
            Type(Qt::Key_Right);
        }
        // Space on "Help" clicks it as the mouse would.
        if (expected[i] == QStringLiteral("Help")) {
            Type(Qt::Key_Space);
            Settle();
            EXPECT_EQ(seam.opened, QStringList{QString::fromStdString(HelpFilePath())});
        }
    }
    EXPECT_EQ(window->commands()->toolbarKey(), QStringLiteral("help"));
}

TEST_F(KeyboardTest, ExitDuringARunAsksAsTheCloseButtonDoesAndQuitsOnOk) {
    window->SetMenuItemChecked(QStringLiteral("mnuLogfile"), false);
    AddDocument("1.doc");
    AddDocument("2.doc");
    window->ChangeFilesState();
    HoldConversions();
    window->RunConversion();
    ASSERT_TRUE(QTest::qWaitFor([&] { return HeldStarted(); }));
    seam.messageAnswers.push_back(QMessageBox::Cancel);
    Type(Qt::Key_Q, Qt::ControlModifier);
    Settle();
    ASSERT_EQ(seam.messages.size(), 1u);
    EXPECT_EQ(seam.messages[0].text,
              QStringLiteral("Do you want to cancel all runing tasks and close the software? "));
    EXPECT_TRUE(window->isVisible());
    seam.messageAnswers.push_back(QMessageBox::Ok);
    window->commands()->ItemClick(QStringLiteral("mnuExit"));
    Settle();
    ReleaseHeld();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->run() == nullptr; }));
}

TEST_F(KeyboardTest, TheLogPaneFollowsNewLinesUnlessScrolledUp) {
    QPlainTextEdit* pane = window->logPane();
    EXPECT_TRUE(pane->isReadOnly());
    for (int i = 0; i < 50; ++i) {
        window->runView()->AppendLogLine(QStringLiteral("line %1").arg(i));
    }
    QScrollBar* bar = pane->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
    // A selection made once no longer stops the pane from following.
    QTextCursor cursor = pane->textCursor();
    cursor.setPosition(3);
    cursor.setPosition(8, QTextCursor::KeepAnchor);
    pane->setTextCursor(cursor);
    bar->setValue(bar->maximum());
    window->runView()->AppendLogLine(QStringLiteral("after the selection"));
    EXPECT_EQ(bar->value(), bar->maximum());
    // Scrolled up to read, the pane stays where the user put it.
    bar->setValue(0);
    window->runView()->AppendLogLine(QStringLiteral("while reading"));
    EXPECT_EQ(bar->value(), 0);
}

} // namespace
} // namespace pelmora::test
