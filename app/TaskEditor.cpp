#include "app/TaskEditor.h"

#include "app/DesktopDialogs.h"
#include "app/DesktopSeam.h"
#include "app/NewTasks.h"
#include "app/TaskList.h"
#include "engine/PathHelpers.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QSet>
#include <exception>

namespace pelmora {

TaskEditor::TaskEditor(TaskList& list, DesktopSeam& seam, QWidget& owner)
    : list_(list), seam_(seam), owner_(owner) {}

bool TaskEditor::AddFile(const QString& source) {
    try {
        if (list_.Contains(source)) {
            return false;
        }
        const std::optional<Task> task = MakeTask(source, outputDir_, password_);
        if (task) {
            list_.AppendRow(*task);
        }
        return task.has_value();
    } catch (const std::exception& error) {
        seam_.ShowMessage(&owner_, QString::fromLocal8Bit(error.what()),
                          QStringLiteral("Function: Addfiles"), QMessageBox::Critical,
                          QMessageBox::Ok, QMessageBox::Ok);
        return false;
    }
}

int TaskEditor::AddFiles(const QStringList& paths) {
    QList<Task> tasks;
    QSet<QString> taken;
    for (const QString& path : paths) {
        const QString key = path.toCaseFolded();
        if (!IsPlainReadableFile(path) || list_.Contains(path) || taken.contains(key)) {
            continue;
        }
        try {
            if (std::optional<Task> task = MakeTask(path, outputDir_, password_)) {
                tasks.push_back(std::move(*task));
                taken.insert(key);
            }
        } catch (const std::exception&) {
            // A file whose details cannot be read is skipped, as an unreadable one is.
        }
    }
    list_.AppendRows(tasks);
    return static_cast<int>(tasks.size());
}

bool TaskEditor::AddFilesFromDialog() {
    const QStringList files = ChooseFiles(seam_, &owner_, QString(),
                                          QStringLiteral("Microsoft Word Documents(*.doc;rtf;xml)|"
                                                         "*.doc;*.rtf;*.xml|All Files (*.*)|*.*"),
                                          true, true);
    if (files.isEmpty() || !ShowOptions(QString(), false)) {
        return false;
    }
    for (const QString& file : files) {
        // A file that cannot be added ends the whole command.
        if (!AddFile(file)) {
            return false;
        }
    }
    list_.setFocus();
    return true;
}

std::optional<OptionsDialog::Answer> TaskEditor::ShowOptions(const QString& presetFolder,
                                                             bool preset) {
    OptionsDialog dialog(&owner_, seam_);
    if (preset) {
        dialog.outputFolderBox()->choiceButton(1)->setChecked(true);
        dialog.outputFolderBox()->pathBox()->setText(presetFolder);
    }
    std::optional<OptionsDialog::Answer> answer = dialog.Ask();
    if (answer) {
        outputDir_ = answer->outputDir;
        password_ = answer->password;
    }
    return answer;
}

bool TaskEditor::ShowOptionsDialog() {
    return ShowOptions(QString(), false).has_value();
}

void TaskEditor::EditHighlightedOutput() {
    const QList<TaskRow*> highlighted = list_.Highlighted();
    TaskRow* current = list_.CurrentRow();
    const TaskRow* first = highlighted.isEmpty() ? current : highlighted.front();
    if (first == nullptr) {
        return;
    }
    const QString source = first->Source();
    const QString target = first->Target();
    std::optional<OptionsDialog::Answer> answer;
    if (highlighted.size() < 2) {
        if (current != nullptr && current->Icon() == IconConverted) {
            seam_.OpenWithDesktop(target);
            return;
        }
        const QString sourceFolder =
            source.left(source.lastIndexOf(QLatin1Char(kPathSeparator)) + 1);
        const bool elsewhere = !target.contains(sourceFolder, Qt::CaseSensitive);
        answer =
            ShowOptions(elsewhere ? target.left(target.lastIndexOf(QLatin1Char(kPathSeparator)) + 1)
                                  : QString(),
                        elsewhere);
    } else {
        answer = ShowOptions(QString(), false);
    }
    if (!answer) {
        return;
    }
    for (TaskRow* row : highlighted) {
        // A row removed while the dialog was open is no longer in the list.
        if (list_.PositionOf(row) != 0) {
            row->SetTarget(TaskPagePath(row->Source(), outputDir_));
        }
    }
}

} // namespace pelmora
