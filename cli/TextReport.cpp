#include "cli/TextReport.h"

#include "engine/TextLines.h"

namespace pelmora {

std::string TextReport::Record(const BatchDocument&, const DocumentOutcome& outcome) const {
    return EscapeControlCharacters(outcome.result.line) + '\n';
}

} // namespace pelmora
