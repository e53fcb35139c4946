#pragma once
// One conversion run of the main window: every checked task, in list order, in one
// converter session, with progress, status texts, row states and log lines. The
// converter works on a thread of its own while the window keeps handling events;
// everything else happens on the window's thread in the run's fixed order.

#include <QObject>

namespace pelmora {

class RunHost;
class TaskRow;

/// A run over the window's checked tasks; made for one run.
class ConversionRun : public QObject {
    Q_OBJECT
public:
    /// Prepares a run in host; nothing happens before Run.
    explicit ConversionRun(RunHost& host);

    /// Carries out the whole run; returns when it is over.
    void Run();

private:
    void OnRowAboutToBeRemoved(int position, TaskRow* row);
    void EndRun(const QString& runText);

    RunHost& host_;
    // The position looked at and the row being converted. Rows removed while the
    // window handles events move the position back and forget the row, so no
    // removed task is converted or marked and no task is skipped.
    int position_ = 0;
    TaskRow* row_ = nullptr;
};

} // namespace pelmora
