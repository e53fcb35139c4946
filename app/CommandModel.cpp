#include "app/CommandModel.h"

#include "controls/menu/MenuBar.h"
#include "controls/toolbar/ToolBar.h"

#include <QAction>
#include <QWidget>
#include <exception>

namespace pelmora {

CommandModel::CommandModel(QWidget& window, MenuBar& menu, ToolBar& toolbar)
    : QObject(&window), menu_(menu), toolbar_(toolbar) {
    for (const CommandSpec& spec : CommandSpecs()) {
        auto* action = new QAction(this);
        const QString menuName = MenuNameOf(spec.id);
        const MenuItem* item = menu.MenuTree().At(menu.MenuTree().FindName(menuName));
        action->setObjectName(menuName);
        action->setEnabled(item == nullptr || item->Enabled());
        if (bool* option = OptionOf(spec.id)) {
            action->setCheckable(true);
            *option = item != nullptr && item->Checked();
            action->setChecked(*option);
        }
        if (spec.shortcut != nullptr) {
            action->setShortcut(QKeySequence(QLatin1String(spec.shortcut)));
            action->setShortcutContext(Qt::WindowShortcut);
            window.addAction(action);
            connect(action, &QAction::triggered, this,
                    [this, id = spec.id] { emit ShortcutPressed(id); });
        }
        actions_[spec.id] = action;
    }
    // The toolbar's own design decides which of its buttons start disabled.
    try {
        actions_[CommandId::Stop]->setEnabled(
            toolbar.ButtonEnabled(ToolbarKeyOf(CommandId::Stop)) &&
            actions_[CommandId::Stop]->isEnabled());
    } catch (const std::exception&) {
    }
    Show(CommandId::Stop);
}

bool* CommandModel::OptionOf(CommandId id) {
    switch (id) {
    case CommandId::WriteLog:
        return &settings_.writeLog;
    case CommandId::KeepPictureFolder:
        return &settings_.keepPictureFolder;
    case CommandId::Overwrite:
        return &settings_.overwrite;
    case CommandId::Compress:
        return &settings_.compress;
    default:
        return nullptr;
    }
}

bool CommandModel::Enabled(CommandId id) const {
    return actions_.at(id)->isEnabled();
}

void CommandModel::SetEnabled(CommandId id, bool enabled) {
    actions_.at(id)->setEnabled(enabled);
    Show(id);
}

bool CommandModel::Checked(CommandId id) const {
    return actions_.at(id)->isChecked();
}

void CommandModel::SetChecked(CommandId id, bool checked) {
    bool* option = OptionOf(id);
    if (option == nullptr) {
        return;
    }
    *option = checked;
    actions_.at(id)->setChecked(checked);
    Show(id);
    emit SettingsChanged(settings_);
}

void CommandModel::Show(CommandId id) {
    const QAction* action = actions_.at(id);
    if (MenuItem* item = menu_.MenuTree().At(menu_.MenuTree().FindName(MenuNameOf(id)))) {
        item->SetEnabled(action->isEnabled());
        item->SetChecked(action->isChecked());
        menu_.Refresh();
    }
    const QString key = ToolbarKeyOf(id);
    if (!key.isEmpty()) {
        try {
            toolbar_.SetButtonEnabled(key, action->isEnabled());
        } catch (const std::exception&) {
            // A toolbar without that button has nothing to show.
        }
    }
}

} // namespace pelmora
