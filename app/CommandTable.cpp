#include "app/CommandTable.h"

#include <algorithm>
#include <array>

namespace pelmora {

namespace {

using C = CommandId;

// Alt+F4 closes every window already; Ctrl+Q is the desktop's quit.
constexpr std::array<CommandSpec, 25> kCommands{{
    {C::AddFiles, "mnuAddFile", "Add", "mnuAdd", "&Add", "Ctrl+O", false},
    {C::AddFolder, "mnuAddFolder", "folder", nullptr, nullptr, "Ctrl+Shift+O", false},
    {C::RemoveTasks, "mnuRemovefile", "Remove", "mnuRemove", "&Remove", nullptr, false},
    {C::ClearTasks, "mnuClear", nullptr, "mnuClearList", "&Clear List", nullptr, false},
    {C::ViewLog, "mnuViewLog", nullptr, nullptr, nullptr, nullptr, false},
    {C::ClearLog, "mnuclearlog", nullptr, nullptr, nullptr, nullptr, false},
    {C::Exit, "mnuExit", nullptr, nullptr, nullptr, "Ctrl+Q", true},
    {C::OutputFolder, "mnuOutput", nullptr, nullptr, nullptr, "Ctrl+,", false},
    {C::MoveUp, "mnuMoveup", nullptr, nullptr, nullptr, nullptr, false},
    {C::MoveDown, "mnuMoveDown", nullptr, nullptr, nullptr, nullptr, false},
    {C::SelectAll, "mnuSall", nullptr, "mnuSelectall", "&Select All", nullptr, false},
    {C::SelectNone, "mnuSnone", nullptr, "mnuSelectNone", "S&elect None", nullptr, false},
    {C::InvertChecks, "mnuInvert", nullptr, "mnuInvert", "&Invert Selection", nullptr, false},
    {C::Convert, "mnuConverter", "Extract", nullptr, nullptr, "F5", false},
    {C::Stop, "mnuStop", "stop", nullptr, nullptr, "Esc", true},
    {C::WriteLog, "mnuLogfile", nullptr, nullptr, nullptr, nullptr, false},
    {C::KeepPictureFolder, "mnuCreateDir", nullptr, nullptr, nullptr, nullptr, false},
    {C::Overwrite, "mnuOverwrite", nullptr, nullptr, nullptr, nullptr, false},
    {C::Compress, "mnuCompress", nullptr, nullptr, nullptr, nullptr, false},
    {C::HelpFile, "mnuHelpFile", "Help", nullptr, nullptr, "F1", false},
    {C::WebSite, "mnuWebsite", "home", nullptr, nullptr, nullptr, false},
    {C::Support, "mnuSupport", "email", nullptr, nullptr, nullptr, false},
    {C::About, "mnuAbout", nullptr, nullptr, nullptr, nullptr, false},
    {C::ResetLog, nullptr, nullptr, "mnuLog", "C&lear Logs", nullptr, false},
    {C::OutputFolderNow, nullptr, nullptr, "mnuOutputDir", "Output &Directory...", nullptr, false},
}};

std::optional<CommandId> Find(const QString& text, const char* CommandSpec::*field) {
    for (const CommandSpec& spec : kCommands) {
        if (spec.*field != nullptr &&
            text.compare(QLatin1String(spec.*field), Qt::CaseInsensitive) == 0) {
            return spec.id;
        }
    }
    return std::nullopt;
}

} // namespace

std::span<const CommandSpec> CommandSpecs() {
    return kCommands;
}

const CommandSpec& SpecOf(CommandId id) {
    return *std::find_if(kCommands.begin(), kCommands.end(),
                         [id](const CommandSpec& spec) { return spec.id == id; });
}

std::optional<CommandId> CommandOfMenuName(const QString& name) {
    return Find(name, &CommandSpec::menuName);
}

std::optional<CommandId> CommandOfToolbarKey(const QString& key) {
    return Find(key, &CommandSpec::toolbarKey);
}

QString MenuNameOf(CommandId id) {
    const char* name = SpecOf(id).menuName;
    return name != nullptr ? QLatin1String(name) : QString();
}

QString ToolbarKeyOf(CommandId id) {
    const char* key = SpecOf(id).toolbarKey;
    return key != nullptr ? QLatin1String(key) : QString();
}

} // namespace pelmora
