#pragma once
// The Add Folder dialog: adds every matching document of a folder (optionally with
// its subfolders) to the main window's task list and chooses where their pages go.
// It is kept between uses, so it shows the entries of its last use.

#include "app/OutputFolderBox.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace pelmora {

class MainWindow;

/// The "Add Sub-Folder" dialog of the main window.
class AddFolderDialog : public QDialog {
    Q_OBJECT
public:
    explicit AddFolderDialog(MainWindow& main);

    QLineEdit* txtSourcePath() const { return m_txtSourcePath; }
    QToolButton* cmdSourceDir() const { return m_cmdSourceDir; }
    QComboBox* cobType() const { return m_cobType; }
    QCheckBox* chkSubFolder() const { return m_chkSubFolder; }
    /// The output folder frame with its choice, path box and browse button.
    OutputFolderBox* Frame1() const { return m_frame1; }
    QPushButton* cmdOK() const { return m_cmdOK; }
    QPushButton* cmdCancel() const { return m_cmdCancel; }

    /// Asks for the source folder.
    void cmdSourceDir_Click();
    /// Searches, sets the output folder, adds the files found and hides the dialog.
    void cmdOK_Click();
    /// Stops a running search and hides the dialog; files found so far are added.
    void cmdCancel_Click();

    /// Closing by the window frame is Cancel.
    void reject() override;

protected:
    bool event(QEvent* event) override;

private:
    MainWindow& m_main;
    QLineEdit* m_txtSourcePath = nullptr;
    QToolButton* m_cmdSourceDir = nullptr;
    QComboBox* m_cobType = nullptr;
    QCheckBox* m_chkSubFolder = nullptr;
    OutputFolderBox* m_frame1 = nullptr;
    QPushButton* m_cmdOK = nullptr;
    QPushButton* m_cmdCancel = nullptr;
};

} // namespace pelmora
