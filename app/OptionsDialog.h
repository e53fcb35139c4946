#pragma once
// The Options dialog: where the pages of newly added files go and which password
// opens protected documents. It is made for one use; its answer exists only when
// the user confirmed it.

#include "app/OutputFolderBox.h"

#include <QDialog>
#include <optional>

class QLineEdit;
class QPushButton;

namespace pelmora {

class DesktopSeam;

/// The "Output Directory" dialog.
class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    /// What a confirmed dialog answers.
    struct Answer {
        /// The folder the pages go to; empty for each source's own folder.
        QString outputDir;
        /// The password that opens protected documents; empty for none.
        QString password;
    };

    /// owner gives the dialog its icon.
    OptionsDialog(QWidget* owner, DesktopSeam& seam);

    /// Shows the dialog modally; the answer when confirmed, nothing when cancelled.
    std::optional<Answer> Ask();
    /// The answer of the last confirmation, nothing before one.
    const std::optional<Answer>& answer() const { return answer_; }

    /// The output folder frame with its choice, path box and browse button.
    OutputFolderBox* outputFolderBox() const { return outputFolderBox_; }
    /// The password box.
    QLineEdit* passwordBox() const { return passwordBox_; }
    /// The OK button.
    QPushButton* okButton() const { return okButton_; }
    /// The Cancel button.
    QPushButton* cancelButton() const { return cancelButton_; }

private:
    void Confirm();

    std::optional<Answer> answer_;
    OutputFolderBox* outputFolderBox_ = nullptr;
    QLineEdit* passwordBox_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

} // namespace pelmora
