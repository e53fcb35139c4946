#include "controls/toolbar/ToolbarErrors.h"

namespace pelmora::ToolbarErrors {

namespace {
// The address is the library's own support desk, quoted in designer messages only.
const QString kSupportAddress = QStringLiteral("support@pelmora.example");
} // namespace

void Raise(const QString& typeName, const QString& procedure, int number,
           const QString& description) {
    throw ControlError(number, description, ControlError::sourceText(typeName, procedure));
}

QString DesignerMessage(int number, const QString& description) {
    const QString text = description.isEmpty() ? ControlError::standardText(number) : description;
    return QStringLiteral("An unexpected application error has occured!\n\n%1 (%2)\n\nIf this "
                          "problem continues, please contact Orvane technical support, at %3, "
                          "quoting the above information.")
        .arg(text)
        .arg(number)
        .arg(kSupportAddress);
}

} // namespace pelmora::ToolbarErrors
