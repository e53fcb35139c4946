#include "app/ConversionRun.h"

#include "app/BackgroundWorker.h"
#include "engine/Conversion.h"
#include "app/DesktopSeam.h"
#include "engine/PathHelpers.h"
#include "app/TaskList.h"
#include "app/WindowHelpers.h"
#include "engine/WordSession.h"
#include "app/MainWindow.h"

#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTextCursor>

namespace pelmora {

namespace {

// The number the status panel starts with: the checked tasks at the last refresh.
int LeadingNumber(const QString& text) {
    static const QRegularExpression digits(QStringLiteral("^\\s*(\\d+)"));
    const QRegularExpressionMatch match = digits.match(text);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

} // namespace

ConversionRun::ConversionRun(MainWindow& window) : m_window(window) {
    connect(window.lstItem(), &TaskList::RowAboutToBeRemoved, this,
            &ConversionRun::OnRowAboutToBeRemoved);
}

void ConversionRun::OnRowAboutToBeRemoved(int position, TaskRow* row) {
    if (row == m_row) {
        m_row = nullptr;
    }
    if (position <= m_position) {
        --m_position;
    }
}

void ConversionRun::Run() {
    MainWindow& w = m_window;
    TaskList* list = w.lstItem();
    QProgressBar* progress = w.pgbCompress();

    const int total = LeadingNumber(w.PanelText(1));
    if (list->RowCount() == 0 || total < 1) {
        w.Seam().ShowMessage(&w, QStringLiteral("Please add a task first!"), kApplicationTitle,
                             QMessageBox::Information, QMessageBox::Ok, QMessageBox::Ok);
        return;
    }

    w.bConverting = true;
    w.SetToolbarButtonEnabled(5, false);
    w.SetToolbarButtonEnabled(6, true);
    w.SetMenuItemEnabled(QStringLiteral("mnuStop"), true);
    progress->setValue(0);
    progress->setMaximum((total + 2) * 10);
    progress->setValue(0);
    progress->show();
    w.Yield();

    w.SetPanelText(1, QStringLiteral("Initializing ..."));
    w.SetBusyPointer(true);
    w.Yield();
    list->setSelectionMode(QAbstractItemView::SingleSelection);

    BackgroundWorker converter;
    WordSession session;
    if (!converter.Call([&session] { return OpenWordSession(session); })) {
        w.close();
        if (w.isVisible()) {
            // The user kept the window: it returns to its idle look, nothing was
            // converted and no log is written.
            list->setSelectionMode(QAbstractItemView::ExtendedSelection);
            EndRun(QString());
        } else {
            w.SetBusyPointer(false);
        }
        return;
    }

    progress->setValue(10);
    w.SetPanelText(1, QStringLiteral("Now converting ..."));
    w.Yield();

    QString runText;
    int processed = 0;
    for (m_position = 1;; ++m_position) {
        if (!w.bConverting || m_position > list->RowCount()) {
            break;
        }
        TaskRow* row = list->Row(m_position);
        if (!row->Checked()) {
            continue;
        }
        ++processed;
        m_row = row;
        w.Yield();
        if (m_row == nullptr) {
            // Removed while the window handled its events: never converted.
            --processed;
            continue;
        }
        const std::string source = row->Source().toStdString();
        const std::string target = row->Target().toStdString();
        list->setCurrentItem(row);
        list->scrollToItem(row);

        DocumentOptions options;
        options.overwrite_ = w.MenuItemChecked(QStringLiteral("mnuoverwrite"));
        options.keepPictureFolder_ = w.MenuItemChecked(QStringLiteral("mnuCreateDir"));
        options.compact_ = w.MenuItemChecked(QStringLiteral("mnuCompress"));
        options.password_ = row->Password().toStdString();
        const ConversionResult result =
            converter.Call([&] { return ConvertDocument(session, source, target, options); });
        const bool converted = result.Converted();

        row = m_row;
        if (row != nullptr) {
            if (converted) {
                row->SetIcon(IconConverted);
                row->SetState(QStringLiteral("Done"));
            } else {
                row->SetState(QStringLiteral("Failure"));
            }
        }
        const QString logLine = QString::fromStdString(result.line_);
        runText = runText.isEmpty() ? logLine : runText + QLatin1Char('\n') + logLine;
        w.txtLog()->appendPlainText(logLine);
        w.SetPanelText(1, QStringLiteral("Now Converting ...     %1/%2").arg(processed).arg(total));
        if (row != nullptr) {
            row->SetChecked(false);
            // The row may have been moved while it converted; go on after it.
            m_position = list->PositionOf(row);
        }
        progress->setValue(std::min(progress->value() + 10, progress->maximum()));
        m_row = nullptr;
    }

    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    converter.Call([&session] { CloseWordSession(session); });
    progress->setValue(progress->maximum());
    w.Yield();
    EndRun(runText);
}

void ConversionRun::EndRun(const QString& runText) {
    MainWindow& w = m_window;
    if (w.MenuItemChecked(QStringLiteral("mnuLogfile")) && !runText.isEmpty()) {
        WriteLogFile(DefaultLogPath(), runText.toStdString());
    }
    QPlainTextEdit* pane = w.txtLog();
    const QString paneText = pane->toPlainText();
    QTextCursor caret = pane->textCursor();
    caret.setPosition(paneText.lastIndexOf(QLatin1Char('\n')) + 1);
    pane->setTextCursor(caret);
    pane->ensureCursorVisible();

    w.SetMenuItemEnabled(QStringLiteral("mnuStop"), false);
    w.SetToolbarButtonEnabled(5, true);
    w.SetToolbarButtonEnabled(6, false);
    w.pgbCompress()->hide();
    w.SetPanelText(1, QStringLiteral("Ready!"));

    w.bConverting = false;
    w.SetBusyPointer(false);
    w.ChangeFilesState();
}

} // namespace pelmora
