#include "cli/RunLog.h"

#include "engine/TextLines.h"

#include <ostream>

namespace pelmora {

RunLog::RunLog(const std::vector<BatchObserver*>& reports, const std::string& logFile,
               std::ostream& err)
    : reports_(reports), file_(logFile), err_(err) {}

void RunLog::RunStarted(std::size_t count) {
    for (BatchObserver* report : reports_) {
        report->RunStarted(count);
    }
}

void RunLog::DocumentStarted(std::size_t index, const BatchDocument& document) {
    for (BatchObserver* report : reports_) {
        report->DocumentStarted(index, document);
    }
}

void RunLog::DocumentFinished(std::size_t index, const BatchDocument& document,
                              const DocumentOutcome& outcome) {
    failed_ = failed_ || outcome.result.Failed();
    for (BatchObserver* report : reports_) {
        report->DocumentFinished(index, document, outcome);
    }
    Append(outcome.result.line);
}

void RunLog::RunFinished() {
    for (BatchObserver* report : reports_) {
        report->RunFinished();
    }
}

void RunLog::Append(const std::string& line) {
    // One complaint per run is enough; later lines still try the file again.
    if (!file_.Append(EscapeControlCharacters(line)) && !told_) {
        told_ = true;
        err_ << "pelmora: could not write the log file " << EscapeControlCharacters(file_.Path())
             << '\n'
             << std::flush;
    }
}

} // namespace pelmora
