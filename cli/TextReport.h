#pragma once
// The plain report of a command-line run: each document's log line on its own line.

#include "cli/DocumentReport.h"

namespace pelmora {

/// Writes each finished document's log line, in list order, as soon as it is known.
class TextReport : public DocumentReport {
public:
    using DocumentReport::DocumentReport;

protected:
    /// The outcome's log line, its control characters shown rather than obeyed.
    std::string Record(const BatchDocument& document,
                       const DocumentOutcome& outcome) const override;
};

} // namespace pelmora
