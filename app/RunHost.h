#pragma once
// What a conversion run needs of the window it runs in: the rows, the checked count,
// the options, entering and leaving the run state, and the few things it shows along
// the way. The run never touches the window's other widgets.

#include "app/ConversionSettings.h"

#include <QString>
#include <cstddef>

namespace pelmora {

class ConverterFactory;
class TaskList;

/// The window side of a conversion run; called on the window's thread only.
class RunHost {
public:
    virtual ~RunHost() = default;

    /// The rows the run converts.
    virtual TaskList& Rows() = 0;
    /// The checked tasks at the last refresh of the counts.
    virtual int CheckedCount() const = 0;
    /// The options as they are now.
    virtual ConversionSettings Settings() const = 0;

    /// Enters the run state for total tasks: Convert off, Stop on, the progress bar
    /// shown, "Initializing ..." and the busy pointer.
    virtual void EnterRunState(int total) = 0;
    /// Leaves the run state: the idle commands, "Ready!" and refreshed counts.
    virtual void LeaveRunState() = 0;
    /// Closes the window because the converter did not start; true when the user kept
    /// it open (it is then still in the run state).
    virtual bool CloseAfterFailedStart() = 0;

    /// Shows the run's status text.
    virtual void ShowRunStatus(const QString& text) = 0;
    /// Moves the progress bar one task on; the last step fills it.
    virtual void StepProgress(bool last) = 0;
    /// The run's estimate of the seconds it has left, shown as the time left.
    virtual void TimeLeftEstimated(double seconds) = 0;
    /// Appends a line to the log pane.
    virtual void AppendLogLine(const QString& line) = 0;
    /// Tells the user something in a message box.
    virtual void Inform(const QString& text) = 0;
    /// How many converter sessions a run uses at most; 0: one per core, as memory allows.
    virtual std::size_t RunSessions() const = 0;
    /// The converter the run opens its sessions from.
    virtual ConverterFactory& Converter() const = 0;
};

} // namespace pelmora
