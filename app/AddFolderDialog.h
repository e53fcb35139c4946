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

class DesktopSeam;
class FolderSearch;
class FolderTaskSink;

/// The "Add Sub-Folder" dialog of the main window.
class AddFolderDialog : public QDialog {
    Q_OBJECT
public:
    /// Builds the dialog owned by owner; the files found go to sink.
    AddFolderDialog(QWidget* owner, DesktopSeam& seam, FolderTaskSink& sink);

    /// The source folder's path box.
    QLineEdit* sourcePathBox() const { return sourcePathBox_; }
    /// The button that opens the folder picker for the source folder.
    QToolButton* sourceFolderButton() const { return sourceFolderButton_; }
    /// The file pattern box ("*.doc", ...).
    QComboBox* patternBox() const { return patternBox_; }
    /// "Include Sub-Folders".
    QCheckBox* subfoldersBox() const { return subfoldersBox_; }
    /// The output folder frame with its choice, path box and browse button.
    OutputFolderBox* outputFolderBox() const { return outputFolderBox_; }
    /// The OK button.
    QPushButton* okButton() const { return okButton_; }
    /// The Cancel button.
    QPushButton* cancelButton() const { return cancelButton_; }

    /// Asks for the source folder.
    void ChooseSourceFolder();
    /// Starts the search; once it is over, sets the output folder, adds the files found
    /// and hides the dialog.
    void Confirm();
    /// Stops a running search (the files found so far are still added) and hides the
    /// dialog.
    void Cancel();
    /// True while a search of the dialog runs.
    bool Searching() const;

    /// Closing by the window frame is Cancel.
    void reject() override;

protected:
    bool event(QEvent* event) override;

private:
    void OnSearchFinished(const QStringList& files);

    DesktopSeam& seam_;
    FolderTaskSink& sink_;
    FolderSearch* search_ = nullptr;
    QLineEdit* sourcePathBox_ = nullptr;
    QToolButton* sourceFolderButton_ = nullptr;
    QComboBox* patternBox_ = nullptr;
    QCheckBox* subfoldersBox_ = nullptr;
    OutputFolderBox* outputFolderBox_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

} // namespace pelmora
