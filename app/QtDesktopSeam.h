#pragma once
// The desktop services of the running program: Qt's message boxes and file dialogs
// and the desktop's URL handler.

#include "app/DesktopSeam.h"

namespace pelmora {

/// DesktopSeam on the real desktop.
class QtDesktopSeam : public DesktopSeam {
public:
    QMessageBox::StandardButton ShowMessage(QWidget* owner, const QString& text,
                                            const QString& title, QMessageBox::Icon icon,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton) override;
    QStringList ChooseOpenFiles(QWidget* owner, const QString& title, const QString& initialFolder,
                                const QString& filter, bool multiSelect,
                                bool fileMustExist) override;
    QString ChooseFolder(QWidget* owner, const QString& title, bool resizable) override;
    void OpenWithDesktop(const QString& target) override;
};

} // namespace pelmora
