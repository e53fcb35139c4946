#include "app/ConversionRun.h"

#include "app/RunHost.h"
#include "app/TaskList.h"
#include "engine/PathHelpers.h"
#include "engine/TextLines.h"

#include <QPointer>

namespace pelmora {

ConversionRun::ConversionRun(RunHost& host, QObject* parent) : QObject(parent), host_(host) {
    connect(&host.Rows(), &TaskList::RowAboutToBeRemoved, this,
            &ConversionRun::OnRowAboutToBeRemoved);
    connect(&host.Rows(), &QTreeWidget::itemChanged, this, &ConversionRun::OnRowChanged);
}

ConversionRun::~ConversionRun() {
    Abort();
    if (worker_.joinable()) {
        worker_.join();
    }
}

bool ConversionRun::Start() {
    TaskList& list = host_.Rows();
    total_ = host_.CheckedCount();
    if (list.RowCount() == 0 || total_ < 1) {
        host_.Inform(QStringLiteral("Please add a task first!"));
        return false;
    }
    settings_ = host_.Settings();
    for (int position = 1; position <= list.RowCount(); ++position) {
        TaskRow* row = list.Row(position);
        if (row->Checked()) {
            queue_.push_back({row, row->Source(), row->Target(), row->Password()});
            seen_.insert(row);
        }
    }
    host_.EnterRunState(total_);
    list.setSelectionMode(QAbstractItemView::SingleSelection);
    worker_ =
        std::thread([this, total = static_cast<std::size_t>(total_), sessions = host_.RunSessions(),
                     &converter = host_.Converter()] { Work(converter, total, sessions); });
    return true;
}

void ConversionRun::Stop() {
    stop_ = true;
}

void ConversionRun::Abort() {
    stop_ = true;
    abort_ = true;
}

void ConversionRun::SetSettings(const ConversionSettings& settings) {
    std::lock_guard guard(lock_);
    settings_ = settings;
}

void ConversionRun::Work(ConverterFactory& converter, std::size_t total, std::size_t sessions) {
    PoolSettings pool;
    pool.sessions = sessions;
    BatchRunner runner(converter, pool);
    runner.StartSessions(total);
    // An abort from the window's thread ends the offices as soon as the pool looks.
    const RunEnd end = runner.Run(*this, total, *this, &abort_);
    QMetaObject::invokeMethod(
        this, [this, end] { OnEnded(end); }, Qt::QueuedConnection);
}

std::optional<BatchDocument> ConversionRun::Next() {
    if (stop_) {
        return std::nullopt;
    }
    std::lock_guard guard(lock_);
    if (queue_.empty()) {
        return std::nullopt;
    }
    const Pending pending = queue_.front();
    queue_.pop_front();
    handedOut_[nextIndex_++] = {pending.row, true};
    BatchDocument document;
    document.source = pending.source.toStdString();
    document.page = pending.target.toStdString();
    document.options = settings_.ForDocument(pending.password);
    return document;
}

// A row removed or unchecked after it was taken is not converted, nor anything once a
// stop was asked: as if it had not been taken yet.
bool ConversionRun::Wanted(std::size_t index) {
    if (stop_) {
        return false;
    }
    std::lock_guard guard(lock_);
    const auto at = handedOut_.find(index);
    return at != handedOut_.end() && at->second.row != nullptr && at->second.wanted;
}

void ConversionRun::DocumentStarted(std::size_t index, const BatchDocument&) {
    QMetaObject::invokeMethod(
        this, [this, index] { OnStarted(index); }, Qt::QueuedConnection);
}

void ConversionRun::DocumentFinished(std::size_t index, const BatchDocument&,
                                     const DocumentOutcome& outcome) {
    // A name with a line end or escape sequence stays on its one line.
    const QString line = QString::fromStdString(EscapeControlCharacters(outcome.result.line));
    const bool converted = outcome.result.Converted();
    QMetaObject::invokeMethod(
        this, [this, index, line, converted] { OnFinished(index, line, converted); },
        Qt::QueuedConnection);
}

void ConversionRun::TimeLeft(double seconds) {
    QMetaObject::invokeMethod(
        this, [this, seconds] { host_.TimeLeftEstimated(seconds); }, Qt::QueuedConnection);
}

TaskRow* ConversionRun::RowAt(std::size_t index, bool forget) {
    std::lock_guard guard(lock_);
    const auto at = handedOut_.find(index);
    TaskRow* row = at != handedOut_.end() ? at->second.row : nullptr;
    if (forget && at != handedOut_.end()) {
        handedOut_.erase(at);
    }
    return row;
}

void ConversionRun::OnStarted(std::size_t index) {
    ++converting_;
    if (!announced_) {
        // The first session is up.
        announced_ = true;
        host_.StepProgress(false);
        host_.ShowRunStatus(QStringLiteral("Now converting ..."));
    } else if (converting_ > 1) {
        ShowProgressText();
    }
    if (TaskRow* row = RowAt(index, false)) {
        row->SetInProgress(true);
        host_.Rows().setCurrentItem(row);
        host_.Rows().scrollToItem(row);
    }
}

void ConversionRun::OnFinished(std::size_t index, const QString& line, bool converted) {
    --converting_;
    ++processed_;
    if (TaskRow* row = RowAt(index, true)) {
        row->SetInProgress(false);
        if (converted) {
            row->SetIcon(IconConverted);
            row->SetState(QStringLiteral("Done"));
        } else {
            // The line after its time says what went wrong.
            row->SetState(QStringLiteral("Failure"),
                          line.mid(line.indexOf(QLatin1Char(' '))).trimmed());
        }
        row->SetChecked(false);
    }
    // Each line reaches the day's log as soon as it is done, so a run that is ended
    // early keeps the record of its finished work.
    if (host_.Settings().writeLog) {
        WriteLogFile(DefaultLogPath(), line.toStdString());
    }
    host_.AppendLogLine(line);
    ShowProgressText();
    host_.StepProgress(false);
}

void ConversionRun::ShowProgressText() {
    QString text = QStringLiteral("Now Converting ...     %1/%2").arg(processed_).arg(total_);
    if (converting_ > 1) {
        text += QStringLiteral(", %1 at once").arg(converting_);
    }
    host_.ShowRunStatus(text);
}

void ConversionRun::OnRowAboutToBeRemoved(int, TaskRow* row) {
    std::lock_guard guard(lock_);
    std::erase_if(queue_, [row](const Pending& pending) { return pending.row == row; });
    seen_.erase(row);
    for (auto& [index, taken] : handedOut_) {
        if (taken.row == row) {
            taken.row = nullptr;
        }
    }
}

void ConversionRun::OnRowChanged(QTreeWidgetItem* item, int column) {
    if (column != ColumnName || item->type() != TaskRow::Type || ended_) {
        return;
    }
    auto* row = static_cast<TaskRow*>(item);
    std::lock_guard guard(lock_);
    const auto queued = std::find_if(queue_.begin(), queue_.end(),
                                     [row](const Pending& pending) { return pending.row == row; });
    // Taken but not yet at a session: the check decides whether it still goes.
    for (auto& [index, taken] : handedOut_) {
        if (taken.row == row) {
            taken.wanted = row->Checked();
        }
    }
    if (!row->Checked()) {
        // Unchecked before its turn: passed over, as an unchecked row always is.
        if (queued != queue_.end()) {
            queue_.erase(queued);
            seen_.erase(row);
        }
        return;
    }
    // Checked during the run and never handed out: it is converted too, once.
    if (seen_.insert(row).second) {
        queue_.push_back({row, row->Source(), row->Target(), row->Password()});
    }
}

void ConversionRun::OnEnded(RunEnd end) {
    if (worker_.joinable()) {
        worker_.join();
    }
    ended_ = true;
    TaskList& list = host_.Rows();
    for (int position = 1; position <= list.RowCount(); ++position) {
        list.Row(position)->SetInProgress(false);
    }
    QPointer<ConversionRun> self(this);
    if (end == RunEnd::kConverterUnavailable && processed_ == 0 && !abort_) {
        if (host_.CloseAfterFailedStart() && self) {
            // The user kept the window: it returns to its idle look; nothing was
            // converted and no log is written.
            list.setSelectionMode(QAbstractItemView::ExtendedSelection);
            host_.LeaveRunState();
        }
    } else {
        list.setSelectionMode(QAbstractItemView::ExtendedSelection);
        host_.StepProgress(true);
        host_.LeaveRunState();
    }
    if (self) {
        emit Ended();
    }
}

} // namespace pelmora
