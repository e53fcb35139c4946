#pragma once
// How the main window looks while it runs: the commands a run allows, the progress
// bar with the time left, the status texts, the busy pointer and the log pane. It is
// the window's side of a conversion run.

#include "app/RunHost.h"
#include "app/TimeLeftEstimate.h"

#include <QObject>
#include <QTimer>
#include <functional>

class QPlainTextEdit;

namespace pelmora {

class CommandModel;
class DesktopSeam;
class StatusPanels;

/// The run state of the main window.
class RunView : public QObject, public RunHost {
    Q_OBJECT
public:
    /// The parts of window a run shows itself in; closeWindow closes it and says
    /// whether it is still open.
    RunView(QWidget& window, TaskList& list, StatusPanels& panels, QPlainTextEdit& log,
            CommandModel& commands, DesktopSeam& seam, ConverterFactory& converter,
            std::function<bool()> closeWindow);
    ~RunView() override;

    /// True from entering the run state until it is left or a stop was asked.
    bool Converting() const { return converting_; }
    /// A stop was asked: "Stopping..." and the normal pointer while the run ends.
    void ShowStopping();
    /// The checked tasks counted by the window's last refresh.
    void SetCheckedCount(int count) { checkedCount_ = count; }
    /// How many converter sessions the next runs use at most; 0: one per core.
    void SetRunSessions(std::size_t sessions) { runSessions_ = sessions; }
    /// The run's time estimate; its clock may be replaced before a run.
    TimeLeftEstimate& timeLeft() { return timeLeft_; }

    TaskList& Rows() override { return list_; }
    int CheckedCount() const override { return checkedCount_; }
    ConversionSettings Settings() const override;
    void EnterRunState(int total) override;
    void LeaveRunState() override;
    bool CloseAfterFailedStart() override;
    void ShowRunStatus(const QString& text) override;
    void StepProgress(bool last) override;
    void TimeLeftEstimated(double seconds) override;
    void AppendLogLine(const QString& line) override;
    void Inform(const QString& text) override;
    std::size_t RunSessions() const override { return runSessions_; }
    ConverterFactory& Converter() const override { return converter_; }

private:
    void SetBusyPointer(bool busy);
    void ShowTimeLeft();

    QWidget& window_;
    TaskList& list_;
    StatusPanels& panels_;
    QPlainTextEdit& log_;
    CommandModel& commands_;
    DesktopSeam& seam_;
    ConverterFactory& converter_;
    std::function<bool()> closeWindow_;
    int checkedCount_ = 0;
    bool converting_ = false;
    bool busyPointer_ = false;
    std::size_t runSessions_ = 0;
    TimeLeftEstimate timeLeft_;
    QTimer timeLeftTimer_;
};

} // namespace pelmora
