#pragma once
// The main window "Quorvel": the task list of documents to convert, the conversion
// log pane, the status bar with its three panels and the progress bar, below the
// menu bar and the toolbar. It owns the conversion run over its checked tasks.

#include "app/OptionsDialog.h"
#include "app/RunHost.h"
#include "app/StatusPanels.h"
#include "app/TaskPopupMenu.h"
#include "app/TimeLeftEstimate.h"

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <QWidget>

class QGroupBox;
class QPlainTextEdit;
class QProgressBar;

namespace pelmora {

class ConverterFactory;
class DesktopSeam;
class TaskList;
class MenuBar;
class ToolBar;
class TaskRow;
class AddFolderDialog;
class CommandDispatcher;

/// The main window.
class MainWindow : public QWidget, public RunHost {
    Q_OBJECT
public:
    /// Builds the window; every dialog and message box goes through seam, and runs
    /// convert with converter, which must outlive the window.
    MainWindow(DesktopSeam& seam, ConverterFactory& converter, QWidget* parent = nullptr);
    ~MainWindow() override;

    /// The output folder of the last confirmed dialog: empty for each source's own
    /// folder. Tasks added later write their pages there.
    const QString& OutputDir() const { return outputDir_; }
    void SetOutputDir(const QString& folder) { outputDir_ = folder; }
    /// The password typed in the Options dialog; copied into each task added later.
    const QString& Password() const { return password_; }
    void SetPassword(const QString& password) { password_ = password; }

    /// The desktop services of the window and its dialogs.
    DesktopSeam& seam() const { return seam_; }
    /// The task list.
    TaskList* taskList() const { return taskList_; }
    /// The conversion log pane.
    QPlainTextEdit* logPane() const { return logPane_; }
    /// The frame around the log pane.
    QGroupBox* logFrame() const { return logFrame_; }
    /// The run's progress bar over the second status panel.
    QProgressBar* progressBar() const { return statusPanels_->progressBar(); }
    /// The status bar with its three panels.
    StatusPanels* statusPanels() const { return statusPanels_; }
    /// The task list's context menu.
    TaskPopupMenu* popupMenu() const { return popupMenu_; }
    /// The menu bar with the main window's stored design.
    MenuBar* menuBar() const { return menuBar_; }
    /// The toolbar with the main window's stored design.
    ToolBar* toolBar() const { return toolBar_; }

    /// The text of status panel 1, 2 or 3.
    QString PanelText(int panel) const;
    /// Sets the text of status panel 1, 2 or 3.
    void SetPanelText(int panel, const QString& text);

    /// The check mark of a menu item, by key (case ignored): the conversion options
    /// "mnuLogfile", "mnuCreateDir", "mnuOverwrite", "mnuCompress". False for an
    /// unknown key.
    bool MenuItemChecked(const QString& key) const override;
    /// Sets the check mark of a menu item, by key (case ignored).
    void SetMenuItemChecked(const QString& key, bool checked);
    /// Whether a menu item can be chosen, by key (case ignored).
    bool MenuItemEnabled(const QString& key) const;
    /// Lets a menu item be chosen or not, by key (case ignored).
    void SetMenuItemEnabled(const QString& key, bool enabled);
    /// Whether the toolbar button with key ("Extract", "stop", ...) can be clicked;
    /// false for an unknown key.
    bool ToolbarButtonEnabled(const QString& key) const;
    /// Lets the toolbar button with key be clicked or not; an unknown key does nothing.
    void SetToolbarButtonEnabled(const QString& key, bool enabled);

    /// Adds the file path as a checked "Ready" task at the end of the list; false
    /// when it is missing, a folder, already listed, or cannot be added.
    bool AddFile(const QString& path);
    /// Recounts the checked tasks and refreshes the status panels.
    void ChangeFilesState();
    /// The Add command: open-file dialog, Options dialog, then the files.
    void AddFilesFromDialog();
    /// Adds dropped files as AddFile does and the documents of dropped folders with
    /// their subfolders; links and anything unreadable are skipped. Refused during a
    /// run. Panel 2 then says how many were added and skipped.
    void AddDroppedUrls(const QList<QUrl>& urls);
    /// Shows the Add Folder dialog modally; it keeps its entries between uses.
    void ShowAddFolderDialog();
    /// Removes every highlighted task.
    void RemoveSelectedTasks();
    /// Removes every task after the user's confirmation.
    void ClearTasks();
    /// Checks (or unchecks) every task.
    void SetAllChecks(bool on);
    /// Flips the check box of every task.
    void InvertChecks();
    /// Moves the current task one row up; each task keeps its own check box.
    void MoveTaskUp();
    /// Moves the current task one row down; each task keeps its own check box.
    void MoveTaskDown();
    /// True when a task's source equals path ignoring case.
    bool IsInTaskList(const QString& path) const;
    /// Shows the Options dialog; true when confirmed. Tasks already listed keep their
    /// targets.
    bool ShowOptionsDialog();
    /// Edits the output folder of the highlighted tasks, or opens the page of a
    /// converted one (the list's double click).
    void EditHighlightedOutput();

    /// Converts every checked task on the pool of converter sessions.
    void RunConversion();
    /// Asks the run to end once the tasks in progress are done.
    void StopConversion();
    /// How many converter sessions the next runs use at most; 0: one per core.
    void SetRunSessions(std::size_t sessions) { runSessions_ = sessions; }
    std::size_t RunSessions() const override { return runSessions_; }
    ConverterFactory& Converter() const override { return converter_; }

    /// Lets the window system deliver pending events.
    void Yield() override;
    /// Shows (or removes) the busy pointer of a run.
    void SetBusyPointer(bool busy);
    /// The Add Folder dialog, made on first use and kept.
    AddFolderDialog* addFolderDialog();
    /// The commands of the toolbar, the menu bar, the popup menu and F5.
    CommandDispatcher* commands() const { return commands_; }

    /// The task rows a run converts.
    TaskList& Rows() override { return *taskList_; }
    /// The checked tasks counted by the last ChangeFilesState.
    int CheckedCount() const override { return checkedCount_; }
    /// True from the start of a run until it ends or is stopped.
    bool Converting() const override { return converting_; }
    /// Enters the run state for total tasks.
    void EnterRunState(int total) override;
    /// Returns to the idle state after a run.
    void LeaveRunState() override;
    /// Closes the window after a failed converter start; true when the user kept it.
    bool CloseAfterFailedStart() override;
    /// Sets the first status panel during a run.
    void ShowRunStatus(const QString& text) override;
    /// Moves the progress bar on by one task, or fills it.
    void StepProgress(bool last) override;
    /// Counts a finished document and refreshes the time left (at most once a second).
    void TimeLeftEstimated(double seconds) override;
    /// The run's time estimate; its clock may be replaced before a run.
    TimeLeftEstimate& timeLeft() { return timeLeft_; }
    /// Appends a line to the log pane.
    void AppendLogLine(const QString& line) override;
    /// An information box with the program's caption.
    void Inform(const QString& text) override;

signals:
    /// A menu command chosen from the task list (its popup menu or F5), by key.
    void MenuCommandRequested(const QString& key);
    /// A status panel's text changed.
    void PanelTextChanged(int panel, const QString& text);
    /// The window has closed and any run has ended: the program may end.
    void Unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void LayoutControls();
    void OnListMouseReleased(Qt::MouseButton button, QPoint position);
    void OnListKeyReleased(int key, Qt::KeyboardModifiers modifiers);
    void RemoveHighlightedRows();
    void MoveCurrentTask(int step);
    std::optional<OptionsDialog::Answer> ShowOptions(const QString& presetFolder, bool preset);
    void UnloadOtherWindows();
    void ShowTimeLeft();
    bool AddDroppedFile(const QString& path);

    DesktopSeam& seam_;
    ConverterFactory& converter_;
    MenuBar* menuBar_ = nullptr;
    ToolBar* toolBar_ = nullptr;
    TaskList* taskList_ = nullptr;
    QGroupBox* logFrame_ = nullptr;
    QPlainTextEdit* logPane_ = nullptr;
    StatusPanels* statusPanels_ = nullptr;
    TaskPopupMenu* popupMenu_ = nullptr;
    AddFolderDialog* addFolder_ = nullptr;
    CommandDispatcher* commands_ = nullptr;

    QString outputDir_;
    QString password_;
    int checkedCount_ = 0;
    bool converting_ = false;
    std::size_t runSessions_ = 0;

    static constexpr qint64 kAddYieldIntervalMs = 20;
    QElapsedTimer addYield_;
    bool busyPointer_ = false;
    bool runActive_ = false;
    bool closing_ = false;
    bool dropping_ = false;

    TimeLeftEstimate timeLeft_;
    QTimer timeLeftTimer_;
};

} // namespace pelmora
