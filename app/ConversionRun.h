#pragma once
// One conversion run of the main window: every checked task, handed out in list order
// to the engine's pool of converter sessions, with progress, status texts, row states
// and log lines. The pool is driven from a worker thread of the run's own; what it
// reports reaches the window's thread through queued calls, so the window never waits.

#include "app/ConversionSettings.h"
#include "engine/BatchObserver.h"
#include "engine/BatchRunner.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <thread>

class QTreeWidgetItem;

namespace pelmora {

class ConverterFactory;
class RunHost;
class TaskRow;

/// A run over the window's checked tasks; made for one run.
class ConversionRun : public QObject, private DocumentSource, private BatchObserver {
    Q_OBJECT
public:
    /// Prepares a run in host; nothing happens before Start.
    explicit ConversionRun(RunHost& host, QObject* parent = nullptr);
    /// Ends the offices at once if the run still goes, and waits for its thread.
    ~ConversionRun() override;

    /// Starts the run; false (after telling the user) when there is nothing to convert.
    bool Start();
    /// Hands out no more documents; those in progress finish.
    void Stop();
    /// Ends every office at once; the lines of documents already done are still
    /// reported and logged.
    void Abort();
    /// The options documents handed out from now on are converted with.
    void SetSettings(const ConversionSettings& settings);

signals:
    /// The run is over and the window is back in its idle state (or closing).
    void Ended();

private:
    struct Pending {
        TaskRow* row = nullptr; // a key only, never followed off the window's thread
        QString source;
        QString target;
        QString password;
    };
    struct HandedOut {
        TaskRow* row = nullptr; // null once the row is removed
        bool wanted = true;     // false while the row is unchecked
    };

    // On the worker thread.
    void Work(ConverterFactory& converter, std::size_t total, std::size_t sessions);
    std::optional<BatchDocument> Next() override;
    bool Wanted(std::size_t index) override;
    void DocumentStarted(std::size_t index, const BatchDocument& document) override;
    void DocumentFinished(std::size_t index, const BatchDocument& document,
                          const DocumentOutcome& outcome) override;
    void TimeLeft(double seconds) override;

    // On the window's thread.
    void OnStarted(std::size_t index);
    void OnFinished(std::size_t index, const QString& line, bool converted);
    void OnEnded(RunEnd end);
    void OnRowAboutToBeRemoved(int position, TaskRow* row);
    void OnRowChanged(QTreeWidgetItem* item, int column);
    TaskRow* RowAt(std::size_t index, bool forget);
    void ShowProgressText();

    RunHost& host_;
    std::mutex lock_;
    std::deque<Pending> queue_;
    std::map<std::size_t, HandedOut> handedOut_;
    std::size_t nextIndex_ = 0;
    ConversionSettings settings_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> abort_{false};
    std::thread worker_;
    std::set<TaskRow*> seen_; // queued at some time of this run; the window's thread only

    int total_ = 0;
    int processed_ = 0;
    int converting_ = 0;
    bool announced_ = false;
    bool ended_ = false;
};

} // namespace pelmora
