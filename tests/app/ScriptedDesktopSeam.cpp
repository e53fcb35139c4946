#include "tests/app/ScriptedDesktopSeam.h"

namespace pelmora {

QMessageBox::StandardButton
ScriptedDesktopSeam::ShowMessage(QWidget* owner, const QString& text, const QString& title,
                                 QMessageBox::Icon icon, QMessageBox::StandardButtons buttons,
                                 QMessageBox::StandardButton defaultButton) {
    Message message{owner, text, title, icon, buttons, defaultButton};
    messages.push_back(message);
    if (onMessage) {
        onMessage(message);
    }
    if (!messageAnswers.empty()) {
        const QMessageBox::StandardButton answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }
    return defaultButton != QMessageBox::NoButton ? defaultButton : QMessageBox::Ok;
}

QStringList ScriptedDesktopSeam::ChooseOpenFiles(QWidget*, const QString& title,
                                                 const QString& initialFolder,
                                                 const QString& filter, bool multiSelect,
                                                 bool fileMustExist) {
    openFilesRequests.push_back({title, initialFolder, filter, multiSelect, fileMustExist});
    if (openFilesAnswers.empty()) {
        return {};
    }
    QStringList answer = openFilesAnswers.front();
    openFilesAnswers.pop_front();
    return answer;
}

QString ScriptedDesktopSeam::ChooseFolder(QWidget*, const QString& title, bool resizable) {
    folderRequests.push_back({title, resizable});
    if (folderAnswers.empty()) {
        return {};
    }
    QString answer = folderAnswers.front();
    folderAnswers.pop_front();
    return answer;
}

void ScriptedDesktopSeam::OpenWithDesktop(const QString& target) {
    opened.push_back(target);
}

} // namespace pelmora
