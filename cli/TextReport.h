#pragma once
// The plain report of a command-line run: each document's log line on its own line.

#include "engine/BatchObserver.h"

#include <iosfwd>

namespace pelmora {

/// Writes each finished document's log line, in list order, as soon as it is known.
class TextReport : public BatchObserver {
public:
    /// Lines go to out.
    explicit TextReport(std::ostream& out) : out_(out) {}

    /// Writes the outcome's log line and flushes, so a pipe sees it at once.
    void DocumentFinished(std::size_t index, const BatchDocument& document,
                          const DocumentOutcome& outcome) override;

private:
    std::ostream& out_;
};

} // namespace pelmora
