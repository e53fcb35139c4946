#pragma once
// The main window "Quorvel": the task list of documents to convert, the conversion
// log pane, the status bar with its three panels and the progress bar, below the
// menu bar and the toolbar. It owns the conversion run over its checked tasks.

#include "app/StatusPanels.h"
#include "app/TaskPopupMenu.h"

#include <QElapsedTimer>
#include <QString>
#include <QWidget>

class QGroupBox;
class QPlainTextEdit;
class QProgressBar;

namespace pelmora {

class DesktopSeam;
class TaskList;
class MenuBar;
class ToolBar;
class TaskRow;
class AddFolderDialog;
class CommandDispatcher;

/// The main window.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(DesktopSeam& seam, QWidget* parent = nullptr);
    ~MainWindow() override;

    /// True from the start of a run until it ends or is stopped; clearing it asks
    /// the run to stop after the task in progress.
    bool bConverting = false;
    /// The output folder of the last confirmed dialog: empty for each source's own
    /// folder. Set to kOutputDirUnset while the Options dialog is open.
    QString sOutputDir;
    /// The password typed in the Options dialog; copied into each task added later.
    QString sPWD;
    /// The position the first file of the current Add command takes.
    qint32 lCurCount = 0;

    /// sOutputDir while the Options dialog is open; still there afterwards when the
    /// dialog was cancelled.
    static inline const QString kOutputDirUnset = QStringLiteral("\\");

    DesktopSeam& Seam() const { return m_seam; }
    TaskList* lstItem() const { return m_lstItem; }
    QPlainTextEdit* txtLog() const { return m_txtLog; }
    QGroupBox* Frame1() const { return m_frame1; }
    QProgressBar* pgbCompress() const { return m_stBar->Progress(); }
    StatusPanels* stBar() const { return m_stBar; }
    /// The task list's context menu.
    TaskPopupMenu* mnuPopup() const { return m_mnuPopup; }
    /// The menu bar with the main window's stored design.
    MenuBar* xMenu1() const { return m_xMenu1; }
    /// The toolbar with the main window's stored design.
    ToolBar* xToolbar1() const { return m_xToolbar1; }

    /// The text of status panel 1, 2 or 3.
    QString PanelText(int panel) const;
    void SetPanelText(int panel, const QString& text);

    /// The check mark of a menu item, by key (case ignored): the conversion options
    /// "mnuLogfile", "mnuCreateDir", "mnuOverwrite", "mnuCompress". False for an
    /// unknown key.
    bool MenuItemChecked(const QString& key) const;
    void SetMenuItemChecked(const QString& key, bool checked);
    /// Whether a menu item can be chosen, by key (case ignored).
    bool MenuItemEnabled(const QString& key) const;
    void SetMenuItemEnabled(const QString& key, bool enabled);
    /// Whether the toolbar button at the 1-based position can be clicked.
    bool ToolbarButtonEnabled(int position) const;
    void SetToolbarButtonEnabled(int position, bool enabled);

    /// Adds the file sItem as a checked "Ready" task at the end of the list; false
    /// when it is missing, a folder, already listed, or cannot be added.
    bool AddFiles(const QString& sItem);
    /// Recounts the checked tasks and refreshes the status panels.
    void ChangeFilesState();
    /// The Add command: open-file dialog, Options dialog, then the files.
    void AddFilesFromDialog();
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
    /// Shows the Options dialog; tasks already listed keep their targets.
    void ShowOptionsDialog();
    /// Edits the output folder of the highlighted tasks, or opens the page of a
    /// converted one (the list's double click).
    void EditHighlightedOutput();

    /// Converts every checked task in one converter session.
    void RunConversion();
    /// Asks the run to end after the task in progress.
    void StopConversion();

    /// Lets the window system deliver pending events.
    void Yield();
    /// Shows (or removes) the busy pointer of a run.
    void SetBusyPointer(bool busy);
    /// The Add Folder dialog, made on first use and kept.
    AddFolderDialog* addFolderDialog();
    /// The commands of the toolbar, the menu bar, the popup menu and F5.
    CommandDispatcher* Commands() const { return m_commands; }

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
    bool ShowOptions(const QString& presetFolder, bool preset);
    void UnloadOtherWindows();

    DesktopSeam& m_seam;
    MenuBar* m_xMenu1 = nullptr;
    ToolBar* m_xToolbar1 = nullptr;
    TaskList* m_lstItem = nullptr;
    QGroupBox* m_frame1 = nullptr;
    QPlainTextEdit* m_txtLog = nullptr;
    StatusPanels* m_stBar = nullptr;
    TaskPopupMenu* m_mnuPopup = nullptr;
    AddFolderDialog* m_addFolder = nullptr;
    CommandDispatcher* m_commands = nullptr;

    static constexpr qint64 kAddYieldIntervalMs = 20;
    QElapsedTimer m_addYield;
    bool m_busyPointer = false;
    bool m_runActive = false;
    bool m_closing = false;
};

} // namespace pelmora
