#include "app/AddFolderDialog.h"

#include "app/DesktopSeam.h"
#include "engine/FileSearch.h"
#include "app/WindowHelpers.h"
#include "app/MainWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
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

AddFolderDialog::AddFolderDialog(MainWindow& main) : QDialog(&main), m_main(main) {
    setObjectName(QStringLiteral("frmAddFolder"));
    setWindowTitle(QStringLiteral("Add Sub-Folder"));
    setWindowIcon(main.windowIcon());

    auto* label1 = new QLabel(QStringLiteral("Source File Path:"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    m_txtSourcePath = new QLineEdit(this);
    m_txtSourcePath->setObjectName(QStringLiteral("txtSourcePath"));
    m_cmdSourceDir = new QToolButton(this);
    m_cmdSourceDir->setObjectName(QStringLiteral("cmdSourceDir"));
    m_cmdSourceDir->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    m_cmdSourceDir->setAutoRaise(true);
    auto* source = new QHBoxLayout;
    source->addWidget(m_txtSourcePath);
    source->addWidget(m_cmdSourceDir);

    auto* frame2 = new QGroupBox(QStringLiteral("Options"), this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    auto* label2 = new QLabel(QStringLiteral("Source File Format: "), frame2);
    label2->setObjectName(QStringLiteral("Label2"));
    m_cobType = new QComboBox(frame2);
    m_cobType->setObjectName(QStringLiteral("cobType"));
    m_cobType->setEditable(true);
    m_cobType->setInsertPolicy(QComboBox::NoInsert);
    m_cobType->addItems({QStringLiteral("*.doc"), QStringLiteral("*.rtf"), QStringLiteral("*.xml"),
                         QStringLiteral("*.doc;*.rtf;*.xml")});
    m_cobType->setCurrentIndex(0);
    m_chkSubFolder = new QCheckBox(QStringLiteral("Include Sub-Folders"), frame2);
    m_chkSubFolder->setObjectName(QStringLiteral("chkSubFolder"));
    auto* options = new QGridLayout(frame2);
    options->addWidget(label2, 0, 0);
    options->addWidget(m_cobType, 0, 1);
    options->addWidget(m_chkSubFolder, 1, 0, 1, 2);
    options->setColumnStretch(1, 1);

    m_frame1 = new OutputFolderBox(main.Seam(), this);

    QHBoxLayout* buttons = MakeOkCancelRow(this, m_cmdOK, m_cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label1);
    layout->addLayout(source);
    layout->addWidget(frame2);
    layout->addWidget(m_frame1);
    layout->addLayout(buttons);
    setMinimumWidth(TwipsToPixels(6000, this));

    connect(m_cmdSourceDir, &QToolButton::clicked, this, &AddFolderDialog::cmdSourceDir_Click);
    connect(m_cmdOK, &QPushButton::clicked, this, &AddFolderDialog::cmdOK_Click);
    connect(m_cmdCancel, &QPushButton::clicked, this, &AddFolderDialog::cmdCancel_Click);
}

bool AddFolderDialog::event(QEvent* event) {
    if (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate) {
        m_cmdOK->setEnabled(true);
    }
    return QDialog::event(event);
}

void AddFolderDialog::cmdSourceDir_Click() {
    const QString path =
        BrowseForFolder(m_main.Seam(), this, QStringLiteral("Select source folder:"), 0);
    if (!path.isEmpty()) {
        m_txtSourcePath->setText(path);
    }
}

void AddFolderDialog::cmdOK_Click() {
    const QString folder = m_txtSourcePath->text();
    if (folder.isEmpty()) {
        m_main.Seam().ShowMessage(this, QStringLiteral("Source file path could not be empty!    "),
                                  kApplicationTitle, QMessageBox::Information, QMessageBox::Ok,
                                  QMessageBox::Ok);
        m_cmdSourceDir->setFocus();
        return;
    }
    m_cmdOK->setEnabled(false);

    SearchState& search = SharedSearch();
    // An emptied pattern box searches for the documents the box starts with.
    const QString pattern = m_cobType->currentText();
    search.yield_ = [] { QCoreApplication::processEvents(QEventLoop::AllEvents); };
    search.statusText_ = [this](const std::string& text) {
        m_main.SetPanelText(2, QString::fromStdString(text));
    };
    const std::vector<std::string> found = FindFiles(
        folder.toStdString(), pattern.isEmpty() ? std::string("*.doc") : pattern.toStdString(),
        m_chkSubFolder->isChecked(), true);
    search.yield_ = nullptr;
    search.statusText_ = nullptr;

    m_main.sOutputDir = m_frame1->OutputDir();
    for (const std::string& path : found) {
        m_main.AddFiles(QString::fromStdString(path));
    }
    m_main.ChangeFilesState();
    hide();
}

void AddFolderDialog::cmdCancel_Click() {
    StopSearch();
    hide();
}

void AddFolderDialog::reject() {
    StopSearch();
    QDialog::reject();
}

} // namespace pelmora
