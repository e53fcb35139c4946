#include "app/MainWindow.h"

#include "app/AddFolderDialog.h"
#include "app/CommandDispatcher.h"
#include "app/CommandModel.h"
#include "app/ConversionRun.h"
#include "app/DesktopDialogs.h"
#include "app/DesktopSeam.h"
#include "app/DropIntake.h"
#include "app/RunView.h"
#include "app/StatusPanels.h"
#include "app/TaskEditor.h"
#include "app/TaskList.h"
#include "app/TaskPopupMenu.h"
#include "app/ToolbarKeyboard.h"
#include "controls/design/Twips.h"
#include "controls/menu/MenuBar.h"
#include "controls/toolbar/ToolBar.h"

#include <exception>

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QVBoxLayout>

namespace pelmora {

MainWindow::MainWindow(DesktopSeam& seam, ConverterFactory& converter, QWidget* parent)
    : QWidget(parent), seam_(seam), converter_(converter) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Quorvel"));
    setWindowIcon(QIcon(QStringLiteral(":/about/pelmora.png")));

    // The menu bar and toolbar come with the window's stored designs; the commands'
    // states and check marks start from those designs on every start.
    menuBar_ = new MenuBar(this);
    menuBar_->setObjectName(QStringLiteral("xMenu1"));
    menuBar_->LoadDesign(QStringLiteral(":/menu/main_menu.json"));
    toolBar_ = new ToolBar(this);
    toolBar_->setObjectName(QStringLiteral("xToolbar1"));
    toolBar_->LoadDesignFile(QStringLiteral(":/toolbar/main_toolbar.json"));
    new ToolbarKeyboard(*toolBar_);

    taskList_ = new TaskList(this);
    logFrame_ = new QGroupBox(QStringLiteral("Conversion Log"), this);
    logFrame_->setObjectName(QStringLiteral("Frame1"));
    logPane_ = new QPlainTextEdit(logFrame_);
    logPane_->setObjectName(QStringLiteral("txtLog"));
    logPane_->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Read-only, so it follows new lines unless the user scrolled up; Tab leaves it.
    logPane_->setReadOnly(true);
    logPane_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    logPane_->setTabChangesFocus(true);
    logPane_->setFocusPolicy(Qt::StrongFocus);
    auto* frameLayout = new QVBoxLayout(logFrame_);
    frameLayout->setContentsMargins(TwipsToPixelsX(60, this), TwipsToPixelsY(30, this),
                                    TwipsToPixelsX(60, this), TwipsToPixelsY(60, this));
    frameLayout->addWidget(logPane_);
    statusPanels_ = new StatusPanels(this);
    popupMenu_ = new TaskPopupMenu(this);
    setTabOrder(taskList_, logPane_);
    setTabOrder(logPane_, toolBar_);

    editor_ = std::make_unique<TaskEditor>(*taskList_, seam_, *this);
    BuildCommands();
    resize(TwipsToPixelsX(10545, this), TwipsToPixelsY(7890, this));
    setMinimumSize(TwipsToPixelsX(7500, this), TwipsToPixelsY(5400, this));
    LayoutControls();
    taskList_->setFocus();
}

MainWindow::~MainWindow() {
    delete run_;
}

void MainWindow::BuildCommands() {
    commandModel_ = new CommandModel(*this, *menuBar_, *toolBar_);
    commands_ = new CommandDispatcher(*this, *commandModel_, seam_, *this);
    connect(toolBar_, &ToolBar::ButtonClick, commands_, &CommandDispatcher::ButtonClick);
    connect(menuBar_, &MenuBar::ItemClick, commands_, &CommandDispatcher::ItemClick);
    connect(popupMenu_, &TaskPopupMenu::Chosen, commands_, &CommandDispatcher::Choose);
    runView_ = new RunView(*this, *taskList_, *statusPanels_, *logPane_, *commandModel_, seam_,
                           converter_, [this] {
                               close();
                               return isVisible();
                           });
    connect(commandModel_, &CommandModel::SettingsChanged, this,
            [this](const ConversionSettings& settings) {
                if (run_) {
                    run_->SetSettings(settings);
                }
            });
    drops_ = new DropIntake([this](const QStringList& files) { return AddFiles(files); }, this);
    connect(drops_, &DropIntake::Status, this, &MainWindow::ShowSearchStatus);
    connect(drops_, &DropIntake::Done, this, [this](int added, int skipped) {
        ChangeFilesState();
        SetPanelText(2, QStringLiteral("%1 added, %2 skipped").arg(added).arg(skipped));
    });
    connect(taskList_, &TaskList::MouseReleased, this, &MainWindow::OnListMouseReleased);
    connect(taskList_, &TaskList::KeyReleased, this, &MainWindow::OnListKeyReleased);
    connect(taskList_, &TaskList::UrlsDropped, this, &MainWindow::AddDroppedUrls);
    connect(taskList_, &TaskList::DropRefused, statusPanels_, &StatusPanels::ShowNotice);
    connect(taskList_, &TaskList::DoubleClicked, this, [this] {
        if (taskList_->CurrentRow() != nullptr) {
            EditHighlightedOutput();
        }
    });
}

void MainWindow::LayoutControls() {
    auto px = [this](int twips) { return TwipsToPixelsX(twips, this); };
    const int w = width();
    // The bars keep their heights; extra height goes three parts to the task list
    // and one part to the log pane, a smaller window takes it from the list.
    const int extra = height() - px(7890);
    const int listExtra = extra > 0 ? extra * 3 / 4 : extra;
    const int logExtra = extra > 0 ? extra - listExtra : 0;
    menuBar_->setGeometry(0, 0, w, px(360));
    toolBar_->setGeometry(0, px(360), w, px(855));
    taskList_->setGeometry(0, px(1230), w - px(30), std::max(px(600), px(4755) + listExtra));
    logFrame_->setGeometry(px(30), taskList_->geometry().bottom() + 1 + px(15), w - px(60),
                           px(1545) + logExtra);
    statusPanels_->setGeometry(0, height() - px(345), w, px(345));
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutControls();
}

QProgressBar* MainWindow::progressBar() const {
    return statusPanels_->progressBar();
}

TimeLeftEstimate& MainWindow::timeLeft() {
    return runView_->timeLeft();
}

QString MainWindow::PanelText(int panel) const {
    return statusPanels_->PanelText(panel);
}

void MainWindow::SetPanelText(int panel, const QString& text) {
    statusPanels_->SetPanelText(panel, text);
}

bool MainWindow::MenuItemChecked(const QString& name) const {
    return menuBar_->ItemChecked(name);
}

void MainWindow::SetMenuItemChecked(const QString& name, bool checked) {
    if (const std::optional<CommandId> id = CommandOfMenuName(name)) {
        commandModel_->SetChecked(*id, checked);
    }
}

bool MainWindow::MenuItemEnabled(const QString& name) const {
    const MenuItem* item = menuBar_->MenuTree().At(menuBar_->MenuTree().FindName(name));
    return item != nullptr && item->Enabled();
}

bool MainWindow::ToolbarButtonEnabled(const QString& key) const {
    try {
        return toolBar_->ButtonEnabled(key);
    } catch (const std::exception&) {
        return false;
    }
}

void MainWindow::SetToolbarButtonEnabled(const QString& key, bool enabled) {
    if (const std::optional<CommandId> id = CommandOfToolbarKey(key)) {
        commandModel_->SetEnabled(*id, enabled);
    }
}

bool MainWindow::IsInTaskList(const QString& path) const {
    return taskList_->Contains(path);
}

bool MainWindow::AddFile(const QString& source) {
    return editor_->AddFile(source);
}

int MainWindow::AddFiles(const QStringList& paths) {
    return editor_->AddFiles(paths);
}

void MainWindow::AddDroppedUrls(const QList<QUrl>& urls, int skipped) {
    // A drop while the last one is still being taken is refused, and says so.
    if (drops_->Busy() || Converting()) {
        statusPanels_->ShowNotice(QStringLiteral("Still adding the last drop"));
        return;
    }
    drops_->Take(urls, skipped);
}

void MainWindow::AddFilesFromDialog() {
    if (editor_->AddFilesFromDialog()) {
        ChangeFilesState();
    }
}

void MainWindow::ShowAddFolderDialog() {
    addFolderDialog()->exec();
}

AddFolderDialog* MainWindow::addFolderDialog() {
    if (addFolder_ == nullptr) {
        addFolder_ = new AddFolderDialog(this, seam_, *this);
    }
    return addFolder_;
}

void MainWindow::ShowSearchStatus(const QString& text) {
    SetPanelText(2, text);
}

void MainWindow::AddFoundFiles(const QStringList& files, const QString& outputDir) {
    editor_->SetOutputDir(outputDir);
    for (const QString& file : files) {
        AddFile(file);
    }
    ChangeFilesState();
}

void MainWindow::ChangeFilesState() {
    const int checked = taskList_->CountChecked();
    runView_->SetCheckedCount(checked);
    SetPanelText(3, QStringLiteral("Total %1 Files").arg(taskList_->RowCount()));
    SetPanelText(1, checked > 0 ? QStringLiteral("%1 Selected file(s)  ").arg(checked) : QString());
}

void MainWindow::RemoveHighlightedRows() {
    if (const int kept = taskList_->RemoveHighlighted(); kept > 0) {
        statusPanels_->ShowNotice(
            QStringLiteral("%1 document(s) in progress cannot be removed").arg(kept));
    }
}

void MainWindow::RemoveSelectedTasks() {
    RemoveHighlightedRows();
    taskList_->setFocus();
    ChangeFilesState();
}

void MainWindow::ClearTasks() {
    if (taskList_->RowCount() == 0) {
        return;
    }
    if (seam_.ShowMessage(this, QStringLiteral("Do you want to clear all tasks? "),
                          kApplicationTitle, QMessageBox::Question,
                          QMessageBox::Ok | QMessageBox::Cancel,
                          QMessageBox::Ok) == QMessageBox::Ok) {
        taskList_->RemoveAllRows();
    }
}

void MainWindow::ClearLogPane(bool withReady) {
    logPane_->setPlainText(withReady ? QStringLiteral("Ready...\n") : QString());
}

void MainWindow::SetAllChecks(bool on) {
    taskList_->SetAllChecks(on);
    ChangeFilesState();
}

void MainWindow::InvertChecks() {
    taskList_->SetAllChecks(false, true);
    ChangeFilesState();
}

void MainWindow::MoveTask(int step) {
    if (taskList_->MoveCurrent(step)) {
        taskList_->setFocus();
    }
}

bool MainWindow::ShowOptionsDialog() {
    return editor_->ShowOptionsDialog();
}

void MainWindow::EditHighlightedOutput() {
    editor_->EditHighlightedOutput();
}

void MainWindow::OnListMouseReleased(Qt::MouseButton button, QPoint position) {
    if (button == Qt::LeftButton) {
        ChangeFilesState();
        return;
    }
    if (button != Qt::RightButton || Converting()) {
        return;
    }
    popupMenu_->ShowAt(taskList_->viewport()->mapToGlobal(position),
                       taskList_->itemAt(position) != nullptr);
}

void MainWindow::OnListKeyReleased(int key, Qt::KeyboardModifiers modifiers) {
    if (taskList_->CurrentRow() == nullptr) {
        return;
    }
    // Arrow keys of the number pad carry the keypad flag; it is no modifier here.
    const bool ctrlOnly = (modifiers & ~Qt::KeypadModifier) == Qt::ControlModifier;
    if (key == Qt::Key_Left && ctrlOnly) {
        MoveTask(-1);
    } else if (key == Qt::Key_Right && ctrlOnly) {
        MoveTask(+1);
    } else if (key == Qt::Key_Delete) {
        RemoveHighlightedRows();
    }
    ChangeFilesState();
}

ConversionRun* MainWindow::run() const {
    return run_;
}

bool MainWindow::Converting() const {
    return runView_->Converting();
}

void MainWindow::SetRunSessions(std::size_t sessions) {
    runView_->SetRunSessions(sessions);
}

void MainWindow::RunConversion() {
    if (run_ != nullptr) {
        return;
    }
    auto* run = new ConversionRun(*runView_, this);
    connect(run, &ConversionRun::Ended, this, &MainWindow::OnRunEnded);
    run_ = run;
    if (!run->Start()) {
        run_ = nullptr;
        delete run;
    }
}

void MainWindow::OnRunEnded() {
    if (run_ != nullptr) {
        run_->deleteLater();
        run_ = nullptr;
    }
    if (closing_) {
        emit Unloaded();
        return;
    }
    ChangeFilesState();
}

void MainWindow::StopConversion() {
    if (run_ != nullptr) {
        run_->Stop();
    }
    runView_->ShowStopping();
}

void MainWindow::UnloadOtherWindows() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this && window->isVisible() &&
            window->objectName().toLower() != QStringLiteral("frmmain")) {
            window->close();
        }
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    if (Converting() &&
        seam_.ShowMessage(this,
                          QStringLiteral("Do you want to cancel all runing tasks ") +
                              QStringLiteral("and close the software? "),
                          kApplicationTitle, QMessageBox::Question,
                          QMessageBox::Ok | QMessageBox::Cancel,
                          QMessageBox::Cancel) != QMessageBox::Ok) {
        event->ignore();
        return;
    }
    closing_ = true;
    commands_->Shutdown();
    UnloadOtherWindows();
    event->accept();
    if (run_ != nullptr) {
        // As Ctrl+C does: the offices end at once, the lines of the documents already
        // done are still logged, and the program ends when the run has.
        run_->Abort();
        return;
    }
    emit Unloaded();
}

} // namespace pelmora
