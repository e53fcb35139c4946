#include "app/ConversionRun.h"

#include "app/BackgroundWorker.h"
#include "app/RunHost.h"
#include "app/TaskList.h"
#include "engine/Conversion.h"
#include "engine/PathHelpers.h"
#include "engine/WordSession.h"

namespace pelmora {

ConversionRun::ConversionRun(RunHost& host) : host_(host) {
    connect(&host.Rows(), &TaskList::RowAboutToBeRemoved, this,
            &ConversionRun::OnRowAboutToBeRemoved);
}

void ConversionRun::OnRowAboutToBeRemoved(int position, TaskRow* row) {
    if (row == row_) {
        row_ = nullptr;
    }
    if (position <= position_) {
        --position_;
    }
}

void ConversionRun::Run() {
    RunHost& w = host_;
    TaskList* list = &w.Rows();

    const int total = w.CheckedCount();
    if (list->RowCount() == 0 || total < 1) {
        w.Inform(QStringLiteral("Please add a task first!"));
        return;
    }

    w.EnterRunState(total);
    list->setSelectionMode(QAbstractItemView::SingleSelection);

    BackgroundWorker converter;
    WordSession session;
    if (!converter.Call([&session] { return OpenWordSession(session); })) {
        if (w.CloseAfterFailedStart()) {
            // The user kept the window: it returns to its idle look, nothing was
            // converted and no log is written.
            list->setSelectionMode(QAbstractItemView::ExtendedSelection);
            EndRun(QString());
        }
        return;
    }

    w.StepProgress(false);
    w.ShowRunStatus(QStringLiteral("Now converting ..."));
    w.Yield();

    QString runText;
    int processed = 0;
    for (position_ = 1;; ++position_) {
        if (!w.Converting() || position_ > list->RowCount()) {
            break;
        }
        TaskRow* row = list->Row(position_);
        if (!row->Checked()) {
            continue;
        }
        ++processed;
        row_ = row;
        w.Yield();
        if (row_ == nullptr) {
            // Removed while the window handled its events: never converted.
            --processed;
            continue;
        }
        const std::string source = row->Source().toStdString();
        const std::string target = row->Target().toStdString();
        list->setCurrentItem(row);
        list->scrollToItem(row);

        DocumentOptions options;
        options.overwrite = w.MenuItemChecked(QStringLiteral("mnuoverwrite"));
        options.keepPictureFolder = w.MenuItemChecked(QStringLiteral("mnuCreateDir"));
        options.compact = w.MenuItemChecked(QStringLiteral("mnuCompress"));
        options.password = row->Password().toStdString();
        const ConversionResult result =
            converter.Call([&] { return ConvertDocument(session, source, target, options); });
        const bool converted = result.Converted();

        row = row_;
        if (row != nullptr) {
            if (converted) {
                row->SetIcon(IconConverted);
                row->SetState(QStringLiteral("Done"));
            } else {
                row->SetState(QStringLiteral("Failure"));
            }
        }
        const QString logLine = QString::fromStdString(result.line);
        runText = runText.isEmpty() ? logLine : runText + QLatin1Char('\n') + logLine;
        w.AppendLogLine(logLine);
        w.ShowRunStatus(QStringLiteral("Now Converting ...     %1/%2").arg(processed).arg(total));
        if (row != nullptr) {
            row->SetChecked(false);
            // The row may have been moved while it converted; go on after it.
            position_ = list->PositionOf(row);
        }
        w.StepProgress(false);
        row_ = nullptr;
    }

    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    converter.Call([&session] { CloseWordSession(session); });
    w.StepProgress(true);
    w.Yield();
    EndRun(runText);
}

void ConversionRun::EndRun(const QString& runText) {
    RunHost& w = host_;
    if (w.MenuItemChecked(QStringLiteral("mnuLogfile")) && !runText.isEmpty()) {
        WriteLogFile(DefaultLogPath(), runText.toStdString());
    }
    w.LeaveRunState();
}

} // namespace pelmora
