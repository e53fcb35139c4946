#pragma once
// The main window "Quorvel": the task list of documents to convert, the conversion
// log pane, the status bar with its three panels and the progress bar, below the
// menu bar and the toolbar. Its runs convert on a worker thread; it stays usable.

#include "app/FolderTaskSink.h"
#include "app/TaskEditor.h"
#include "app/WindowCommands.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QWidget>
#include <memory>

class QGroupBox;
class QPlainTextEdit;
class QProgressBar;

namespace pelmora {

class AddFolderDialog;
class CommandDispatcher;
class CommandModel;
class ConversionRun;
class ConverterFactory;
class DesktopSeam;
class DropIntake;
class MenuBar;
class RunView;
class StatusPanels;
class TaskList;
class TaskPopupMenu;
class TimeLeftEstimate;
class ToolBar;

/// The main window.
class MainWindow : public QWidget, public WindowCommands, public FolderTaskSink {
    Q_OBJECT
public:
    /// Builds the window; every dialog and message box goes through seam, and its runs
    /// convert with converter.
    MainWindow(DesktopSeam& seam, ConverterFactory& converter, QWidget* parent = nullptr);
    ~MainWindow() override;

    /// The output folder of the last confirmed dialog: empty for each source's own
    /// folder. Tasks added later write their pages there.
    const QString& OutputDir() const { return editor_->OutputDir(); }
    void SetOutputDir(const QString& folder) { editor_->SetOutputDir(folder); }
    /// The password typed in the Options dialog; copied into each task added later.
    const QString& Password() const { return editor_->Password(); }
    void SetPassword(const QString& password) { editor_->SetPassword(password); }

    TaskList* taskList() const { return taskList_; }
    QPlainTextEdit* logPane() const { return logPane_; }
    QGroupBox* logFrame() const { return logFrame_; }
    QProgressBar* progressBar() const;
    StatusPanels* statusPanels() const { return statusPanels_; }
    TaskPopupMenu* popupMenu() const { return popupMenu_; }
    MenuBar* menuBar() const { return menuBar_; }
    ToolBar* toolBar() const { return toolBar_; }
    /// The commands: their states, check marks and shortcuts.
    CommandModel* commandModel() const { return commandModel_; }
    /// What turns clicks and keys into commands.
    CommandDispatcher* commands() const { return commands_; }
    /// The Add Folder dialog, made on first use and kept.
    AddFolderDialog* addFolderDialog();
    /// The run's time estimate; its clock may be replaced before a run.
    TimeLeftEstimate& timeLeft();

    /// The text of status panel 1, 2 or 3.
    QString PanelText(int panel) const;
    /// Sets the text of status panel 1, 2 or 3.
    void SetPanelText(int panel, const QString& text);
    /// The check mark of the menu item named name (case ignored); false for others.
    bool MenuItemChecked(const QString& name) const;
    /// Sets the check mark, and the option, of the menu item named name.
    void SetMenuItemChecked(const QString& name, bool checked);
    /// Whether the menu item named name can be chosen.
    bool MenuItemEnabled(const QString& name) const;
    /// Whether the toolbar button with key can be clicked; false for an unknown key.
    bool ToolbarButtonEnabled(const QString& key) const;
    /// Lets the toolbar button with key be clicked or not.
    void SetToolbarButtonEnabled(const QString& key, bool enabled);

    /// Adds the file path as a checked "Ready" task at the end of the list; false
    /// when it is missing, a folder, already listed, or cannot be added.
    bool AddFile(const QString& path);
    /// Adds the files of paths that are plain readable files, as AddFile does, all at
    /// once; returns how many were added.
    int AddFiles(const QStringList& paths);
    /// Adds dropped documents and the documents of dropped folders with their
    /// subfolders; skipped counts what the list left out. Panel 2 then says how many
    /// were added and skipped.
    void AddDroppedUrls(const QList<QUrl>& urls, int skipped = 0);
    /// Recounts the checked tasks and refreshes the status panels.
    void ChangeFilesState();
    /// True when a task's source equals path ignoring case.
    bool IsInTaskList(const QString& path) const;
    /// Edits the output folder of the highlighted tasks, or opens the page of a
    /// converted one (the list's double click).
    void EditHighlightedOutput();
    void MoveTaskUp() { MoveTask(-1); }
    void MoveTaskDown() { MoveTask(+1); }
    /// How many converter sessions the next runs use at most; 0: one per core.
    void SetRunSessions(std::size_t sessions);
    /// The window's run state.
    RunView* runView() const { return runView_; }
    /// The run in progress, or nullptr.
    ConversionRun* run() const;

    bool Converting() const override;
    void AddFilesFromDialog() override;
    void ShowAddFolderDialog() override;
    void RemoveSelectedTasks() override;
    void ClearTasks() override;
    void ClearLogPane(bool withReady) override;
    void CloseWindow() override { close(); }
    bool ShowOptionsDialog() override;
    void MoveTask(int step) override;
    void SetAllChecks(bool on) override;
    void InvertChecks() override;
    void RunConversion() override;
    void StopConversion() override;

    void ShowSearchStatus(const QString& text) override;
    void AddFoundFiles(const QStringList& files, const QString& outputDir) override;

signals:
    /// The window has closed and any run has ended: the program may end.
    void Unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildCommands();
    void LayoutControls();
    void OnListMouseReleased(Qt::MouseButton button, QPoint position);
    void OnListKeyReleased(int key, Qt::KeyboardModifiers modifiers);
    void RemoveHighlightedRows();
    void OnRunEnded();
    void UnloadOtherWindows();

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
    CommandModel* commandModel_ = nullptr;
    CommandDispatcher* commands_ = nullptr;
    RunView* runView_ = nullptr;
    DropIntake* drops_ = nullptr;
    QPointer<ConversionRun> run_;

    std::unique_ptr<TaskEditor> editor_;
    bool closing_ = false;
};

} // namespace pelmora
