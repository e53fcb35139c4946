#pragma once
// What the commands do to the main window: the operations the dispatcher runs. The
// dispatcher knows the window only through this interface.

namespace pelmora {

/// The window's side of the commands.
class WindowCommands {
public:
    virtual ~WindowCommands() = default;

    /// True while a run is going.
    virtual bool Converting() const = 0;
    /// The Add command: open-file dialog, Options dialog, then the files.
    virtual void AddFilesFromDialog() = 0;
    /// Shows the Add Folder dialog.
    virtual void ShowAddFolderDialog() = 0;
    /// Removes the highlighted tasks (not those in progress).
    virtual void RemoveSelectedTasks() = 0;
    /// Removes every task after the user's confirmation.
    virtual void ClearTasks() = 0;
    /// Empties the log pane; withReady leaves "Ready..." in it.
    virtual void ClearLogPane(bool withReady) = 0;
    /// Asks the window to close, as its frame's close button does.
    virtual void CloseWindow() = 0;
    /// Shows the Options dialog; true when confirmed.
    virtual bool ShowOptionsDialog() = 0;
    /// Moves the current task one row up (step -1) or down (+1).
    virtual void MoveTask(int step) = 0;
    /// Checks or unchecks every task.
    virtual void SetAllChecks(bool on) = 0;
    /// Flips every task's check box.
    virtual void InvertChecks() = 0;
    /// Starts a run over the checked tasks.
    virtual void RunConversion() = 0;
    /// Asks the run to end once the documents in progress are done.
    virtual void StopConversion() = 0;
};

} // namespace pelmora
