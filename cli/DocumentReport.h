#pragma once
// What the reports of a command-line run share: one record a finished document on the
// report's stream, in list order, flushed at once so that a pipe sees it.

#include "engine/BatchObserver.h"

#include <cstddef>
#include <iosfwd>
#include <string>

namespace pelmora {

/// A report that writes each finished document's record to one stream.
class DocumentReport : public BatchObserver {
public:
    /// Records go to out.
    explicit DocumentReport(std::ostream& out) : out_(out) {}

    /// Writes the document's record and flushes.
    void DocumentFinished(std::size_t index, const BatchDocument& document,
                          const DocumentOutcome& outcome) final;

    /// Writes the one record of a run whose converter could not start; line is its log line.
    void ReportUnavailable(const std::string& line);

protected:
    /// The record of a finished document, with its line end.
    virtual std::string Record(const BatchDocument& document,
                               const DocumentOutcome& outcome) const = 0;

private:
    std::ostream& out_;
};

} // namespace pelmora
