#include "app/MainWindow.h"

#include "app/CommandDispatcher.h"
#include "app/ConversionRun.h"
#include "app/DesktopSeam.h"
#include "engine/Conversion.h"
#include "engine/PathHelpers.h"
#include "app/TaskList.h"
#include "app/WindowHelpers.h"
#include "app/AddFolderDialog.h"
#include "app/OptionsDialog.h"
#include "controls/menu/MenuBar.h"
#include "controls/toolbar/ToolBar.h"

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
#include <QVBoxLayout>
#include <exception>
#include <vector>

namespace pelmora {

MainWindow::MainWindow(DesktopSeam& seam, QWidget* parent) : QWidget(parent), m_seam(seam) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Quorvel"));
    setWindowIcon(WordDocumentIcon());

    // The menu bar and toolbar come with the window's stored designs; their check
    // marks and enabled states start from those designs on every start.
    m_xMenu1 = new MenuBar(this);
    m_xMenu1->setObjectName(QStringLiteral("xMenu1"));
    m_xMenu1->LoadDesign(QStringLiteral(":/menu/main_menu.json"));
    m_xToolbar1 = new ToolBar(this);
    m_xToolbar1->setObjectName(QStringLiteral("xToolbar1"));
    m_xToolbar1->LoadDesignFile(QStringLiteral(":/toolbar/main_toolbar.json"));

    m_lstItem = new TaskList(this);

    m_frame1 = new QGroupBox(QStringLiteral("Conversion Log"), this);
    m_frame1->setObjectName(QStringLiteral("Frame1"));
    m_txtLog = new QPlainTextEdit(m_frame1);
    m_txtLog->setObjectName(QStringLiteral("txtLog"));
    m_txtLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* frameLayout = new QVBoxLayout(m_frame1);
    frameLayout->setContentsMargins(TwipsToPixels(60, this), TwipsToPixels(30, this),
                                    TwipsToPixels(60, this), TwipsToPixels(60, this));
    frameLayout->addWidget(m_txtLog);

    m_stBar = new StatusPanels(this);
    connect(m_stBar, &StatusPanels::PanelTextChanged, this, &MainWindow::PanelTextChanged);

    m_mnuPopup = new TaskPopupMenu(this);
    connect(m_mnuPopup, &TaskPopupMenu::CommandChosen, this, &MainWindow::MenuCommandRequested);
    connect(m_mnuPopup, &TaskPopupMenu::ClearLogsChosen, this,
            [this] { m_txtLog->setPlainText(QStringLiteral("Ready...\n")); });
    connect(m_mnuPopup, &TaskPopupMenu::OutputDirectoryChosen, this, &MainWindow::ShowOptionsDialog);

    connect(m_lstItem, &TaskList::MouseReleased, this, &MainWindow::OnListMouseReleased);
    connect(m_lstItem, &TaskList::KeyReleased, this, &MainWindow::OnListKeyReleased);
    connect(m_lstItem, &TaskList::DoubleClicked, this, [this] {
        if (m_lstItem->CurrentRow() != nullptr) {
            EditHighlightedOutput();
        }
    });

    resize(TwipsToPixels(10545, this), TwipsToPixels(7890, this));
    setMinimumSize(TwipsToPixels(7500, this), TwipsToPixels(5400, this));
    LayoutControls();
    m_commands = new CommandDispatcher(*this);
}

MainWindow::~MainWindow() {
    SetBusyPointer(false);
}

void MainWindow::LayoutControls() {
    auto px = [this](int twips) { return TwipsToPixels(twips, this); };
    const int w = width();
    // The bars keep their heights; extra height goes three parts to the task list
    // and one part to the log pane, a smaller window takes it from the list.
    const int extra = height() - px(7890);
    const int listExtra = extra > 0 ? extra * 3 / 4 : extra;
    const int logExtra = extra > 0 ? extra - listExtra : 0;
    m_xMenu1->setGeometry(0, 0, w, px(360));
    m_xToolbar1->setGeometry(0, px(360), w, px(855));
    m_lstItem->setGeometry(0, px(1230), w - px(30), std::max(px(600), px(4755) + listExtra));
    m_frame1->setGeometry(px(30), m_lstItem->geometry().bottom() + 1 + px(15), w - px(60),
                          px(1545) + logExtra);
    m_stBar->setGeometry(0, height() - px(345), w, px(345));
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutControls();
}

QString MainWindow::PanelText(int panel) const {
    return m_stBar->PanelText(panel);
}

void MainWindow::SetPanelText(int panel, const QString& text) {
    m_stBar->SetPanelText(panel, text);
}

bool MainWindow::MenuItemChecked(const QString& key) const {
    return m_xMenu1->ItemChecked(key);
}

void MainWindow::SetMenuItemChecked(const QString& key, bool checked) {
    m_xMenu1->SetItemChecked(key, checked);
}

bool MainWindow::MenuItemEnabled(const QString& key) const {
    const MenuItem* item = m_xMenu1->MenuTree().At(m_xMenu1->MenuTree().FindName(key));
    return item != nullptr && item->Enabled;
}

void MainWindow::SetMenuItemEnabled(const QString& key, bool enabled) {
    if (MenuItem* item = m_xMenu1->MenuTree().At(m_xMenu1->MenuTree().FindName(key))) {
        item->Enabled = enabled;
        m_xMenu1->Refresh();
    }
}

bool MainWindow::ToolbarButtonEnabled(int position) const {
    try {
        return m_xToolbar1->ButtonEnabled(position);
    } catch (const std::exception&) {
        return false;
    }
}

void MainWindow::SetToolbarButtonEnabled(int position, bool enabled) {
    try {
        m_xToolbar1->SetButtonEnabled(position, enabled);
    } catch (const std::exception&) {
        // A toolbar without that button has nothing to switch.
    }
}

void MainWindow::Yield() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void MainWindow::SetBusyPointer(bool busy) {
    if (busy == m_busyPointer) {
        return;
    }
    m_busyPointer = busy;
    if (busy) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

bool MainWindow::IsInTaskList(const QString& path) const {
    return m_lstItem->Contains(path);
}

bool MainWindow::AddFiles(const QString& sItem) {
    try {
        const std::string path = sItem.toStdString();
        if (!FileExists(path) || IsInTaskList(sItem)) {
            return false;
        }
        Task task;
        task.source = sItem;
        task.target =
            QString::fromStdString(PagePath(path, sOutputDir.toStdString(), kWindowPageExtension));
        const QFileInfo info(sItem);
        task.sizeText = QString::fromStdString(FormatFileSize(info.size()));
        task.dateText = QLocale().toString(info.lastModified(), QLocale::ShortFormat);
        task.state = QStringLiteral("Ready");
        task.password = sPWD;
        task.icon = IconPending;
        task.checked = true;
        m_lstItem->AppendRow(task);
        // A yield lays out and repaints the whole list, so thousands of files added
        // in a row yield once per interval instead of once per file: the window
        // stays as responsive and the cost stays linear.
        if (!m_addYield.isValid() || m_addYield.elapsed() >= kAddYieldIntervalMs) {
            Yield();
            m_addYield.start();
        }
        return true;
    } catch (const std::exception& error) {
        m_seam.ShowMessage(this, QString::fromLocal8Bit(error.what()),
                           QStringLiteral("Function: Addfiles"), QMessageBox::Critical,
                           QMessageBox::Ok, QMessageBox::Ok);
        return false;
    }
}

void MainWindow::AddFilesFromDialog() {
    lCurCount = m_lstItem->RowCount() + 1;
    QString files;
    if (!ShowOpenFilesDialog(m_seam, files, true, true,
                             QStringLiteral("Microsoft Word Documents(*.doc;rtf;xml)|"
                                            "*.doc;*.rtf;*.xml|All Files (*.*)|*.*"),
                             QString(), QString(), QString(), this)) {
        return;
    }
    const QString pair(2, QChar(0));
    const qsizetype end = files.indexOf(pair);
    if (end >= 0) {
        files.truncate(end);
    }
    const QStringList parts = files.split(QChar(0));

    sOutputDir = kOutputDirUnset;
    ShowOptions(QString(), false);
    if (sOutputDir == kOutputDirUnset) {
        return;
    }

    if (parts.size() == 1) {
        if (!AddFiles(parts.front())) {
            return;
        }
    } else {
        QString folder = parts.front();
        if (!folder.endsWith(QLatin1Char(kPathSeparator))) {
            folder += QLatin1Char(kPathSeparator);
        }
        for (qsizetype i = 1; i < parts.size(); ++i) {
            if (parts[i].isEmpty()) {
                continue;
            }
            // A file that cannot be added ends the whole command.
            if (!AddFiles(folder + parts[i])) {
                return;
            }
        }
    }
    m_lstItem->setFocus();
    Yield();
    ChangeFilesState();
}

void MainWindow::ShowAddFolderDialog() {
    AddFolderDialog* dialog = addFolderDialog();
    dialog->exec();
}

AddFolderDialog* MainWindow::addFolderDialog() {
    if (m_addFolder == nullptr) {
        m_addFolder = new AddFolderDialog(*this);
    }
    return m_addFolder;
}

void MainWindow::ChangeFilesState() {
    const int n = m_lstItem->RowCount();
    TaskRow* current = m_lstItem->CurrentRow();
    int c = 0;
    for (int i = 1; i <= n; ++i) {
        TaskRow* row = m_lstItem->Row(i);
        if (row->Checked()) {
            if (row == current) {
                row->SetIcon(IconPending);
            }
            ++c;
        }
    }
    SetPanelText(3, QStringLiteral("Total %1 Files").arg(n));
    SetPanelText(1, c > 0 ? QStringLiteral("%1 Selected file(s)  ").arg(c) : QString());
}

void MainWindow::RemoveHighlightedRows() {
    std::vector<int> highlighted;
    for (int i = 1; i <= m_lstItem->RowCount(); ++i) {
        if (m_lstItem->Row(i)->isSelected()) {
            highlighted.push_back(i);
        }
    }
    // The highlight goes with its rows anyway; dropping it first spares the list
    // from updating every remaining highlight at each removal.
    m_lstItem->clearSelection();
    for (auto i = highlighted.rbegin(); i != highlighted.rend(); ++i) {
        m_lstItem->RemoveRow(*i);
    }
}

void MainWindow::RemoveSelectedTasks() {
    RemoveHighlightedRows();
    m_lstItem->setFocus();
    ChangeFilesState();
}

void MainWindow::ClearTasks() {
    if (m_lstItem->RowCount() == 0) {
        return;
    }
    if (m_seam.ShowMessage(this, QStringLiteral("Do you want to clear all tasks? "),
                           kApplicationTitle, QMessageBox::Question,
                           QMessageBox::Ok | QMessageBox::Cancel,
                           QMessageBox::Ok) == QMessageBox::Ok) {
        m_lstItem->RemoveAllRows();
    }
}

void MainWindow::SetAllChecks(bool on) {
    for (int i = 1; i <= m_lstItem->RowCount(); ++i) {
        TaskRow* row = m_lstItem->Row(i);
        row->SetChecked(on);
        row->SetIcon(IconPending);
    }
    ChangeFilesState();
}

void MainWindow::InvertChecks() {
    for (int i = 1; i <= m_lstItem->RowCount(); ++i) {
        TaskRow* row = m_lstItem->Row(i);
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
    TaskRow* row = m_lstItem->CurrentRow();
    const int k = m_lstItem->PositionOf(row);
    const int to = k + step;
    if (k == 0 || to < 1 || to > m_lstItem->RowCount()) {
        return;
    }
    TaskRow* other = m_lstItem->Row(to);
    // The row itself moves, so it keeps its check box, texts and password.
    m_lstItem->MoveRow(k, to);
    m_lstItem->setCurrentItem(row);
    Yield();
    m_lstItem->setFocus();
    row->SetIcon(IconPending);
    other->SetIcon(IconPending);
}

bool MainWindow::ShowOptions(const QString& presetFolder, bool preset) {
    OptionsDialog dialog(this, m_seam, sOutputDir, sPWD);
    if (preset) {
        Yield();
        dialog.Frame1()->opnDir(1)->setChecked(true);
        dialog.Frame1()->txtPath()->setText(presetFolder);
    }
    return dialog.exec() == QDialog::Accepted;
}

void MainWindow::ShowOptionsDialog() {
    ShowOptions(QString(), false);
}

void MainWindow::EditHighlightedOutput() {
    QList<TaskRow*> highlighted;
    for (int i = 1; i <= m_lstItem->RowCount(); ++i) {
        if (m_lstItem->Row(i)->isSelected()) {
            highlighted.push_back(m_lstItem->Row(i));
        }
    }
    TaskRow* current = m_lstItem->CurrentRow();
    const TaskRow* first = highlighted.isEmpty() ? current : highlighted.front();
    if (first == nullptr) {
        return;
    }
    const QString source = first->Source();
    const QString target = first->Target();
    sOutputDir = kOutputDirUnset;
    if (highlighted.size() < 2) {
        if (current != nullptr && current->Icon() == IconConverted) {
            OpenWithShell(m_seam, target);
            return;
        }
        const QString sourceFolder =
            source.left(source.lastIndexOf(QLatin1Char(kPathSeparator)) + 1);
        if (!target.contains(sourceFolder, Qt::CaseSensitive)) {
            ShowOptions(target.left(target.lastIndexOf(QLatin1Char(kPathSeparator)) + 1), true);
        } else {
            ShowOptions(QString(), false);
        }
    } else {
        ShowOptions(QString(), false);
    }
    if (sOutputDir == kOutputDirUnset) {
        return;
    }
    for (TaskRow* row : highlighted) {
        // A row removed while the dialog was open is no longer highlighted.
        if (m_lstItem->PositionOf(row) == 0) {
            continue;
        }
        row->SetTarget(QString::fromStdString(
            PagePath(row->Source().toStdString(), sOutputDir.toStdString(), kWindowPageExtension)));
    }
}

void MainWindow::OnListMouseReleased(Qt::MouseButton button, QPoint position) {
    if (button == Qt::LeftButton) {
        ChangeFilesState();
        return;
    }
    if (button != Qt::RightButton || bConverting) {
        return;
    }
    m_mnuPopup->ShowAt(m_lstItem->viewport()->mapToGlobal(position),
                       m_lstItem->itemAt(position) != nullptr);
}

void MainWindow::OnListKeyReleased(int key, Qt::KeyboardModifiers modifiers) {
    if (m_lstItem->CurrentRow() == nullptr) {
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
    if (m_runActive) {
        return;
    }
    m_runActive = true;
    {
        ConversionRun run(*this);
        run.Run();
    }
    m_runActive = false;
    if (m_closing) {
        emit Unloaded();
    }
}

void MainWindow::StopConversion() {
    bConverting = false;
    SetPanelText(1, QStringLiteral("Stopping..."));
    Yield();
    SetBusyPointer(false);
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
    if (m_closing) {
        event->accept();
        return;
    }
    if (bConverting &&
        m_seam.ShowMessage(this,
                           QStringLiteral("Do you want to cancel all runing tasks ") +
                               QStringLiteral("and close the software? "),
                           kApplicationTitle, QMessageBox::Question,
                           QMessageBox::Ok | QMessageBox::Cancel,
                           QMessageBox::Cancel) != QMessageBox::Ok) {
        event->ignore();
        return;
    }
    m_closing = true;
    // A run in progress ends after its current document and then lets the program
    // end; it no longer shows anything.
    bConverting = false;
    UnloadOtherWindows();
    event->accept();
    if (!m_runActive) {
        emit Unloaded();
    }
}

} // namespace pelmora
