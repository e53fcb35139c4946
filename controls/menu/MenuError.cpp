#include "controls/menu/MenuError.h"

namespace pelmora {

namespace {
QString description(int number) {
    switch (number) {
    case 35601:
        return QStringLiteral("Element not found. Key is missing or illegal.");
    case 35607:
        return QStringLiteral("Can't show menu on modal forms.");
    default:
        return QString();
    }
}
} // namespace

void RaiseMenuError(int number, const char* typeName, const char* method) {
    throw ControlError(number, description(number),
                       ControlError::sourceText(QLatin1String(typeName), QLatin1String(method)));
}

} // namespace pelmora
