#include "app/AddFolderDialog.h"

#include "app/DesktopDialogs.h"
#include "app/DesktopSeam.h"
#include "app/DialogButtons.h"
#include "app/FolderSearch.h"
#include "app/FolderTaskSink.h"
#include "controls/design/Twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace pelmora {

AddFolderDialog::AddFolderDialog(QWidget* owner, DesktopSeam& seam, FolderTaskSink& sink)
    : QDialog(owner), seam_(seam), sink_(sink) {
    setObjectName(QStringLiteral("frmAddFolder"));
    setWindowTitle(QStringLiteral("Add Sub-Folder"));
    if (owner != nullptr) {
        setWindowIcon(owner->windowIcon());
    }
    search_ = new FolderSearch(this);
    connect(search_, &FolderSearch::Status, this,
            [this](const QString& text) { sink_.ShowSearchStatus(text); });
    connect(search_, &FolderSearch::Finished, this, &AddFolderDialog::OnSearchFinished);

    auto* label1 = new QLabel(QStringLiteral("Source File Path:"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    sourcePathBox_ = new QLineEdit(this);
    sourcePathBox_->setObjectName(QStringLiteral("txtSourcePath"));
    sourceFolderButton_ = new QToolButton(this);
    sourceFolderButton_->setObjectName(QStringLiteral("cmdSourceDir"));
    sourceFolderButton_->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    sourceFolderButton_->setAutoRaise(true);
    auto* source = new QHBoxLayout;
    source->addWidget(sourcePathBox_);
    source->addWidget(sourceFolderButton_);

    auto* frame2 = new QGroupBox(QStringLiteral("Options"), this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    auto* label2 = new QLabel(QStringLiteral("Source File Format: "), frame2);
    label2->setObjectName(QStringLiteral("Label2"));
    patternBox_ = new QComboBox(frame2);
    patternBox_->setObjectName(QStringLiteral("cobType"));
    patternBox_->setEditable(true);
    patternBox_->setInsertPolicy(QComboBox::NoInsert);
    patternBox_->addItems({QStringLiteral("*.doc"), QStringLiteral("*.rtf"),
                           QStringLiteral("*.xml"), QStringLiteral("*.doc;*.rtf;*.xml")});
    patternBox_->setCurrentIndex(0);
    subfoldersBox_ = new QCheckBox(QStringLiteral("Include Sub-Folders"), frame2);
    subfoldersBox_->setObjectName(QStringLiteral("chkSubFolder"));
    auto* options = new QGridLayout(frame2);
    options->addWidget(label2, 0, 0);
    options->addWidget(patternBox_, 0, 1);
    options->addWidget(subfoldersBox_, 1, 0, 1, 2);
    options->setColumnStretch(1, 1);

    outputFolderBox_ = new OutputFolderBox(seam, this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label1);
    layout->addLayout(source);
    layout->addWidget(frame2);
    layout->addWidget(outputFolderBox_);
    AddOkCancelRow(
        layout, this, okButton_, cancelButton_, [this] { Confirm(); }, [this] { Cancel(); });
    setMinimumWidth(TwipsToPixelsX(6000, this));

    connect(sourceFolderButton_, &QToolButton::clicked, this, &AddFolderDialog::ChooseSourceFolder);
}

bool AddFolderDialog::event(QEvent* event) {
    if (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate) {
        okButton_->setEnabled(true);
    }
    return QDialog::event(event);
}

void AddFolderDialog::ChooseSourceFolder() {
    const QString path =
        BrowseForFolder(seam_, this, QStringLiteral("Select source folder:"), false);
    if (!path.isEmpty()) {
        sourcePathBox_->setText(path);
    }
}

void AddFolderDialog::Confirm() {
    const QString folder = sourcePathBox_->text();
    if (folder.isEmpty()) {
        seam_.ShowMessage(this, QStringLiteral("Source file path could not be empty!    "),
                          kApplicationTitle, QMessageBox::Information, QMessageBox::Ok,
                          QMessageBox::Ok);
        sourceFolderButton_->setFocus();
        return;
    }
    okButton_->setEnabled(false);
    // An emptied pattern box searches for the documents the box starts with.
    const QString pattern = patternBox_->currentText();
    search_->Start(folder, pattern.isEmpty() ? QStringLiteral("*.doc") : pattern,
                   subfoldersBox_->isChecked());
}

bool AddFolderDialog::Searching() const {
    return search_->Running();
}

void AddFolderDialog::OnSearchFinished(const QStringList& files) {
    sink_.AddFoundFiles(files, outputFolderBox_->OutputDir());
    hide();
}

void AddFolderDialog::Cancel() {
    // A search still running ends at its next step; what it found is then added.
    search_->Stop();
    if (!search_->Running()) {
        hide();
    }
}

void AddFolderDialog::reject() {
    search_->Stop();
    if (!search_->Running()) {
        QDialog::reject();
    }
}

} // namespace pelmora
