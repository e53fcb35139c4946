#pragma once
// One conversion run of the main window: every checked task, handed out in list order
// to the engine's pool of converter sessions, with progress, status texts, row states
// and log lines. The sessions work on threads of their own while the window keeps
// handling events; everything else happens on the window's thread.

#include "engine/BatchObserver.h"
#include "engine/BatchRunner.h"

#include <QObject>
#include <QString>
#include <map>
#include <set>

namespace pelmora {

class RunHost;
class TaskRow;

/// A run over the window's checked tasks; made for one run.
class ConversionRun : public QObject, private DocumentSource, private BatchObserver {
    Q_OBJECT
public:
    /// Prepares a run in host; nothing happens before Run.
    explicit ConversionRun(RunHost& host);

    /// Carries out the whole run; returns when it is over.
    void Run();

private:
    std::optional<BatchDocument> Next() override;
    bool Wanted(std::size_t index) override;
    void DocumentStarted(std::size_t index, const BatchDocument& document) override;
    void DocumentFinished(std::size_t index, const BatchDocument& document,
                          const DocumentOutcome& outcome) override;
    void TimeLeft(double seconds) override;

    void OnRowAboutToBeRemoved(int position, TaskRow* row);
    void ShowProgressText();
    void EndRun(const QString& runText);

    RunHost& host_;
    // The rows handed out, whatever their place now: each checked task goes out once,
    // also when rows move, and a removed row is forgotten so it is never marked.
    std::set<TaskRow*> taken_;
    std::map<std::size_t, TaskRow*> rowsAt_;
    std::size_t nextIndex_ = 0;
    int total_ = 0;
    int processed_ = 0;
    int converting_ = 0;
    bool announced_ = false;
    QString runText_;
};

} // namespace pelmora
