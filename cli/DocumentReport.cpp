#include "cli/DocumentReport.h"

#include <ostream>

namespace pelmora {

void DocumentReport::DocumentFinished(std::size_t, const BatchDocument& document,
                                      const DocumentOutcome& outcome) {
    out_ << Record(document, outcome) << std::flush;
}

void DocumentReport::ReportUnavailable(const std::string& line) {
    // No document was taken up: the record names none and counts nothing.
    DocumentFinished(0, {}, DocumentOutcome{{ConversionCode::kConverterUnavailable, line}});
}

} // namespace pelmora
