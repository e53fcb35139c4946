#include "engine/BatchRunner.h"

#include "engine/Conversion.h"
#include "engine/PendingDocuments.h"
#include "engine/ProcessMemory.h"

#include <algorithm>
#include <chrono>
#include <string>

namespace pelmora {

namespace {

using Clock = std::chrono::steady_clock;

// The longest the run waits for its sessions without looking at the caller's stop
// flag and the time left.
constexpr auto kWaitSlice = std::chrono::milliseconds(30);

// How often the run tells its estimate of the time left while documents convert.
constexpr double kTimeLeftInterval = 0.25;

// Never more offices than the emergency stop can track.
constexpr std::size_t kMostSessions = 32;

// Sessions that could not start their office, beyond which the pool stops replacing
// them: an office that keeps failing to start is not tried for ever.
constexpr std::size_t kMostFailedStarts = 8;

// The measured resident memory of one office converting the sample documents, with
// room for larger documents; the pool never starts more offices than the available
// memory holds at this size.
constexpr std::uint64_t kOfficeMemoryNeed = 400ull << 20;

// One session per core, lowered so that every office finds kOfficeMemoryNeed of the
// memory available now; at least 1.
std::size_t DefaultPoolSize() {
    std::size_t size = std::max(1u, std::thread::hardware_concurrency());
    const std::uint64_t available = AvailableMemory();
    if (available > 0) {
        size = std::min<std::size_t>(size, available / kOfficeMemoryNeed);
    }
    return std::clamp<std::size_t>(size, 1, kMostSessions);
}

// Adds the wall time of its scope to total: the time spent inside converter calls.
class OfficeTimer {
public:
    explicit OfficeTimer(std::atomic<std::int64_t>& total) : total_(total), start_(Clock::now()) {}
    ~OfficeTimer() {
        total_ +=
            std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start_).count();
    }
    OfficeTimer(const OfficeTimer&) = delete;
    OfficeTimer& operator=(const OfficeTimer&) = delete;

private:
    std::atomic<std::int64_t>& total_;
    Clock::time_point start_;
};

} // namespace

DocumentList::DocumentList(std::vector<BatchDocument> documents)
    : documents_(std::move(documents)) {}

std::optional<BatchDocument> DocumentList::Next() {
    if (next_ >= documents_.size()) {
        return std::nullopt;
    }
    return documents_[next_++];
}

struct BatchRunner::Worker {
    std::thread thread;
    // Guarded by the runner's lock.
    std::optional<Job> job;
    bool quit = false;
    // The run's own view, kept on the caller's thread.
    bool idle = false;
    bool ended = false;
};

BatchRunner::BatchRunner(ConverterFactory& converter, PoolSettings settings)
    : converter_(converter), settings_(settings),
      poolSize_(std::clamp<std::size_t>(
          settings.sessions == 0 ? DefaultPoolSize() : settings.sessions, 1, kMostSessions)) {}

BatchRunner::~BatchRunner() {
    if (!workers_.empty()) {
        EndWorkers();
    }
}

void BatchRunner::StartSessions(std::size_t count) {
    // Before any office came up, a failed start means there is no converter (104).
    const bool mayReplace =
        failedStarts_ == 0 || (sessionsStarted_.load() > 0 && failedStarts_ < kMostFailedStarts);
    while (mayReplace && LiveWorkers() < std::min(count, poolSize_)) {
        StartWorker();
    }
}

std::size_t BatchRunner::LiveWorkers() const {
    return static_cast<std::size_t>(
        std::count_if(workers_.begin(), workers_.end(), [](const auto& w) { return !w->ended; }));
}

void BatchRunner::StartWorker() {
    workers_.push_back(std::make_unique<Worker>());
    Worker& worker = *workers_.back();
    worker.thread =
        std::thread([this, &worker, self = workers_.size() - 1] { WorkerLoop(worker, self); });
}

void BatchRunner::Post(Event event) {
    {
        std::lock_guard guard(lock_);
        events_.push_back(std::move(event));
    }
    eventWake_.notify_one();
}

bool BatchRunner::OpenSession(std::unique_ptr<ConverterSession>& session) {
    const OfficeTimer timer(officeMicroseconds_);
    session = StartSession(converter_, settings_.documentTimeLimit);
    if (!session) {
        return false;
    }
    ++sessionsStarted_;
    return true;
}

void BatchRunner::CloseSession(std::unique_ptr<ConverterSession>& session) {
    const OfficeTimer timer(officeMicroseconds_);
    EndSession(session);
}

std::optional<BatchRunner::Job> BatchRunner::NextJob(Worker& worker) {
    std::unique_lock lock(lock_);
    workerWake_.wait(lock, [&] { return worker.quit || worker.job.has_value(); });
    std::optional<Job> job = std::move(worker.job);
    worker.job.reset();
    return job;
}

DocumentOutcome BatchRunner::Convert(ConverterSession* session, const BatchDocument& document) {
    const auto start = Clock::now();
    ConversionResult result;
    {
        const OfficeTimer timer(officeMicroseconds_);
        try {
            result = ConvertDocument(session, document.source, document.page, document.options);
        } catch (const std::exception& e) {
            result = MakeConversionResult(ConversionCode::kFailed, document.source, document.page,
                                          e.what());
        }
    }
    return DocumentOutcome{std::move(result),
                           std::chrono::duration<double>(Clock::now() - start).count()};
}

// Offices grow over long runs: a fresh one after enough documents or memory, unless
// the run is ending anyway.
bool BatchRunner::RecycleWhenWorn(const Worker& worker, std::unique_ptr<ConverterSession>& session,
                                  std::size_t& converted) {
    ++converted;
    bool ending = false;
    {
        std::lock_guard guard(lock_);
        ending = worker.quit || stopping_;
    }
    const bool worn = converted >= settings_.documentsPerSession ||
                      (settings_.officeMemoryLimit > 0 && session &&
                       ProcessTreeMemory(session->OfficeProcessId()) > settings_.officeMemoryLimit);
    if (!worn || ending) {
        return true;
    }
    CloseSession(session);
    converted = 0;
    return OpenSession(session);
}

// Each session lives on its own thread: an office ends with the thread that started it,
// and a hung office holds up only its own thread.
void BatchRunner::WorkerLoop(Worker& worker, std::size_t self) {
    std::unique_ptr<ConverterSession> session;
    if (!OpenSession(session)) {
        Post({Event::Kind::kFailed, self, 0, {}});
        return;
    }
    Post({Event::Kind::kReady, self, 0, {}});
    std::size_t converted = 0;
    while (std::optional<Job> job = NextJob(worker)) {
        Post({Event::Kind::kDone, self, job->index, Convert(session.get(), job->document)});
        if (!RecycleWhenWorn(worker, session, converted)) {
            Post({Event::Kind::kFailed, self, 0, {}});
            return;
        }
        Post({Event::Kind::kReady, self, 0, {}});
    }
    CloseSession(session);
    Post({Event::Kind::kEnded, self, 0, {}});
}

RunEnd BatchRunner::Run(DocumentSource& source, std::size_t documentCount, BatchObserver& observer,
                        const std::atomic<bool>* stop) {
    stopping_ = false;
    stopFlag_ = stop;
    observer.RunStarted(documentCount);
    PendingDocuments pending(poolSize_);
    const auto runStart = Clock::now();
    const auto sinceStart = [&] {
        return std::chrono::duration<double>(Clock::now() - runStart).count();
    };
    double lastTold = 0;
    RunEnd end = RunEnd::kCompleted;
    for (;;) {
        // Report in list order, as soon as a document and all before it are done.
        pending.ReportDone(observer, StopAsked());
        // The observer may have stopped the run just now.
        const bool stopped = StopAsked();
        if (!stopped) {
            TellTimeLeft(pending, observer, sinceStart(), lastTold);
            TakeDocuments(pending, source);
            // An office per document in hand, up to the pool's size; never one for an
            // empty list.
            StartSessions(pending.Count());
            HandOut(pending, source, observer, sinceStart());
        }
        if (const std::optional<RunEnd> over = RunOver(pending, observer, stopped)) {
            end = *over;
            break;
        }
        for (Event& event : WaitForEvents()) {
            if (Apply(event, pending)) {
                lastTold = -kTimeLeftInterval; // told at once
            }
        }
    }
    EndWorkers();
    stopFlag_ = nullptr;
    if (end == RunEnd::kStopped) {
        // Offices ended at once could not remove their own folders.
        converter_.RemoveLeftovers();
    }
    observer.RunFinished();
    return end;
}

// The caller's flag may be set where nothing else may be done (a signal handler): the
// run makes it a stop the first time it looks.
bool BatchRunner::StopAsked() {
    if (!stopping_ && stopFlag_ != nullptr && stopFlag_->load()) {
        Stop();
    }
    return stopping_;
}

// The estimate of the time left, after every finished document and a few times a second.
void BatchRunner::TellTimeLeft(const PendingDocuments& pending, BatchObserver& observer, double now,
                               double& lastTold) {
    if (now - lastTold < kTimeLeftInterval) {
        return;
    }
    if (const std::optional<double> left = pending.SecondsLeft(now)) {
        observer.TimeLeft(*left);
        lastTold = now;
    }
}

// One session takes a document only when it is free for it (or, before any session
// runs, to learn that the list is not empty): the list may still change and a
// document's options are read as it starts. Several sessions take every document once
// the first office is starting, to hand out the costliest first.
void BatchRunner::TakeDocuments(PendingDocuments& pending, DocumentSource& source) {
    while (!pending.Exhausted()) {
        const std::size_t idle = static_cast<std::size_t>(
            std::count_if(workers_.begin(), workers_.end(), [](const auto& w) { return w->idle; }));
        if (LiveWorkers() == 0 ? pending.Count() > 0
                               : !pending.LongestFirst() && idle <= pending.Waiting()) {
            return;
        }
        if (!pending.Take(source)) {
            return;
        }
    }
}

// Every idle session gets the next document that may go now; a document whose page is
// being converted, or waits behind an earlier document of the same page, stays for a
// later round.
void BatchRunner::HandOut(PendingDocuments& pending, DocumentSource& source,
                          BatchObserver& observer, double now) {
    for (const auto& worker : workers_) {
        // A stop from another thread may come at any time; no office gets more work.
        if (pending.Waiting() == 0 || StopAsked()) {
            return;
        }
        if (!worker->idle || worker->ended) {
            continue;
        }
        const std::optional<std::size_t> position = pending.NextToHandOut(source);
        if (!position) {
            return;
        }
        const BatchDocument& document = pending.HandOut(*position, now);
        worker->idle = false;
        {
            std::lock_guard guard(lock_);
            worker->job = Job{*position, document};
        }
        workerWake_.notify_all();
        observer.DocumentStarted(*position, document);
    }
}

std::optional<RunEnd> BatchRunner::RunOver(PendingDocuments& pending, BatchObserver& observer,
                                           bool stopped) {
    if (stopped) {
        // What is still converting was stopped in its office; the documents done
        // after a stopped one are still reported, in order.
        if (pending.Converting()) {
            return std::nullopt;
        }
        pending.ReportDoneAfterStop(observer);
        return RunEnd::kStopped;
    }
    if (pending.Exhausted() && pending.Count() == 0) {
        return RunEnd::kCompleted;
    }
    if (LiveWorkers() == 0 && pending.Count() > 0) {
        return RunEnd::kConverterUnavailable;
    }
    return std::nullopt;
}

std::deque<BatchRunner::Event> BatchRunner::WaitForEvents() {
    std::deque<Event> events;
    std::unique_lock lock(lock_);
    eventWake_.wait_for(lock, kWaitSlice, [this] { return !events_.empty() || wake_; });
    wake_ = false;
    events.swap(events_);
    return events;
}

bool BatchRunner::Apply(Event& event, PendingDocuments& pending) {
    Worker& worker = *workers_[event.worker];
    switch (event.kind) {
    case Event::Kind::kReady:
        worker.idle = true;
        break;
    case Event::Kind::kFailed:
        ++failedStarts_;
        [[fallthrough]];
    case Event::Kind::kEnded:
        worker.ended = true;
        worker.idle = false;
        break;
    case Event::Kind::kDone: {
        // The office was ended under this document: it was stopped, not failed.
        const bool stopped = StopAsked() && event.outcome.result.code == ConversionCode::kFailed;
        pending.Finish(event.index, std::move(event.outcome), stopped);
        return true;
    }
    }
    return false;
}

void BatchRunner::Stop() {
    if (stopping_.exchange(true)) {
        return;
    }
    converter_.StopAllNow();
    {
        std::lock_guard guard(lock_);
        wake_ = true;
    }
    eventWake_.notify_all();
}

void BatchRunner::EndWorkers() {
    {
        std::lock_guard guard(lock_);
        for (const auto& worker : workers_) {
            worker->quit = true;
        }
    }
    workerWake_.notify_all();
    // Closing an office takes a moment; the sessions say when they are gone.
    auto running = [this] {
        return std::any_of(workers_.begin(), workers_.end(),
                           [](const auto& w) { return !w->ended; });
    };
    while (running()) {
        for (const Event& event : WaitForEvents()) {
            if (event.kind == Event::Kind::kFailed || event.kind == Event::Kind::kEnded) {
                workers_[event.worker]->ended = true;
            }
        }
    }
    for (const auto& worker : workers_) {
        worker->thread.join();
    }
    workers_.clear();
    std::lock_guard guard(lock_);
    events_.clear();
}

double BatchRunner::OfficeSeconds() const {
    return static_cast<double>(officeMicroseconds_.load()) / 1e6;
}

std::size_t BatchRunner::SessionsStarted() const {
    return sessionsStarted_.load();
}

} // namespace pelmora
