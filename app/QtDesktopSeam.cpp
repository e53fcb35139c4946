#include "app/QtDesktopSeam.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QUrl>

namespace pelmora {

QMessageBox::StandardButton QtDesktopSeam::ShowMessage(QWidget* owner, const QString& text,
                                                       const QString& title, QMessageBox::Icon icon,
                                                       QMessageBox::StandardButtons buttons,
                                                       QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, title, text, buttons, owner);
    if (defaultButton != QMessageBox::NoButton) {
        box.setDefaultButton(defaultButton);
    }
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QStringList QtDesktopSeam::ChooseOpenFiles(QWidget* owner, const QString& title,
                                           const QString& initialFolder, const QString& filter,
                                           bool multiSelect, bool fileMustExist) {
    QFileDialog dialog(owner, title, initialFolder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (multiSelect) {
        dialog.setFileMode(QFileDialog::ExistingFiles);
    } else {
        dialog.setFileMode(fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    }
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return dialog.selectedFiles();
}

QString QtDesktopSeam::ChooseFolder(QWidget* owner, const QString& title, bool resizable) {
    QFileDialog::Options options = QFileDialog::ShowDirsOnly;
    if (!resizable) {
        options |= QFileDialog::DontUseNativeDialog;
    }
    return QFileDialog::getExistingDirectory(owner, title, QString(), options);
}

void QtDesktopSeam::OpenWithDesktop(const QString& target) {
    // The working folder is irrelevant to a URL handler; an address with a scheme
    // is opened as it is, anything else is a local path.
    const QUrl url = QUrl::fromUserInput(target, QDir::rootPath(), QUrl::AssumeLocalFile);
    QDesktopServices::openUrl(url);
}

} // namespace pelmora
