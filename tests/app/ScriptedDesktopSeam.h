#pragma once
// A desktop that answers from a script and records what was asked, so tests can
// drive every dialog call of the window without a user.

#include "app/DesktopSeam.h"

#include <QPointer>
#include <deque>
#include <functional>
#include <vector>

namespace pelmora {

/// DesktopSeam answering from queues; every call is recorded.
class ScriptedDesktopSeam : public DesktopSeam {
public:
    /// One message box that was shown.
    struct Message {
        QPointer<QWidget> owner;
        QString text;
        QString title;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    };
    /// One open-file dialog that was shown.
    struct OpenFilesRequest {
        QString title;
        QString initialFolder;
        QString filter;
        bool multiSelect = false;
        bool fileMustExist = false;
    };
    /// One folder picker that was shown.
    struct FolderRequest {
        QString title;
        bool resizable = false;
    };

    /// Answers of the next message boxes; when empty, the box's default button (Ok
    /// when it has none).
    std::deque<QMessageBox::StandardButton> messageAnswers;
    /// Answers of the next open-file dialogs; when empty, the dialog is cancelled.
    std::deque<QStringList> openFilesAnswers;
    /// Answers of the next folder pickers; when empty, the picker is cancelled.
    std::deque<QString> folderAnswers;
    /// Runs while a message box is "open", before its answer is taken.
    std::function<void(const Message&)> onMessage;

    std::vector<Message> messages;
    std::vector<OpenFilesRequest> openFilesRequests;
    std::vector<FolderRequest> folderRequests;
    /// Every target handed to the desktop, in order.
    QStringList opened;

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
