#include "app/MainWindow.h"

#include "app/AddFolderDialog.h"
#include "app/CommandDispatcher.h"
#include "app/ConversionRun.h"
#include "app/DesktopDialogs.h"
#include "app/DesktopSeam.h"
#include "app/OptionsDialog.h"
#include "app/TaskIcons.h"
#include "app/TaskList.h"
#include "app/WindowHelpers.h"
#include "controls/design/Twips.h"
#include "controls/menu/MenuBar.h"
#include "controls/toolbar/ToolBar.h"
#include "engine/Conversion.h"
#include "engine/FileSearch.h"
#include "engine/PathHelpers.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QTextCursor>
#include <QVBoxLayout>
#include <exception>
#include <vector>

namespace pelmora {

MainWindow::MainWindow(DesktopSeam& seam, ConverterFactory& converter, QWidget* parent)
    : QWidget(parent), seam_(seam), converter_(converter) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Quorvel"));
    // The program's own icon, the one its About box shows.
    setWindowIcon(QIcon(QStringLiteral(":/about/pelmora.png")));

    // The menu bar and toolbar come with the window's stored designs; their check
    // marks and enabled states start from those designs on every start.
    menuBar_ = new MenuBar(this);
    menuBar_->setObjectName(QStringLiteral("xMenu1"));
    menuBar_->LoadDesign(QStringLiteral(":/menu/main_menu.json"));
    toolBar_ = new ToolBar(this);
    toolBar_->setObjectName(QStringLiteral("xToolbar1"));
    toolBar_->LoadDesignFile(QStringLiteral(":/toolbar/main_toolbar.json"));

    taskList_ = new TaskList(this);

    logFrame_ = new QGroupBox(QStringLiteral("Conversion Log"), this);
    logFrame_->setObjectName(QStringLiteral("Frame1"));
    logPane_ = new QPlainTextEdit(logFrame_);
    logPane_->setObjectName(QStringLiteral("txtLog"));
    logPane_->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* frameLayout = new QVBoxLayout(logFrame_);
    frameLayout->setContentsMargins(TwipsToPixelsX(60, this), TwipsToPixelsY(30, this),
                                    TwipsToPixelsX(60, this), TwipsToPixelsY(60, this));
    frameLayout->addWidget(logPane_);

    statusPanels_ = new StatusPanels(this);
    connect(statusPanels_, &StatusPanels::PanelTextChanged, this, &MainWindow::PanelTextChanged);

    popupMenu_ = new TaskPopupMenu(this);
    connect(popupMenu_, &TaskPopupMenu::CommandChosen, this, &MainWindow::MenuCommandRequested);
    connect(popupMenu_, &TaskPopupMenu::ClearLogsChosen, this,
            [this] { logPane_->setPlainText(QStringLiteral("Ready...\n")); });
    connect(popupMenu_, &TaskPopupMenu::OutputDirectoryChosen, this,
            &MainWindow::ShowOptionsDialog);

    connect(taskList_, &TaskList::MouseReleased, this, &MainWindow::OnListMouseReleased);
    connect(taskList_, &TaskList::KeyReleased, this, &MainWindow::OnListKeyReleased);
    // Queued, so the drag source is released before the files are searched and added.
    connect(taskList_, &TaskList::UrlsDropped, this, &MainWindow::AddDroppedUrls,
            Qt::QueuedConnection);
    timeLeftTimer_.setInterval(1000);
    connect(&timeLeftTimer_, &QTimer::timeout, this, &MainWindow::ShowTimeLeft);
    connect(taskList_, &TaskList::DoubleClicked, this, [this] {
        if (taskList_->CurrentRow() != nullptr) {
            EditHighlightedOutput();
        }
    });

    resize(TwipsToPixelsX(10545, this), TwipsToPixelsY(7890, this));
    setMinimumSize(TwipsToPixelsX(7500, this), TwipsToPixelsY(5400, this));
    LayoutControls();
    commands_ = new CommandDispatcher(*this);
}

MainWindow::~MainWindow() {
    SetBusyPointer(false);
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

QString MainWindow::PanelText(int panel) const {
    return statusPanels_->PanelText(panel);
}

void MainWindow::SetPanelText(int panel, const QString& text) {
    statusPanels_->SetPanelText(panel, text);
}

bool MainWindow::MenuItemChecked(const QString& key) const {
    return menuBar_->ItemChecked(key);
}

void MainWindow::SetMenuItemChecked(const QString& key, bool checked) {
    menuBar_->SetItemChecked(key, checked);
}

bool MainWindow::MenuItemEnabled(const QString& key) const {
    const MenuItem* item = menuBar_->MenuTree().At(menuBar_->MenuTree().FindName(key));
    return item != nullptr && item->Enabled();
}

void MainWindow::SetMenuItemEnabled(const QString& key, bool enabled) {
    if (MenuItem* item = menuBar_->MenuTree().At(menuBar_->MenuTree().FindName(key))) {
        item->SetEnabled(enabled);
        menuBar_->Refresh();
    }
}

bool MainWindow::ToolbarButtonEnabled(const QString& key) const {
    try {
        return toolBar_->ButtonEnabled(key);
    } catch (const std::exception&) {
        return false;
    }
}

void MainWindow::SetToolbarButtonEnabled(const QString& key, bool enabled) {
    try {
        toolBar_->SetButtonEnabled(key, enabled);
    } catch (const std::exception&) {
        // A toolbar without that button has nothing to switch.
    }
}

void MainWindow::Yield() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void MainWindow::SetBusyPointer(bool busy) {
    if (busy == busyPointer_) {
        return;
    }
    busyPointer_ = busy;
    if (busy) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

bool MainWindow::IsInTaskList(const QString& path) const {
    return taskList_->Contains(path);
}

bool MainWindow::AddFile(const QString& source) {
    try {
        const std::string path = source.toStdString();
        if (!FileExists(path) || IsInTaskList(source)) {
            return false;
        }
        Task task;
        task.source = source;
        task.target =
            QString::fromStdString(PagePath(path, outputDir_.toStdString(), kWindowPageExtension));
        const QFileInfo info(source);
        task.sizeText = QString::fromStdString(FormatFileSize(info.size()));
        task.dateText = QLocale().toString(info.lastModified(), QLocale::ShortFormat);
        task.state = QStringLiteral("Ready");
        task.password = password_;
        task.icon = IconPending;
        task.checked = true;
        taskList_->AppendRow(task);
        // A yield lays out and repaints the whole list, so thousands of files added
        // in a row yield once per interval instead of once per file: the window
        // stays as responsive and the cost stays linear.
        if (!addYield_.isValid() || addYield_.elapsed() >= kAddYieldIntervalMs) {
            Yield();
            addYield_.start();
        }
        return true;
    } catch (const std::exception& error) {
        seam_.ShowMessage(this, QString::fromLocal8Bit(error.what()),
                          QStringLiteral("Function: Addfiles"), QMessageBox::Critical,
                          QMessageBox::Ok, QMessageBox::Ok);
        return false;
    }
}

bool MainWindow::AddDroppedFile(const QString& path) {
    const QFileInfo info(path);
    // A link may lead anywhere (or nowhere); only real, readable files are tasks.
    if (info.isSymLink() || !info.isFile() || !info.isReadable()) {
        return false;
    }
    return AddFile(path);
}

void MainWindow::AddDroppedUrls(const QList<QUrl>& urls) {
    // Refused during a run as Add is; a drop while one is still being added waits
    // for nothing and is refused too.
    if (converting_ || runActive_ || dropping_) {
        return;
    }
    dropping_ = true;
    int added = 0;
    int skipped = 0;
    const auto count = [&](bool ok) { ++(ok ? added : skipped); };
    for (const QUrl& url : urls) {
        if (!url.isLocalFile()) {
            ++skipped;
            continue;
        }
        QString path = url.toLocalFile();
        while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) {
            path.chop(1);
        }
        const QFileInfo info(path);
        if (info.isSymLink() || !info.isDir()) {
            count(AddDroppedFile(path));
            continue;
        }
        // A folder is searched as the Add Folder dialog searches, with its subfolders.
        SearchState& search = SharedSearch();
        search.yield = [this] { Yield(); };
        search.statusText = [this](const std::string& text) {
            SetPanelText(2, QString::fromStdString(text));
        };
        const std::vector<std::string> found =
            FindFiles(path.toStdString(), "*.doc;*.rtf;*.xml", true, true);
        search.yield = nullptr;
        search.statusText = nullptr;
        for (const std::string& file : found) {
            count(AddDroppedFile(QString::fromStdString(file)));
        }
    }
    dropping_ = false;
    ChangeFilesState();
    SetPanelText(2, QStringLiteral("%1 added, %2 skipped").arg(added).arg(skipped));
}

void MainWindow::AddFilesFromDialog() {
    const QStringList files = ChooseFiles(seam_, this, QString(),
                                          QStringLiteral("Microsoft Word Documents(*.doc;rtf;xml)|"
                                                         "*.doc;*.rtf;*.xml|All Files (*.*)|*.*"),
                                          true, true);
    if (files.isEmpty()) {
        return;
    }
    if (!ShowOptions(QString(), false)) {
        return;
    }
    for (const QString& file : files) {
        // A file that cannot be added ends the whole command.
        if (!AddFile(file)) {
            return;
        }
    }
    taskList_->setFocus();
    Yield();
    ChangeFilesState();
}

void MainWindow::ShowAddFolderDialog() {
    AddFolderDialog* dialog = addFolderDialog();
    dialog->exec();
}

AddFolderDialog* MainWindow::addFolderDialog() {
    if (addFolder_ == nullptr) {
        addFolder_ = new AddFolderDialog(*this);
    }
    return addFolder_;
}

void MainWindow::ChangeFilesState() {
    const int n = taskList_->RowCount();
    TaskRow* current = taskList_->CurrentRow();
    int c = 0;
    for (int i = 1; i <= n; ++i) {
        TaskRow* row = taskList_->Row(i);
        if (row->Checked()) {
            if (row == current) {
                row->SetIcon(IconPending);
            }
            ++c;
        }
    }
    checkedCount_ = c;
    SetPanelText(3, QStringLiteral("Total %1 Files").arg(n));
    SetPanelText(1, c > 0 ? QStringLiteral("%1 Selected file(s)  ").arg(c) : QString());
}

void MainWindow::RemoveHighlightedRows() {
    std::vector<int> highlighted;
    for (int i = 1; i <= taskList_->RowCount(); ++i) {
        if (taskList_->Row(i)->isSelected()) {
            highlighted.push_back(i);
        }
    }
    // The highlight goes with its rows anyway; dropping it first spares the list
    // from updating every remaining highlight at each removal.
    taskList_->clearSelection();
    for (auto i = highlighted.rbegin(); i != highlighted.rend(); ++i) {
        taskList_->RemoveRow(*i);
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

void MainWindow::SetAllChecks(bool on) {
    for (int i = 1; i <= taskList_->RowCount(); ++i) {
        TaskRow* row = taskList_->Row(i);
        row->SetChecked(on);
        row->SetIcon(IconPending);
    }
    ChangeFilesState();
}

void MainWindow::InvertChecks() {
    for (int i = 1; i <= taskList_->RowCount(); ++i) {
        TaskRow* row = taskList_->Row(i);
        row->SetChecked(!row->Checked());
        row->SetIcon(IconPending);
    }
    ChangeFilesState();
}

void MainWindow::MoveTaskUp() {
    MoveCurrentTask(-1);
}

void MainWindow::MoveTaskDown() {
    MoveCurrentTask(+1);
}

void MainWindow::MoveCurrentTask(int step) {
    TaskRow* row = taskList_->CurrentRow();
    const int k = taskList_->PositionOf(row);
    const int to = k + step;
    if (k == 0 || to < 1 || to > taskList_->RowCount()) {
        return;
    }
    TaskRow* other = taskList_->Row(to);
    // The row itself moves, so it keeps its check box, texts and password.
    taskList_->MoveRow(k, to);
    taskList_->setCurrentItem(row);
    Yield();
    taskList_->setFocus();
    row->SetIcon(IconPending);
    other->SetIcon(IconPending);
}

std::optional<OptionsDialog::Answer> MainWindow::ShowOptions(const QString& presetFolder,
                                                             bool preset) {
    OptionsDialog dialog(this, seam_);
    if (preset) {
        Yield();
        dialog.outputFolderBox()->choiceButton(1)->setChecked(true);
        dialog.outputFolderBox()->pathBox()->setText(presetFolder);
    }
    std::optional<OptionsDialog::Answer> answer = dialog.Ask();
    if (answer) {
        outputDir_ = answer->outputDir;
        password_ = answer->password;
    }
    return answer;
}

bool MainWindow::ShowOptionsDialog() {
    return ShowOptions(QString(), false).has_value();
}

void MainWindow::EditHighlightedOutput() {
    QList<TaskRow*> highlighted;
    for (int i = 1; i <= taskList_->RowCount(); ++i) {
        if (taskList_->Row(i)->isSelected()) {
            highlighted.push_back(taskList_->Row(i));
        }
    }
    TaskRow* current = taskList_->CurrentRow();
    const TaskRow* first = highlighted.isEmpty() ? current : highlighted.front();
    if (first == nullptr) {
        return;
    }
    const QString source = first->Source();
    const QString target = first->Target();
    std::optional<OptionsDialog::Answer> answer;
    if (highlighted.size() < 2) {
        if (current != nullptr && current->Icon() == IconConverted) {
            seam_.OpenWithDesktop(target);
            return;
        }
        const QString sourceFolder =
            source.left(source.lastIndexOf(QLatin1Char(kPathSeparator)) + 1);
        if (!target.contains(sourceFolder, Qt::CaseSensitive)) {
            answer =
                ShowOptions(target.left(target.lastIndexOf(QLatin1Char(kPathSeparator)) + 1), true);
        } else {
            answer = ShowOptions(QString(), false);
        }
    } else {
        answer = ShowOptions(QString(), false);
    }
    if (!answer) {
        return;
    }
    for (TaskRow* row : highlighted) {
        // A row removed while the dialog was open is no longer highlighted.
        if (taskList_->PositionOf(row) == 0) {
            continue;
        }
        row->SetTarget(QString::fromStdString(
            PagePath(row->Source().toStdString(), outputDir_.toStdString(), kWindowPageExtension)));
    }
}

void MainWindow::OnListMouseReleased(Qt::MouseButton button, QPoint position) {
    if (button == Qt::LeftButton) {
        ChangeFilesState();
        return;
    }
    if (button != Qt::RightButton || converting_) {
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
    const Qt::KeyboardModifiers mods = modifiers & ~Qt::KeypadModifier;
    switch (key) {
    case Qt::Key_Space:
        ChangeFilesState();
        break;
    case Qt::Key_Left:
        if (mods == Qt::ControlModifier) {
            MoveTaskUp();
        }
        break;
    case Qt::Key_Right:
        if (mods == Qt::ControlModifier) {
            MoveTaskDown();
        }
        break;
    case Qt::Key_Delete:
        RemoveHighlightedRows();
        break;
    case Qt::Key_F5:
        emit MenuCommandRequested(QStringLiteral("mnuConverter"));
        break;
    default:
        break;
    }
    ChangeFilesState();
}

void MainWindow::RunConversion() {
    if (runActive_) {
        return;
    }
    runActive_ = true;
    {
        ConversionRun run(*this);
        run.Run();
    }
    runActive_ = false;
    if (closing_) {
        emit Unloaded();
    }
}

void MainWindow::StopConversion() {
    converting_ = false;
    SetPanelText(1, QStringLiteral("Stopping..."));
    Yield();
    SetBusyPointer(false);
}

void MainWindow::EnterRunState(int total) {
    converting_ = true;
    SetToolbarButtonEnabled(QStringLiteral("Extract"), false);
    SetToolbarButtonEnabled(QStringLiteral("stop"), true);
    SetMenuItemEnabled(QStringLiteral("mnuStop"), true);
    QProgressBar* progress = progressBar();
    progress->setValue(0);
    progress->setMaximum((total + 2) * 10);
    progress->setValue(0);
    progress->show();
    statusPanels_->SetTimeLeft(QString());
    timeLeft_.Start();
    timeLeftTimer_.start();
    Yield();

    SetPanelText(1, QStringLiteral("Initializing ..."));
    SetBusyPointer(true);
    Yield();
}

void MainWindow::LeaveRunState() {
    // The caret goes to the start of the last line, so the newest lines are in view.
    const QString paneText = logPane_->toPlainText();
    QTextCursor caret = logPane_->textCursor();
    caret.setPosition(paneText.lastIndexOf(QLatin1Char('\n')) + 1);
    logPane_->setTextCursor(caret);
    logPane_->ensureCursorVisible();

    SetMenuItemEnabled(QStringLiteral("mnuStop"), false);
    SetToolbarButtonEnabled(QStringLiteral("Extract"), true);
    SetToolbarButtonEnabled(QStringLiteral("stop"), false);
    progressBar()->hide();
    timeLeftTimer_.stop();
    statusPanels_->SetTimeLeft(QString());
    SetPanelText(1, QStringLiteral("Ready!"));

    converting_ = false;
    SetBusyPointer(false);
    ChangeFilesState();
}

bool MainWindow::CloseAfterFailedStart() {
    close();
    if (isVisible()) {
        return true;
    }
    SetBusyPointer(false);
    return false;
}

void MainWindow::ShowRunStatus(const QString& text) {
    SetPanelText(1, text);
}

void MainWindow::StepProgress(bool last) {
    QProgressBar* progress = progressBar();
    progress->setValue(last ? progress->maximum()
                            : std::min(progress->value() + 10, progress->maximum()));
}

void MainWindow::TimeLeftEstimated(double seconds) {
    timeLeft_.Estimated(seconds);
    ShowTimeLeft();
}

void MainWindow::ShowTimeLeft() {
    if (timeLeft_.TakeUpdate()) {
        statusPanels_->SetTimeLeft(timeLeft_.Text());
    }
}

void MainWindow::AppendLogLine(const QString& line) {
    logPane_->appendPlainText(line);
}

void MainWindow::Inform(const QString& text) {
    seam_.ShowMessage(this, text, kApplicationTitle, QMessageBox::Information, QMessageBox::Ok,
                      QMessageBox::Ok);
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
    if (converting_ && seam_.ShowMessage(this,
                                         QStringLiteral("Do you want to cancel all runing tasks ") +
                                             QStringLiteral("and close the software? "),
                                         kApplicationTitle, QMessageBox::Question,
                                         QMessageBox::Ok | QMessageBox::Cancel,
                                         QMessageBox::Cancel) != QMessageBox::Ok) {
        event->ignore();
        return;
    }
    closing_ = true;
    // A run in progress ends after its current document and then lets the program
    // end; it no longer shows anything.
    converting_ = false;
    UnloadOtherWindows();
    event->accept();
    if (!runActive_) {
        emit Unloaded();
    }
}

} // namespace pelmora
