#pragma once
// The record of a command-line run: every line goes to the run's reports and is
// appended to the log file as soon as it and every line before it are done.

#include "engine/BatchObserver.h"
#include "engine/LogFile.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace pelmora {

/// Passes the run's events on to reports and appends each finished line to the log
/// file, so that a run that is killed keeps the record of its finished work.
class RunLog final : public BatchObserver {
public:
    /// reports must outlive this log; err gets one line when the log file cannot be
    /// written.
    RunLog(const std::vector<BatchObserver*>& reports, const std::string& logFile,
           std::ostream& err);

    void RunStarted(std::size_t count) override;
    void DocumentStarted(std::size_t index, const BatchDocument& document) override;
    void DocumentFinished(std::size_t index, const BatchDocument& document,
                          const DocumentOutcome& outcome) override;
    void RunFinished() override;

    /// Appends line, with its control characters escaped, to the log file.
    void Append(const std::string& line);

    /// Whether a document of the run failed.
    bool Failed() const { return failed_; }

private:
    const std::vector<BatchObserver*>& reports_;
    LogFile file_;
    std::ostream& err_;
    bool told_ = false;
    bool failed_ = false;
};

} // namespace pelmora
