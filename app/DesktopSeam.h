#pragma once
// Everything the window asks of the desktop that a test cannot click: message boxes,
// the open-file dialog, the folder picker and opening a path or address. The window
// and its dialogs reach the desktop only through this interface.

#include <QMessageBox>
#include <QString>
#include <QStringList>

class QWidget;

namespace pelmora {

/// The replaceable desktop services of the window and its dialogs.
class DesktopSeam {
public:
    virtual ~DesktopSeam() = default;

    /// Shows a modal message box owned by owner; returns the button the user chose.
    virtual QMessageBox::StandardButton ShowMessage(QWidget* owner, const QString& text,
                                                    const QString& title, QMessageBox::Icon icon,
                                                    QMessageBox::StandardButtons buttons,
                                                    QMessageBox::StandardButton defaultButton) = 0;

    /// Shows the open-file dialog; returns the full paths chosen, empty when cancelled.
    /// filter is in Qt's form ("Description (*.a *.b);;All Files (*)").
    virtual QStringList ChooseOpenFiles(QWidget* owner, const QString& title,
                                        const QString& initialFolder, const QString& filter,
                                        bool multiSelect, bool fileMustExist) = 0;

    /// Shows the folder picker; returns the chosen folder, empty when cancelled.
    /// resizable asks for the larger, resizable picker.
    virtual QString ChooseFolder(QWidget* owner, const QString& title, bool resizable) = 0;

    /// Opens a file path or an address (web, mailto:) with the desktop's handler.
    virtual void OpenWithDesktop(const QString& target) = 0;
};

} // namespace pelmora
