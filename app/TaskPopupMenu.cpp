#include "app/TaskPopupMenu.h"

#include <algorithm>

namespace pelmora {

TaskPopupMenu::TaskPopupMenu(QWidget* parent) : QMenu(parent) {
    setObjectName(QLatin1String(kPopupMenuName));
    // The groups of the menu end after these items.
    const CommandId groupEnds[] = {CommandId::RemoveTasks, CommandId::ClearTasks,
                                   CommandId::SelectNone, CommandId::InvertChecks,
                                   CommandId::ResetLog};
    for (const CommandSpec& spec : CommandSpecs()) {
        if (spec.popupName == nullptr) {
            continue;
        }
        QAction* action = addAction(QString::fromLatin1(spec.popupCaption));
        action->setObjectName(QLatin1String(spec.popupName));
        connect(action, &QAction::triggered, this, [this, id = spec.id] { emit Chosen(id); });
        if (spec.id == CommandId::RemoveTasks || spec.id == CommandId::OutputFolderNow) {
            rowItems_.push_back(action);
        }
        if (std::find(std::begin(groupEnds), std::end(groupEnds), spec.id) != std::end(groupEnds)) {
            addSeparator();
        }
    }
}

void TaskPopupMenu::ShowAt(const QPoint& globalPosition, bool overRow) {
    for (QAction* action : rowItems_) {
        action->setEnabled(overRow);
    }
    popup(globalPosition);
}

} // namespace pelmora
