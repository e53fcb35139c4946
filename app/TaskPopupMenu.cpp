#include "app/TaskPopupMenu.h"

namespace pelmora {

TaskPopupMenu::TaskPopupMenu(QWidget* parent) : QMenu(parent) {
    setObjectName(QStringLiteral("mnuPopup"));
    auto item = [this](const char* name, const QString& caption) {
        QAction* action = addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    auto command = [this, &item](const char* name, const QString& caption, const QString& key) {
        QAction* action = item(name, caption);
        connect(action, &QAction::triggered, this, [this, key] { emit CommandChosen(key); });
        return action;
    };
    command("mnuAdd", QStringLiteral("&Add"), QStringLiteral("mnuaddfile"));
    remove_ = command("mnuRemove", QStringLiteral("&Remove"), QStringLiteral("mnuRemoveFile"));
    addSeparator();
    command("mnuClearList", QStringLiteral("&Clear List"), QStringLiteral("mnuclear"));
    addSeparator();
    command("mnuSelectall", QStringLiteral("&Select All"), QStringLiteral("mnusall"));
    command("mnuSelectNone", QStringLiteral("S&elect None"), QStringLiteral("mnusnone"));
    addSeparator();
    command("mnuInvert", QStringLiteral("&Invert Selection"), QStringLiteral("mnuinvert"));
    addSeparator();
    connect(item("mnuLog", QStringLiteral("C&lear Logs")), &QAction::triggered, this,
            &TaskPopupMenu::ClearLogsChosen);
    addSeparator();
    outputDir_ = item("mnuOutputDir", QStringLiteral("Output &Directory..."));
    connect(outputDir_, &QAction::triggered, this, &TaskPopupMenu::OutputDirectoryChosen);
}

void TaskPopupMenu::ShowAt(const QPoint& globalPosition, bool overRow) {
    remove_->setEnabled(overRow);
    outputDir_->setEnabled(overRow);
    popup(globalPosition);
}

} // namespace pelmora
