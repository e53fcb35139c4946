#pragma once
// The live commands of the main window: one action per command with its enabled
// state, its check mark and its shortcut, shown by both the menu bar and the toolbar.
// The four option commands are the window's ConversionSettings.

#include "app/CommandTable.h"
#include "app/ConversionSettings.h"

#include <QObject>
#include <map>

class QAction;
class QWidget;

namespace pelmora {

class MenuBar;
class ToolBar;

/// The commands, their states and the views that show them.
class CommandModel : public QObject {
    Q_OBJECT
public:
    /// Takes the start-up states from the stored designs of menu and toolbar, which then
    /// show every change; the shortcuts work anywhere in window.
    CommandModel(QWidget& window, MenuBar& menu, ToolBar& toolbar);

    /// Whether the command can be chosen now.
    bool Enabled(CommandId id) const;
    /// Lets the command be chosen or not; the menu item and the button follow.
    void SetEnabled(CommandId id, bool enabled);
    /// The check mark of an option command.
    bool Checked(CommandId id) const;
    /// Sets the check mark of an option command and the option with it.
    void SetChecked(CommandId id, bool checked);
    /// The options as the check marks show them.
    const ConversionSettings& Settings() const { return settings_; }

    /// The action of a command (its shortcut, state and text).
    QAction* Action(CommandId id) const { return actions_.at(id); }

signals:
    /// The shortcut of a command was pressed.
    void ShortcutPressed(pelmora::CommandId id);
    /// An option's check mark changed.
    void SettingsChanged(const pelmora::ConversionSettings& settings);

private:
    bool* OptionOf(CommandId id);
    void Show(CommandId id);

    MenuBar& menu_;
    ToolBar& toolbar_;
    ConversionSettings settings_;
    std::map<CommandId, QAction*> actions_;
};

} // namespace pelmora
