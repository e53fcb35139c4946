#pragma once
// The one batch runner of the command line and the window: a supervised pool of
// converter sessions, each its own private office on its own thread, converting the
// documents of a list (costliest expected first when there are several sessions) and
// reporting them in list order.

#include "engine/BatchObserver.h"
#include "engine/Converter.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace pelmora {

class PendingDocuments;

/// How the pool of converter sessions is sized and when a session is recycled.
struct PoolSettings {
    std::size_t sessions = 0; ///< sessions at most; 0: one per core, fewer when memory is short
    std::size_t documentsPerSession = 200; ///< a session's office is restarted after this many
    std::uint64_t officeMemoryLimit = 1536ull << 20; ///< ...or once it holds more memory (bytes)
    /// The time limit of one document; empty: the converter's own default.
    std::optional<std::chrono::milliseconds> documentTimeLimit;
};

/// Where a run takes its documents from, one at a time, on the caller's thread; the
/// list may change while the run goes on.
class DocumentSource {
public:
    virtual ~DocumentSource() = default;
    /// The next document to convert; empty when there is none left.
    virtual std::optional<BatchDocument> Next() = 0;
    /// False when the document taken at position index is no longer to be converted
    /// (the list changed, or no more are to start): it is then dropped, unreported.
    /// Asked as it is about to go to a session.
    virtual bool Wanted(std::size_t index) {
        (void)index;
        return true;
    }
};

/// A fixed list as a document source.
class DocumentList final : public DocumentSource {
public:
    explicit DocumentList(std::vector<BatchDocument> documents);
    std::optional<BatchDocument> Next() override;

private:
    std::vector<BatchDocument> documents_;
    std::size_t next_ = 0;
};

/// How a run ended.
enum class RunEnd {
    kCompleted,            ///< every document was reported
    kConverterUnavailable, ///< no session could be started (104)
    kStopped,              ///< Stop() ended it
};

/// Runs batches on a pool of converter sessions. Staging folders that killed runs left
/// in the output folders are removed as the documents are taken. Documents go out to
/// whichever session is free, one at a time per session: with one session in list
/// order, with several the costliest expected first (so that a batch ends when its
/// longest document does); two documents with the same page never convert at once,
/// the later waits for the earlier. The observer hears of the time left from the
/// expected cost of the work left, calibrated by what finished documents really took. A document
/// that crashes or hangs its office fails with 103 and only that office is replaced; a session
/// whose office does not come back is replaced by a new session.
class BatchRunner {
public:
    /// Opens its sessions from converter, which must outlive the runner.
    explicit BatchRunner(ConverterFactory& converter, PoolSettings settings = {});
    /// Ends every session (stopping the run first if one is going on).
    ~BatchRunner();
    BatchRunner(const BatchRunner&) = delete;
    BatchRunner& operator=(const BatchRunner&) = delete;

    /// The number of sessions the pool uses at most.
    std::size_t PoolSize() const { return poolSize_; }

    /// Starts sessions until count are running (never more than the pool size), so
    /// offices start while the caller still gathers its list. A session whose office
    /// could not be started again is replaced here too, a few times per runner, once
    /// some session has started at all.
    void StartSessions(std::size_t count);

    /// Converts what source hands out; documentCount is what RunStarted reports. The
    /// observer is called on this thread only. Returns when every document is
    /// reported, or after a stop: the documents finished before the stop are then
    /// still reported, in list order, and those stopped in their office are not.
    /// stop, when given, stops the run as Stop() does once it turns true; it is
    /// looked at every few tens of milliseconds, so a signal handler may set it.
    RunEnd Run(DocumentSource& source, std::size_t documentCount, BatchObserver& observer,
               const std::atomic<bool>* stop = nullptr);

    /// Stops the run going on now: no document is handed out any more and every
    /// office is ended at once. Any thread may call it; a signal handler sets the flag
    /// given to Run instead.
    void Stop();

    /// Wall seconds the sessions spent inside converter calls (starting and ending
    /// offices included), over all runs.
    double OfficeSeconds() const;
    /// Sessions started over all runs, recycled ones counted again.
    std::size_t SessionsStarted() const;

private:
    // What a session's thread tells the run.
    struct Event {
        enum class Kind { kReady, kFailed, kDone, kEnded };
        Kind kind = Kind::kReady;
        std::size_t worker = 0;
        std::size_t index = 0;
        DocumentOutcome outcome;
    };
    struct Worker;
    struct Job {
        std::size_t index = 0;
        BatchDocument document;
    };

    // The pool: sessions on their threads, started, replaced and ended here.
    void StartWorker();
    std::size_t LiveWorkers() const;
    void EndWorkers();

    // A session's thread: converting what it is given, recycling its office.
    void WorkerLoop(Worker& worker, std::size_t self);
    bool OpenSession(std::unique_ptr<ConverterSession>& session);
    void CloseSession(std::unique_ptr<ConverterSession>& session);
    std::optional<Job> NextJob(Worker& worker);
    DocumentOutcome Convert(ConverterSession* session, const BatchDocument& document);
    bool RecycleWhenWorn(const Worker& worker, std::unique_ptr<ConverterSession>& session,
                         std::size_t& converted);
    void Post(Event event);

    // The run's thread: taking, handing out, hearing back, ending.
    bool StopAsked();
    void TellTimeLeft(const PendingDocuments& pending, BatchObserver& observer, double now,
                      double& lastTold);
    void TakeDocuments(PendingDocuments& pending, DocumentSource& source);
    void HandOut(PendingDocuments& pending, DocumentSource& source, BatchObserver& observer,
                 double now);
    std::optional<RunEnd> RunOver(PendingDocuments& pending, BatchObserver& observer, bool stopped);
    std::deque<Event> WaitForEvents();
    // True when event reports a finished document.
    bool Apply(Event& event, PendingDocuments& pending);

    ConverterFactory& converter_;
    PoolSettings settings_;
    std::size_t poolSize_ = 1;
    std::vector<std::unique_ptr<Worker>> workers_;
    std::size_t failedStarts_ = 0; // seen by the run, on the caller's thread

    std::mutex lock_;
    std::condition_variable workerWake_;
    std::condition_variable eventWake_;
    std::deque<Event> events_;
    bool wake_ = false; // a stop came while the run waits for events

    // Set by Stop() from any thread; read without the lock by the run and its sessions.
    std::atomic<bool> stopping_{false};
    const std::atomic<bool>* stopFlag_ = nullptr; // the caller's, during a run

    std::atomic<std::int64_t> officeMicroseconds_{0};
    std::atomic<std::size_t> sessionsStarted_{0};
};

} // namespace pelmora
