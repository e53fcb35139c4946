#include "controls/paint/ControlError.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace pelmora {

namespace {

QString describe(int number, const QString& description) {
    return description.isEmpty() ? ControlError::standardText(number) : description;
}

} // namespace

ControlError::ControlError(int number, const QString& description, const QString& source)
    : std::runtime_error(describe(number, description).toStdString()), number_(number),
      description_(describe(number, description)), source_(source) {}

QString ControlError::sourceText(const QString& className, const QString& procedure) {
    QString exe;
    if (QCoreApplication::instance()) {
        exe = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    }
    if (exe.isEmpty()) {
        exe = QCoreApplication::applicationName();
    }
    return exe + QLatin1Char('.') + className + QLatin1Char(':') + procedure;
}

QString ControlError::standardText(int number) {
    switch (number) {
    case 5:
        return QStringLiteral("Invalid procedure call or argument");
    case 6:
        return QStringLiteral("Overflow");
    case 7:
        return QStringLiteral("Out of memory");
    case 9:
        return QStringLiteral("Subscript out of range");
    case 13:
        return QStringLiteral("Type mismatch");
    case 53:
        return QStringLiteral("File not found");
    case 91:
        return QStringLiteral("Object variable or With block variable not set");
    case 326:
        return QStringLiteral("Resource with identifier not found");
    case 380:
        return QStringLiteral("Invalid property value");
    case 381:
        return QStringLiteral("Invalid property array index");
    case 383:
        return QStringLiteral("Property is read-only");
    case 387:
        return QStringLiteral("Property can't be set on this control");
    case 481:
        return QStringLiteral("Invalid picture");
    case 35600:
        return QStringLiteral("Index out of bounds");
    case 35601:
        return QStringLiteral("Element not found");
    case 35602:
        return QStringLiteral("Key is not unique in collection");
    default:
        return {};
    }
}

} // namespace pelmora
