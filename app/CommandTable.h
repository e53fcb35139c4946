#pragma once
// The window's commands, each named once: its menu bar item, its toolbar button, its
// item in the task list's popup menu and its shortcut. The stored designs of the menu
// bar and the toolbar keep these keys as data; this table is the only place in the
// code that spells them.

#include <QKeySequence>
#include <QString>
#include <optional>
#include <span>

namespace pelmora {

/// Every command of the main window.
enum class CommandId {
    AddFiles,
    AddFolder,
    RemoveTasks,
    ClearTasks,
    ViewLog,
    ClearLog,
    Exit,
    OutputFolder,
    MoveUp,
    MoveDown,
    SelectAll,
    SelectNone,
    InvertChecks,
    Convert,
    Stop,
    WriteLog,
    KeepPictureFolder,
    Overwrite,
    Compress,
    HelpFile,
    WebSite,
    Support,
    About,
    // Items of the task list's popup menu only: they act at once, without deferral.
    ResetLog,
    OutputFolderNow,
};

/// The object name of the task list's popup menu, whose items the table names too.
inline constexpr char kPopupMenuName[] = "mnuPopup";

/// One row of the table.
struct CommandSpec {
    CommandId id;
    const char* menuName;     ///< the menu bar item's Name; nullptr: not in the menu bar
    const char* toolbarKey;   ///< the toolbar button's Key; nullptr: not on the toolbar
    const char* popupName;    ///< the popup menu item's object name; nullptr: not there
    const char* popupCaption; ///< its caption with its "&" letter
    const char* shortcut;     ///< a portable key sequence; nullptr: none
    bool takenDuringRun;      ///< accepted while a run is going
};

/// The whole table, in the order of the menu bar.
std::span<const CommandSpec> CommandSpecs();
/// The row of id.
const CommandSpec& SpecOf(CommandId id);
/// The command of a menu item's Name, compared without regard to case.
std::optional<CommandId> CommandOfMenuName(const QString& name);
/// The command of a toolbar button's Key, compared without regard to case.
std::optional<CommandId> CommandOfToolbarKey(const QString& key);
/// The menu bar item's Name of id; empty when it has none.
QString MenuNameOf(CommandId id);
/// The toolbar button's Key of id; empty when it has none.
QString ToolbarKeyOf(CommandId id);

} // namespace pelmora
