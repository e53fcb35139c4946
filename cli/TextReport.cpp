#include "cli/TextReport.h"

#include "engine/TextLines.h"

#include <ostream>

namespace pelmora {

void TextReport::DocumentFinished(std::size_t, const BatchDocument&,
                                  const DocumentOutcome& outcome) {
    out_ << EscapeControlCharacters(outcome.result.line) << '\n' << std::flush;
}

} // namespace pelmora
