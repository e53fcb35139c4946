#pragma once
// Adding tasks and choosing where their pages go: the output folder and password that
// new tasks take, the Add command's two dialogs, the Options dialog and the list's
// double click that edits the output folder of the highlighted tasks.

#include "app/OptionsDialog.h"

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace pelmora {

class DesktopSeam;
class TaskList;

/// What new tasks take, and the commands that add or edit them.
class TaskEditor {
public:
    /// Edits list; dialogs go through seam, owned by owner.
    TaskEditor(TaskList& list, DesktopSeam& seam, QWidget& owner);

    /// The output folder of the last confirmed dialog: empty for each source's own folder.
    const QString& OutputDir() const { return outputDir_; }
    void SetOutputDir(const QString& folder) { outputDir_ = folder; }
    /// The password typed in the Options dialog; copied into each task added later.
    const QString& Password() const { return password_; }
    void SetPassword(const QString& password) { password_ = password; }

    /// Adds the file path as a checked "Ready" task at the end of the list; false when it
    /// is missing, a folder, already listed, or cannot be added (which a message says).
    bool AddFile(const QString& path);
    /// Adds the plain readable files of paths not listed yet, all at once; returns how
    /// many were added.
    int AddFiles(const QStringList& paths);
    /// The Add command: open-file dialog, Options dialog, then the files; false when
    /// nothing was added.
    bool AddFilesFromDialog();
    /// Shows the Options dialog; true when confirmed. Listed tasks keep their targets.
    bool ShowOptionsDialog();
    /// Edits the output folder of the highlighted tasks, or opens the page of a converted
    /// one.
    void EditHighlightedOutput();

private:
    std::optional<OptionsDialog::Answer> ShowOptions(const QString& presetFolder, bool preset);

    TaskList& list_;
    DesktopSeam& seam_;
    QWidget& owner_;
    QString outputDir_;
    QString password_;
};

} // namespace pelmora
