#include "app/CommandDispatcher.h"

#include "app/AboutDialog.h"
#include "app/CommandModel.h"
#include "app/DesktopDialogs.h"
#include "app/DesktopSeam.h"
#include "app/ProductAddresses.h"
#include "app/WindowCommands.h"
#include "app/WindowHelpers.h"
#include "engine/PathHelpers.h"

#include <QApplication>
#include <exception>

namespace pelmora {

namespace {

// A failing command is skipped, as every step of the dispatch is; nothing is reported.
template <typename Step> void Skipping(Step&& step) {
    try {
        step();
    } catch (const std::exception&) {
    } catch (...) {
    }
}

bool TakenDuringRun(std::optional<CommandId> id) {
    return id && SpecOf(*id).takenDuringRun;
}

} // namespace

CommandDispatcher::CommandDispatcher(WindowCommands& target, CommandModel& model, DesktopSeam& seam,
                                     QWidget& owner)
    : QObject(&owner), target_(target), model_(model), seam_(seam), owner_(owner) {
    for (QTimer* timer : {&toolbarTimer_, &menuTimer_}) {
        timer->setSingleShot(true);
        timer->setInterval(kDeferMs);
    }
    connect(&toolbarTimer_, &QTimer::timeout, this,
            [this] { OnTimer(toolbarTimer_, toolbarKey_, true); });
    connect(&menuTimer_, &QTimer::timeout, this, [this] { OnTimer(menuTimer_, menuKey_, false); });
    toolbarTimer_.start();
    connect(&model, &CommandModel::ShortcutPressed, this, &CommandDispatcher::Choose);
}

void CommandDispatcher::Shutdown() {
    toolbarTimer_.stop();
    menuTimer_.stop();
}

bool CommandDispatcher::ConfirmStop() {
    return seam_.ShowMessage(&owner_, kStopQuestion, kApplicationTitle, QMessageBox::Question,
                             QMessageBox::Ok | QMessageBox::Cancel,
                             QMessageBox::Ok) == QMessageBox::Ok;
}

void CommandDispatcher::ButtonClick(int16_t /*buttonIndex*/, const QString& key) {
    Skipping([&] {
        const QString lower = key.toLower();
        if (target_.Converting()) {
            if (CommandOfToolbarKey(lower) == CommandId::Stop && ConfirmStop()) {
                target_.StopConversion();
            }
            return;
        }
        toolbarKey_ = lower;
        toolbarTimer_.start();
    });
}

void CommandDispatcher::ItemClick(const QString& name) {
    Skipping([&] {
        const QString lower = name.toLower();
        const std::optional<CommandId> id = CommandOfMenuName(lower);
        if (target_.Converting()) {
            // Exit is taken too: it asks, as the frame's close button does.
            if (!TakenDuringRun(id) || (id == CommandId::Stop && !ConfirmStop())) {
                return;
            }
        }
        menuKey_ = lower;
        menuTimer_.start();
    });
}

void CommandDispatcher::Choose(CommandId id) {
    const QString menuName = MenuNameOf(id);
    if (!menuName.isEmpty()) {
        ItemClick(menuName);
    } else if (!target_.Converting()) {
        Skipping([&] { Run(id); });
    }
}

void CommandDispatcher::OnTimer(QTimer& timer, const QString& key, bool fromToolbar) {
    // A command never runs on top of a modal dialog (one of ours, or a question being
    // asked): it waits until the dialog has closed.
    if (QApplication::activeModalWidget() != nullptr) {
        timer.start();
        return;
    }
    const std::optional<CommandId> id =
        fromToolbar ? CommandOfToolbarKey(key) : CommandOfMenuName(key);
    // A command armed just before a run started must not run inside it.
    if (!id || (target_.Converting() && !TakenDuringRun(id))) {
        return;
    }
    if (fromToolbar && (id == CommandId::AddFiles || id == CommandId::AddFolder)) {
        // These two buttons go on through the menu's path, as their menu items do.
        ItemClick(MenuNameOf(*id));
        return;
    }
    Skipping([&] { Run(*id); });
}

void CommandDispatcher::Run(CommandId id) {
    switch (id) {
    case CommandId::AddFiles:
        target_.AddFilesFromDialog();
        break;
    case CommandId::AddFolder:
        target_.ShowAddFolderDialog();
        break;
    case CommandId::RemoveTasks:
        target_.RemoveSelectedTasks();
        break;
    case CommandId::ClearTasks:
        target_.ClearTasks();
        break;
    case CommandId::ViewLog:
        ViewLogFile();
        break;
    case CommandId::ClearLog:
        target_.ClearLogPane(false);
        break;
    case CommandId::ResetLog:
        target_.ClearLogPane(true);
        break;
    case CommandId::Exit:
        target_.CloseWindow();
        break;
    case CommandId::OutputFolder:
    case CommandId::OutputFolderNow:
        target_.ShowOptionsDialog();
        break;
    case CommandId::MoveUp:
        target_.MoveTask(-1);
        break;
    case CommandId::MoveDown:
        target_.MoveTask(+1);
        break;
    case CommandId::SelectAll:
        target_.SetAllChecks(true);
        break;
    case CommandId::SelectNone:
        target_.SetAllChecks(false);
        break;
    case CommandId::InvertChecks:
        target_.InvertChecks();
        break;
    case CommandId::Convert:
        target_.RunConversion();
        break;
    case CommandId::Stop:
        // Only a run can be stopped; a stop confirmed just as the run ended does nothing.
        if (target_.Converting()) {
            target_.StopConversion();
        }
        break;
    case CommandId::WriteLog:
    case CommandId::KeepPictureFolder:
    case CommandId::Overwrite:
    case CommandId::Compress:
        model_.SetChecked(id, !model_.Checked(id));
        break;
    case CommandId::HelpFile:
        Open(QString::fromStdString(HelpFilePath()));
        break;
    case CommandId::WebSite:
        Open(QString::fromLatin1(kWebSiteAddress));
        break;
    case CommandId::Support:
        Open(QStringLiteral("mailto:") + QString::fromLatin1(kSupportMailAddress));
        break;
    case CommandId::About:
        ShowAbout();
        break;
    }
}

void CommandDispatcher::ViewLogFile() {
    const std::string path = DefaultLogPath();
    if (FileExists(path)) {
        Open(QString::fromStdString(path));
    }
}

void CommandDispatcher::ShowAbout() {
    AboutDialog box(&owner_, [this](const QString& target) { seam_.OpenWithDesktop(target); });
    box.exec();
}

void CommandDispatcher::Open(const QString& target) {
    seam_.OpenWithDesktop(target);
}

} // namespace pelmora
