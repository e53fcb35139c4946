#include "controls/design/PropertyBag.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <cmath>

namespace pelmora {

bool PropertyBag::Parse(const QByteArray& json) {
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    values_ = doc.isObject() ? doc.object() : QJsonObject();
    return error.error == QJsonParseError::NoError && doc.isObject();
}

bool PropertyBag::ReadBool(const QString& key, bool def) const {
    const QJsonValue v = values_.value(key);
    return v.isBool() ? v.toBool() : def;
}

int64_t PropertyBag::ReadInteger(const QString& key, int64_t def, int64_t min, int64_t max) const {
    const QJsonValue v = values_.value(key);
    if (!v.isDouble()) {
        return def;
    }
    const double d = v.toDouble();
    if (!std::isfinite(d) || d != std::floor(d) || d < static_cast<double>(min) ||
        d > static_cast<double>(max)) {
        return def;
    }
    return static_cast<int64_t>(d);
}

double PropertyBag::ReadNumber(const QString& key, double def) const {
    const QJsonValue v = values_.value(key);
    return v.isDouble() && std::isfinite(v.toDouble()) ? v.toDouble() : def;
}

QString PropertyBag::ReadString(const QString& key, const QString& def) const {
    const QJsonValue v = values_.value(key);
    return v.isString() ? v.toString() : def;
}

void PropertyBag::Write(const QString& key, const QJsonValue& value, const QJsonValue& def) {
    if (value != def) {
        WriteAlways(key, value);
    }
}

void PropertyBag::WriteAlways(const QString& key, const QJsonValue& value) {
    written_.emplace_back(key, value);
}

QJsonObject PropertyBag::ToObject() const {
    QJsonObject object;
    for (const auto& [key, value] : written_) {
        object.insert(key, value);
    }
    return object;
}

namespace {

// One JSON value as text: QJsonDocument only serialises arrays and objects.
QByteArray ValueText(const QJsonValue& value) {
    const QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return wrapped.mid(1, wrapped.size() - 2);
}

} // namespace

QByteArray PropertyBag::ToJson() const {
    QByteArray text = "{";
    bool first = true;
    for (const auto& [key, value] : written_) {
        text += first ? "\n    " : ",\n    ";
        first = false;
        text += ValueText(key) + ": " + ValueText(value);
    }
    text += first ? "}\n" : "\n}\n";
    return text;
}

} // namespace pelmora
