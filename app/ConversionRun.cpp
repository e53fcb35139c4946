#include "app/ConversionRun.h"

#include "app/RunHost.h"
#include "app/TaskList.h"
#include "engine/Conversion.h"
#include "engine/PathHelpers.h"
#include "engine/TextLines.h"

namespace pelmora {

ConversionRun::ConversionRun(RunHost& host) : host_(host) {
    connect(&host.Rows(), &TaskList::RowAboutToBeRemoved, this,
            &ConversionRun::OnRowAboutToBeRemoved);
}

void ConversionRun::OnRowAboutToBeRemoved(int, TaskRow* row) {
    taken_.erase(row);
    for (auto& [index, taken] : rowsAt_) {
        if (taken == row) {
            taken = nullptr;
        }
    }
}

std::optional<BatchDocument> ConversionRun::Next() {
    RunHost& w = host_;
    TaskList* list = &w.Rows();
    if (!w.Converting()) {
        return std::nullopt;
    }
    // From the top each time: a row moved above the ones done is still found.
    for (int position = 1; position <= list->RowCount(); ++position) {
        TaskRow* row = list->Row(position);
        if (!row->Checked() || taken_.count(row) != 0) {
            continue;
        }
        taken_.insert(row);
        rowsAt_[nextIndex_++] = row;
        BatchDocument document;
        document.source = row->Source().toStdString();
        document.page = row->Target().toStdString();
        document.options.overwrite = w.MenuItemChecked(QStringLiteral("mnuoverwrite"));
        document.options.keepPictureFolder = w.MenuItemChecked(QStringLiteral("mnuCreateDir"));
        document.options.compact = w.MenuItemChecked(QStringLiteral("mnuCompress"));
        document.options.password = row->Password().toStdString();
        return document;
    }
    return std::nullopt;
}

// A row removed or unchecked after it was taken is not converted, nor anything once a
// stop was asked: as if it had not been taken yet.
bool ConversionRun::Wanted(std::size_t index) {
    const auto row = rowsAt_.find(index);
    return host_.Converting() && row != rowsAt_.end() && row->second != nullptr &&
           row->second->Checked();
}

void ConversionRun::DocumentStarted(std::size_t index, const BatchDocument&) {
    RunHost& w = host_;
    ++converting_;
    if (!announced_) {
        // The first session is up.
        announced_ = true;
        w.StepProgress(false);
        w.ShowRunStatus(QStringLiteral("Now converting ..."));
    } else if (converting_ > 1) {
        ShowProgressText();
    }
    if (TaskRow* row = rowsAt_[index]) {
        w.Rows().setCurrentItem(row);
        w.Rows().scrollToItem(row);
    }
}

void ConversionRun::DocumentFinished(std::size_t index, const BatchDocument&,
                                     const DocumentOutcome& outcome) {
    RunHost& w = host_;
    --converting_;
    ++processed_;
    TaskRow* row = rowsAt_[index];
    rowsAt_.erase(index);
    if (row != nullptr) {
        if (outcome.result.Converted()) {
            row->SetIcon(IconConverted);
            row->SetState(QStringLiteral("Done"));
        } else {
            row->SetState(QStringLiteral("Failure"));
        }
    }
    // A name with a line end or escape sequence stays on its one line.
    const QString logLine = QString::fromStdString(EscapeControlCharacters(outcome.result.line));
    runText_ = runText_.isEmpty() ? logLine : runText_ + QLatin1Char('\n') + logLine;
    w.AppendLogLine(logLine);
    ShowProgressText();
    if (row != nullptr) {
        row->SetChecked(false);
    }
    w.StepProgress(false);
}

void ConversionRun::TimeLeft(double seconds) {
    host_.TimeLeftEstimated(seconds);
}

void ConversionRun::ShowProgressText() {
    QString text = QStringLiteral("Now Converting ...     %1/%2").arg(processed_).arg(total_);
    if (converting_ > 1) {
        text += QStringLiteral(", %1 at once").arg(converting_);
    }
    host_.ShowRunStatus(text);
}

void ConversionRun::Run() {
    RunHost& w = host_;
    TaskList* list = &w.Rows();

    total_ = w.CheckedCount();
    if (list->RowCount() == 0 || total_ < 1) {
        w.Inform(QStringLiteral("Please add a task first!"));
        return;
    }

    w.EnterRunState(total_);
    list->setSelectionMode(QAbstractItemView::SingleSelection);

    PoolSettings pool;
    pool.sessions = w.RunSessions();
    BatchRunner runner(w.Converter(), pool);
    runner.StartSessions(static_cast<std::size_t>(total_));
    // Stop lets the tasks in progress finish, as the one-session run did: nothing more
    // is handed out once the run state is left (Next, Wanted).
    const RunEnd end =
        runner.Run(*this, static_cast<std::size_t>(total_), *this, [&w] { w.Yield(); });
    if (end == RunEnd::kConverterUnavailable && processed_ == 0) {
        if (w.CloseAfterFailedStart()) {
            // The user kept the window: it returns to its idle look, nothing was
            // converted and no log is written.
            list->setSelectionMode(QAbstractItemView::ExtendedSelection);
            EndRun(QString());
        }
        return;
    }

    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    w.StepProgress(true);
    w.Yield();
    EndRun(runText_);
}

void ConversionRun::EndRun(const QString& runText) {
    RunHost& w = host_;
    if (w.MenuItemChecked(QStringLiteral("mnuLogfile")) && !runText.isEmpty()) {
        WriteLogFile(DefaultLogPath(), runText.toStdString());
    }
    w.LeaveRunState();
}

} // namespace pelmora
