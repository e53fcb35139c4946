// The Options and Add Folder dialogs: captions, initial states, the folder pickers,
// what they write into the main window and, for Add Folder, the search.

#include "app/AddFolderDialog.h"
#include "app/OptionsDialog.h"
#include "app/StatusPanels.h"
#include "engine/FileSearch.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/Matchers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <gmock/gmock.h>

namespace pelmora::test {
namespace {

class OptionsDialogTest : public MainWindowTest {
protected:
    // Shows a fresh dialog from the window and runs action inside it; true when
    // the dialog was confirmed.
    bool Show(std::function<void(OptionsDialog*)> action) {
        WhenModal<OptionsDialog>(std::move(action));
        return window->ShowOptionsDialog();
    }
};

TEST_F(OptionsDialogTest, StartsFromItsInitialState) {
    OptionsDialog dialog(window.get(), seam);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Output Directory"));
    EXPECT_EQ(dialog.outputFolderBox()->title(), QStringLiteral("Output Directory"));
    EXPECT_EQ(dialog.outputFolderBox()->choiceButton(0)->text(),
              QStringLiteral("Same as Input Directory"));
    EXPECT_EQ(dialog.outputFolderBox()->choiceButton(1)->text(),
              QStringLiteral("Custom Directory"));
    EXPECT_TRUE(dialog.outputFolderBox()->choiceButton(0)->isChecked());
    EXPECT_FALSE(dialog.outputFolderBox()->pathBox()->isEnabled());
    EXPECT_FALSE(dialog.outputFolderBox()->browseButton()->isEnabled());
    EXPECT_TRUE(dialog.passwordBox()->text().isEmpty());
    EXPECT_EQ(dialog.passwordBox()->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(dialog.okButton()->text(), QStringLiteral("&OK"));
    EXPECT_EQ(dialog.cancelButton()->text(), QStringLiteral("&Cancel"));
    EXPECT_EQ(dialog.findChild<QGroupBox*>(QStringLiteral("Frame2"))->title(),
              QStringLiteral("Password to Open"));
}

TEST_F(OptionsDialogTest, OkWithoutChangesMeansBesideTheSourcesAndNoPassword) {
    window->SetOutputDir(QStringLiteral("old/folder"));
    window->SetPassword(QStringLiteral("old"));
    EXPECT_TRUE(Show([](OptionsDialog* dialog) { dialog->okButton()->click(); }));
    EXPECT_EQ(window->OutputDir(), QString());
    EXPECT_EQ(window->Password(), QString());
}

TEST_F(OptionsDialogTest, CustomDirectoryOpensThePickerAtOnce) {
    seam.folderAnswers.push_back(QString::fromStdString(dir / "out"));
    EXPECT_TRUE(Show([](OptionsDialog* dialog) {
        dialog->outputFolderBox()->choiceButton(1)->click();
        EXPECT_TRUE(dialog->outputFolderBox()->pathBox()->isEnabled());
        EXPECT_TRUE(dialog->outputFolderBox()->browseButton()->isEnabled());
        dialog->passwordBox()->setText(QStringLiteral("pässwörd€"));
        dialog->okButton()->click();
    }));
    ASSERT_EQ(seam.folderRequests.size(), 1u);
    EXPECT_EQ(seam.folderRequests[0].title, QStringLiteral("Select output folder:"));
    EXPECT_TRUE(seam.folderRequests[0].resizable);
    EXPECT_EQ(window->OutputDir(), PathOf("out"));
    EXPECT_EQ(window->Password(), QStringLiteral("pässwörd€"));
}

TEST_F(OptionsDialogTest, ACancelledPickerWithAnEmptyPathFallsBack) {
    EXPECT_TRUE(Show([](OptionsDialog* dialog) {
        dialog->outputFolderBox()->choiceButton(1)->click();
        EXPECT_TRUE(dialog->outputFolderBox()->choiceButton(0)->isChecked());
        EXPECT_FALSE(dialog->outputFolderBox()->pathBox()->isEnabled());
        dialog->okButton()->click();
    }));
    EXPECT_EQ(seam.folderRequests.size(), 1u);
    EXPECT_EQ(window->OutputDir(), QString());

    // With a path already typed, a cancelled picker keeps it.
    EXPECT_TRUE(Show([](OptionsDialog* dialog) {
        dialog->outputFolderBox()->pathBox()->setText(QStringLiteral("typed/by hand"));
        dialog->outputFolderBox()->choiceButton(1)->click();
        EXPECT_TRUE(dialog->outputFolderBox()->choiceButton(1)->isChecked());
        dialog->okButton()->click();
    }));
    EXPECT_EQ(seam.folderRequests.size(), 2u);
    EXPECT_EQ(window->OutputDir(), QStringLiteral("typed/by hand"));
}

TEST_F(OptionsDialogTest, CancelAndTheFrameWriteNothingAndReopeningStartsAfresh) {
    window->SetOutputDir(QStringLiteral("kept/folder"));
    window->SetPassword(QStringLiteral("kept"));
    EXPECT_FALSE(Show([](OptionsDialog* dialog) {
        dialog->passwordBox()->setText(QStringLiteral("typed"));
        dialog->cancelButton()->click();
    }));
    EXPECT_FALSE(Show([](OptionsDialog* dialog) { dialog->close(); }));
    EXPECT_EQ(window->OutputDir(), QStringLiteral("kept/folder"));
    EXPECT_EQ(window->Password(), QStringLiteral("kept"));

    EXPECT_TRUE(Show([](OptionsDialog* dialog) {
        EXPECT_TRUE(dialog->passwordBox()->text().isEmpty());
        EXPECT_TRUE(dialog->outputFolderBox()->choiceButton(0)->isChecked());
        dialog->okButton()->click();
    }));
}

TEST_F(OptionsDialogTest, APresetBeforeShowingEnablesThePathWithoutThePicker) {
    OptionsDialog dialog(window.get(), seam);
    dialog.outputFolderBox()->choiceButton(1)->setChecked(true);
    dialog.outputFolderBox()->pathBox()->setText(QStringLiteral("/somewhere/"));
    EXPECT_TRUE(dialog.outputFolderBox()->pathBox()->isEnabled());
    EXPECT_TRUE(dialog.outputFolderBox()->browseButton()->isEnabled());
    EXPECT_TRUE(seam.folderRequests.empty());
}

class AddFolderDialogTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        WriteDocument(dir / "src/a.doc");
        WriteDocument(dir / "src/b.rtf");
        WriteDocument(dir / "src/c.xml");
        WriteDocument(dir / "src/sub/d.doc");
        WriteDocument(dir / "src/.hidden/e.doc");
    }
    // Shows the window's kept dialog and runs action inside it.
    void Show(std::function<void(AddFolderDialog*)> action) {
        WhenModal<AddFolderDialog>(std::move(action));
        window->ShowAddFolderDialog();
        EXPECT_FALSE(window->addFolderDialog()->isVisible());
    }
};

TEST_F(AddFolderDialogTest, StartsFromItsInitialState) {
    AddFolderDialog* dialog = window->addFolderDialog();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Add Sub-Folder"));
    EXPECT_TRUE(dialog->sourcePathBox()->text().isEmpty());
    EXPECT_EQ(dialog->patternBox()->currentText(), QStringLiteral("*.doc"));
    EXPECT_TRUE(dialog->patternBox()->isEditable());
    QStringList entries;
    for (int i = 0; i < dialog->patternBox()->count(); ++i) {
        entries.push_back(dialog->patternBox()->itemText(i));
    }
    EXPECT_EQ(entries, (QStringList{"*.doc", "*.rtf", "*.xml", "*.doc;*.rtf;*.xml"}));
    EXPECT_EQ(dialog->subfoldersBox()->text(), QStringLiteral("Include Sub-Folders"));
    EXPECT_FALSE(dialog->subfoldersBox()->isChecked());
    EXPECT_TRUE(dialog->outputFolderBox()->choiceButton(0)->isChecked());
    EXPECT_FALSE(dialog->outputFolderBox()->pathBox()->isEnabled());
    EXPECT_FALSE(dialog->outputFolderBox()->browseButton()->isEnabled());
    EXPECT_EQ(dialog->findChild<QGroupBox*>(QStringLiteral("Frame2"))->title(),
              QStringLiteral("Options"));
}

TEST_F(AddFolderDialogTest, AnEmptySourcePathIsRefusedAndTheDialogStaysOpen) {
    Show([this](AddFolderDialog* dialog) {
        dialog->okButton()->click();
        EXPECT_TRUE(dialog->isVisible());
        ASSERT_EQ(seam.messages.size(), 1u);
        EXPECT_EQ(seam.messages[0].text,
                  QStringLiteral("Source file path could not be empty!    "));
        EXPECT_EQ(seam.messages[0].icon, QMessageBox::Information);
        dialog->cancelButton()->click();
    });
    EXPECT_EQ(List().RowCount(), 0);
}

TEST_F(AddFolderDialogTest, SearchesWithAndWithoutSubfoldersAndAddsWhatItFinds) {
    window->SetPassword(QStringLiteral("pw"));
    seam.folderAnswers.push_back(PathOf("src"));
    Show([](AddFolderDialog* dialog) {
        dialog->sourceFolderButton()->click();
        dialog->okButton()->click();
    });
    ASSERT_EQ(seam.folderRequests.size(), 1u);
    EXPECT_EQ(seam.folderRequests[0].title, QStringLiteral("Select source folder:"));
    EXPECT_FALSE(seam.folderRequests[0].resizable);
    EXPECT_THAT(Sources(), ElementsAre(PathOf("src/a.doc")));
    EXPECT_EQ(List().Row(1)->Password(), QStringLiteral("pw"));
    EXPECT_EQ(window->PanelText(1), QStringLiteral("1 Selected file(s)  "));
    // A search of one folder leaves its last count in panel 2.
    EXPECT_EQ(window->PanelText(2), QStringLiteral("1 files were found."));

    // Reopened, it shows its last entries; now with subfolders.
    Show([this](AddFolderDialog* dialog) {
        EXPECT_EQ(dialog->sourcePathBox()->text(), PathOf("src"));
        EXPECT_TRUE(dialog->okButton()->isEnabled());
        dialog->subfoldersBox()->setChecked(true);
        dialog->okButton()->click();
    });
    EXPECT_THAT(Sources(), ElementsAre(PathOf("src/a.doc"), PathOf("src/sub/d.doc")));
    EXPECT_EQ(window->PanelText(3), QStringLiteral("Total 2 Files"));
    EXPECT_EQ(window->PanelText(2), QString());
}

TEST_F(AddFolderDialogTest, ThePatternListIsSearchedPartByPart) {
    Show([this](AddFolderDialog* dialog) {
        dialog->sourcePathBox()->setText(PathOf("src"));
        dialog->patternBox()->setCurrentIndex(3);
        dialog->okButton()->click();
    });
    EXPECT_THAT(Sources(),
                ElementsAre(PathOf("src/a.doc"), PathOf("src/b.rtf"), PathOf("src/c.xml")));
}

TEST_F(AddFolderDialogTest, TheOutputChoiceBecomesTheWindowsOutputFolder) {
    // Custom with its path emptied by hand: beside the sources.
    seam.folderAnswers.push_back(PathOf("chosen"));
    Show([this](AddFolderDialog* dialog) {
        dialog->sourcePathBox()->setText(PathOf("src"));
        dialog->outputFolderBox()->choiceButton(1)->click();
        EXPECT_EQ(dialog->outputFolderBox()->pathBox()->text(), PathOf("chosen"));
        dialog->outputFolderBox()->pathBox()->clear();
        dialog->okButton()->click();
    });
    EXPECT_EQ(window->OutputDir(), QString());
    EXPECT_EQ(List().Row(1)->Target(), PathOf("src/a.html"));

    window->SetOutputDir(QStringLiteral("something else"));
    List().RemoveAllRows();
    seam.folderAnswers.push_back(PathOf("pages"));
    Show([](AddFolderDialog* dialog) {
        // The choice of the last use is kept; a fresh choice opens the picker.
        EXPECT_TRUE(dialog->outputFolderBox()->choiceButton(1)->isChecked());
        dialog->outputFolderBox()->choiceButton(0)->click();
        dialog->outputFolderBox()->choiceButton(1)->click();
        dialog->okButton()->click();
    });
    EXPECT_EQ(window->OutputDir(), PathOf("pages"));
    EXPECT_EQ(List().Row(1)->Target(), PathOf("pages/a.html"));
}

TEST_F(AddFolderDialogTest, CancelStopsTheSearchAndKeepsWhatWasFound) {
    // Enough files that the search is still running at the second click: with fifty,
    // a busy machine often let it end between the two clicks.
    constexpr int kFiles = 600;
    for (int i = 0; i < kFiles; ++i) {
        WriteDocument(dir / ("many/f" + std::to_string(10000 + i) + ".doc"));
    }
    bool searching = false;
    Show([&](AddFolderDialog* dialog) {
        dialog->sourcePathBox()->setText(PathOf("many"));
        dialog->okButton()->click();
        // The search runs beside the dialog; Cancel stops it at its next step and
        // the dialog closes once it has.
        searching = dialog->Searching();
        dialog->cancelButton()->click();
    });
    EXPECT_TRUE(searching);
    EXPECT_FALSE(SharedSearch().running);
    EXPECT_FALSE(window->addFolderDialog()->Searching());
    ASSERT_GE(List().RowCount(), 1);
    EXPECT_LT(List().RowCount(), kFiles);
    // What was found is the start of the folder, in name order.
    for (int i = 1; i <= List().RowCount(); ++i) {
        EXPECT_EQ(List().Row(i)->Source(), PathOf("many/f" + std::to_string(9999 + i) + ".doc"));
    }
}

} // namespace
} // namespace pelmora::test
