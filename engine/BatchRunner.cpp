#include "engine/BatchRunner.h"

#include "engine/Conversion.h"
#include "engine/ExpectedCost.h"
#include "engine/HandOutQueue.h"
#include "engine/StagingFolder.h"
#include "engine/TimeLeftEstimator.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace pelmora {

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

// How often the waiting run gives the caller's yield a turn.
constexpr auto kYieldInterval = std::chrono::milliseconds(30);

// How often the run tells its estimate of the time left while documents convert.
constexpr double kTimeLeftInterval = 0.25;

// Never more offices than the emergency stop can track.
constexpr std::size_t kMostSessions = 32;

// Sessions that could not start their office, beyond which the pool stops replacing
// them: an office that keeps failing to start is not tried for ever.
constexpr std::size_t kMostFailedStarts = 8;

std::uint64_t ReadKilobytes(const std::string& file, const std::string& key) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        if (line.compare(0, key.size(), key) == 0) {
            std::istringstream value(line.substr(key.size()));
            std::uint64_t kilobytes = 0;
            value >> kilobytes;
            return kilobytes;
        }
    }
    return 0;
}

// Pages are compared as absolute, normalized paths: "a.htm" and "./a.htm" are one page.
std::string PageKey(const std::string& page) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(page, ec);
    return (ec ? fs::path(page) : absolute).lexically_normal().string();
}

} // namespace

std::size_t DefaultPoolSize() {
    std::size_t size = std::max(1u, std::thread::hardware_concurrency());
    const std::uint64_t available = ReadKilobytes("/proc/meminfo", "MemAvailable:") << 10;
    if (available > 0) {
        size = std::min<std::size_t>(size, available / kOfficeMemoryNeed);
    }
    return std::clamp<std::size_t>(size, 1, kMostSessions);
}

std::uint64_t ProcessTreeMemory(int pid) {
    if (pid <= 0) {
        return 0;
    }
    const std::string folder = "/proc/" + std::to_string(pid);
    std::uint64_t bytes = ReadKilobytes(folder + "/status", "VmRSS:") << 10;
    std::error_code ec;
    for (const fs::directory_entry& task : fs::directory_iterator(folder + "/task", ec)) {
        std::ifstream children(task.path() / "children");
        int child = 0;
        while (children >> child) {
            bytes += ProcessTreeMemory(child);
        }
    }
    return bytes;
}

DocumentList::DocumentList(std::vector<BatchDocument> documents)
    : documents_(std::move(documents)) {}

std::optional<BatchDocument> DocumentList::Next() {
    if (next_ >= documents_.size()) {
        return std::nullopt;
    }
    return documents_[next_++];
}

struct BatchRunner::Worker {
    struct Job {
        std::size_t index = 0;
        BatchDocument document;
    };
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
        EndWorkers({});
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

// Each session lives on its own thread: an office ends with the thread that started it,
// and a hung office holds up only its own thread.
void BatchRunner::WorkerLoop(Worker& worker, std::size_t self) {
    auto timed = [this](auto call) {
        const auto start = Clock::now();
        auto result = call();
        officeMicroseconds_ +=
            std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
        return result;
    };
    std::unique_ptr<ConverterSession> session;
    auto open = [&] {
        return timed([&] {
            session = StartSession(converter_, settings_.documentTimeLimit);
            if (!session) {
                return false;
            }
            ++sessionsStarted_;
            return true;
        });
    };
    auto close = [&] {
        timed([&] {
            EndSession(session);
            return true;
        });
    };

    if (!open()) {
        Post({Event::Kind::kFailed, self, 0, {}});
        return;
    }
    Post({Event::Kind::kReady, self, 0, {}});
    std::size_t converted = 0;
    for (;;) {
        Worker::Job job;
        {
            std::unique_lock lock(lock_);
            workerWake_.wait(lock, [&] { return worker.quit || worker.job.has_value(); });
            if (!worker.job) {
                break;
            }
            job = std::move(*worker.job);
            worker.job.reset();
        }
        const auto start = Clock::now();
        const BatchDocument& document = job.document;
        ConversionResult result = timed([&] {
            try {
                return ConvertDocument(session.get(), document.source, document.page,
                                       document.options);
            } catch (const std::exception& e) {
                return MakeConversionResult(ConversionCode::kFailed, document.source, document.page,
                                            e.what());
            }
        });
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        Post({Event::Kind::kDone, self, job.index, DocumentOutcome{std::move(result), seconds}});

        // Offices grow over long runs: a fresh one after enough documents or memory.
        ++converted;
        bool stopping = false;
        {
            std::lock_guard guard(lock_);
            stopping = stopping_ || worker.quit;
        }
        const bool worn =
            converted >= settings_.documentsPerSession ||
            (settings_.officeMemoryLimit > 0 && session &&
             ProcessTreeMemory(session->OfficeProcessId()) > settings_.officeMemoryLimit);
        if (worn && !stopping) {
            close();
            converted = 0;
            if (!open()) {
                Post({Event::Kind::kFailed, self, 0, {}});
                return;
            }
        }
        Post({Event::Kind::kReady, self, 0, {}});
    }
    close();
    Post({Event::Kind::kEnded, self, 0, {}});
}

RunEnd BatchRunner::Run(DocumentSource& source, std::size_t documentCount, BatchObserver& observer,
                        const YieldHook& yield) {
    {
        std::lock_guard guard(lock_);
        stopping_ = false;
    }
    observer.RunStarted(documentCount);

    // The documents taken from the source and not yet reported; the first has
    // position reported.
    struct Pending {
        BatchDocument document;
        std::string page;
        bool started = false;
        bool done = false;
        bool stopped = false;
        bool dropped = false; // never handed out: the source wanted no more
        DocumentOutcome outcome;
    };
    std::deque<Pending> pending;
    std::size_t reported = 0;
    // One session takes the list in its order; several take the costliest first, and
    // then every document is taken at once to know which that is.
    const bool longestFirst = poolSize_ > 1;
    HandOutQueue queue(longestFirst);
    TimeLeftEstimator estimate(poolSize_);
    const auto runStart = Clock::now();
    const auto sinceStart = [&] {
        return std::chrono::duration<double>(Clock::now() - runStart).count();
    };
    double lastTold = 0;
    std::set<std::string> sweptFolders;
    bool exhausted = false;
    RunEnd end = RunEnd::kCompleted;

    for (;;) {
        bool stopped = false;
        {
            std::lock_guard guard(lock_);
            stopped = stopping_;
        }
        // Report in list order, as soon as a document and all before it are done.
        while (!pending.empty() && (pending.front().done || pending.front().dropped ||
                                    (stopped && !pending.front().started))) {
            const Pending& front = pending.front();
            if (front.done && !front.stopped) {
                observer.DocumentFinished(reported, front.document, front.outcome);
            }
            pending.pop_front();
            ++reported;
        }
        // The estimate of the time left, after every finished document and a few times
        // a second.
        if (const double now = sinceStart(); !stopped && now - lastTold >= kTimeLeftInterval) {
            if (const std::optional<double> left = estimate.SecondsLeft(now)) {
                observer.TimeLeft(*left);
                lastTold = now;
            }
        }
        // One session takes a document only when it is free for it (or, before any
        // session runs, to learn that the list is not empty): the list may still change
        // and a document's options are read as it starts. Several sessions take every
        // document once the first office is starting, to hand out the costliest first.
        while (!stopped && !exhausted) {
            const std::size_t idle = static_cast<std::size_t>(std::count_if(
                workers_.begin(), workers_.end(), [](const auto& w) { return w->idle; }));
            if (LiveWorkers() == 0 ? !pending.empty() : !longestFirst && idle <= queue.Waiting()) {
                break;
            }
            std::optional<BatchDocument> next = source.Next();
            if (!next) {
                exhausted = true;
                break;
            }
            Pending entry;
            entry.page = PageKey(next->page);
            // Staging folders a killed run left go before this run writes beside them;
            // each output folder is looked at once.
            if (const std::string folder = fs::path(entry.page).parent_path().string();
                sweptFolders.insert(folder).second) {
                RemoveStaleStagingFolders(folder);
            }
            const double cost = ExpectedCost(next->source);
            queue.Add(reported + pending.size(), entry.page, cost);
            estimate.Add(cost);
            entry.document = std::move(*next);
            pending.push_back(std::move(entry));
        }
        // An office per document in hand, up to the pool's size; never one for an empty list.
        if (!stopped) {
            StartSessions(pending.size());
        }

        // A document whose page is being converted, or waits behind an earlier
        // document of the same page, stays for a later round.
        for (const auto& worker : workers_) {
            if (stopped || queue.Waiting() == 0) {
                break;
            }
            if (!worker->idle || worker->ended) {
                continue;
            }
            std::optional<std::size_t> index = queue.Next();
            for (; index && !source.Wanted(*index); index = queue.Next()) {
                pending[*index - reported].dropped = true;
                queue.Done(*index);
                estimate.Forget(*index);
            }
            if (!index) {
                break;
            }
            Pending& entry = pending[*index - reported];
            entry.started = true;
            worker->idle = false;
            {
                std::lock_guard guard(lock_);
                worker->job = Worker::Job{*index, entry.document};
            }
            workerWake_.notify_all();
            estimate.Started(*index, sinceStart());
            observer.DocumentStarted(*index, entry.document);
        }

        if (stopped) {
            // What is still converting was stopped in its office; the documents done
            // after a stopped one are still reported, in order.
            const bool inFlight = std::any_of(pending.begin(), pending.end(), [](const Pending& p) {
                return p.started && !p.done;
            });
            if (!inFlight) {
                for (std::size_t i = 0; i < pending.size(); ++i) {
                    if (pending[i].done && !pending[i].stopped) {
                        observer.DocumentFinished(reported + i, pending[i].document,
                                                  pending[i].outcome);
                    }
                }
                end = RunEnd::kStopped;
                break;
            }
        } else if (exhausted && pending.empty()) {
            break;
        } else if (LiveWorkers() == 0 && !pending.empty()) {
            end = RunEnd::kConverterUnavailable;
            break;
        }

        std::deque<Event> events;
        {
            std::unique_lock lock(lock_);
            eventWake_.wait_for(lock, kYieldInterval, [this] { return !events_.empty(); });
            events.swap(events_);
        }
        // First the caller's turn: a stop it asks for now marks the outcomes below.
        if (yield) {
            yield();
        }
        for (Event& event : events) {
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
                Pending& entry = pending[event.index - reported];
                entry.done = true;
                entry.outcome = std::move(event.outcome);
                queue.Done(event.index);
                estimate.Finished(event.index, entry.outcome.seconds);
                lastTold = -kTimeLeftInterval; // told at once
                bool stoppedNow = false;
                {
                    std::lock_guard guard(lock_);
                    stoppedNow = stopping_;
                }
                // The office was ended under this document: it was stopped, not failed.
                entry.stopped = stoppedNow && entry.outcome.result.code == ConversionCode::kFailed;
                break;
            }
            }
        }
    }

    EndWorkers(yield);
    if (end == RunEnd::kStopped) {
        // Offices ended at once could not remove their own folders.
        converter_.RemoveLeftovers();
    }
    observer.RunFinished();
    return end;
}

void BatchRunner::Stop() {
    {
        std::lock_guard guard(lock_);
        if (stopping_) {
            return;
        }
        stopping_ = true;
    }
    converter_.StopAllNow();
}

void BatchRunner::EndWorkers(const YieldHook& yield) {
    {
        std::lock_guard guard(lock_);
        for (const auto& worker : workers_) {
            worker->quit = true;
        }
    }
    workerWake_.notify_all();
    // Closing an office takes a moment; the caller's window keeps answering meanwhile.
    auto running = [this] {
        return std::any_of(workers_.begin(), workers_.end(),
                           [](const auto& w) { return !w->ended; });
    };
    while (running()) {
        std::deque<Event> events;
        {
            std::unique_lock lock(lock_);
            eventWake_.wait_for(lock, kYieldInterval, [this] { return !events_.empty(); });
            events.swap(events_);
        }
        for (const Event& event : events) {
            if (event.kind == Event::Kind::kFailed || event.kind == Event::Kind::kEnded) {
                workers_[event.worker]->ended = true;
            }
        }
        if (yield) {
            yield();
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
