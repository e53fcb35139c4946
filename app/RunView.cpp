#include "app/RunView.h"

#include "app/CommandModel.h"
#include "app/DesktopDialogs.h"
#include "app/DesktopSeam.h"
#include "app/StatusPanels.h"
#include "app/TaskList.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QProgressBar>

namespace pelmora {

RunView::RunView(QWidget& window, TaskList& list, StatusPanels& panels, QPlainTextEdit& log,
                 CommandModel& commands, DesktopSeam& seam, ConverterFactory& converter,
                 std::function<bool()> closeWindow)
    : QObject(&window), window_(window), list_(list), panels_(panels), log_(log),
      commands_(commands), seam_(seam), converter_(converter),
      closeWindow_(std::move(closeWindow)) {
    timeLeftTimer_.setInterval(1000);
    connect(&timeLeftTimer_, &QTimer::timeout, this, &RunView::ShowTimeLeft);
}

RunView::~RunView() {
    SetBusyPointer(false);
}

ConversionSettings RunView::Settings() const {
    return commands_.Settings();
}

void RunView::SetBusyPointer(bool busy) {
    if (busy == busyPointer_) {
        return;
    }
    busyPointer_ = busy;
    if (busy) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void RunView::EnterRunState(int total) {
    converting_ = true;
    commands_.SetEnabled(CommandId::Convert, false);
    commands_.SetEnabled(CommandId::Stop, true);
    QProgressBar* progress = panels_.progressBar();
    progress->setValue(0);
    progress->setMaximum((total + 2) * 10);
    progress->setValue(0);
    progress->show();
    panels_.SetTimeLeft(QString());
    timeLeft_.Start();
    timeLeftTimer_.start();
    list_.SetDropRefusal(QStringLiteral("Nothing can be added while documents convert"));
    panels_.SetPanelText(1, QStringLiteral("Initializing ..."));
    SetBusyPointer(true);
}

void RunView::LeaveRunState() {
    commands_.SetEnabled(CommandId::Stop, false);
    commands_.SetEnabled(CommandId::Convert, true);
    panels_.progressBar()->hide();
    timeLeftTimer_.stop();
    panels_.SetTimeLeft(QString());
    panels_.SetPanelText(1, QStringLiteral("Ready!"));
    list_.SetDropRefusal(QString());
    converting_ = false;
    SetBusyPointer(false);
}

void RunView::ShowStopping() {
    converting_ = false;
    panels_.SetPanelText(1, QStringLiteral("Stopping..."));
    SetBusyPointer(false);
}

bool RunView::CloseAfterFailedStart() {
    if (closeWindow_()) {
        return true;
    }
    SetBusyPointer(false);
    return false;
}

void RunView::ShowRunStatus(const QString& text) {
    panels_.SetPanelText(1, text);
}

void RunView::StepProgress(bool last) {
    QProgressBar* progress = panels_.progressBar();
    progress->setValue(last ? progress->maximum()
                            : std::min(progress->value() + 10, progress->maximum()));
}

void RunView::TimeLeftEstimated(double seconds) {
    timeLeft_.Estimated(seconds);
    ShowTimeLeft();
}

void RunView::ShowTimeLeft() {
    if (timeLeft_.TakeUpdate()) {
        panels_.SetTimeLeft(timeLeft_.Text());
    }
}

void RunView::AppendLogLine(const QString& line) {
    // A read-only pane follows new lines only while it is scrolled to its end.
    log_.appendPlainText(line);
}

void RunView::Inform(const QString& text) {
    seam_.ShowMessage(&window_, text, kApplicationTitle, QMessageBox::Information, QMessageBox::Ok,
                      QMessageBox::Ok);
}

} // namespace pelmora
