#include "menu/MenuError.h"

#include <QCoreApplication>
#include <QFileInfo>

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
    const QString exe = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    throw ControlError(number, description(number),
                       exe + '.' + QLatin1String(typeName) + ':' + QLatin1String(method));
}

} // namespace pelmora
