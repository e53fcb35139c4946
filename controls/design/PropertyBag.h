#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

namespace pelmora {

/// A form's stored design values as JSON: named values read with a default (a missing or
/// wrongly typed value reads as the default) and written in a fixed order (a value equal to
/// its default is left out).
class PropertyBag {
public:
    /// An empty bag, ready for writing.
    PropertyBag() = default;
    /// A bag over parsed values.
    explicit PropertyBag(QJsonObject values) : values_(std::move(values)) {}

    /// Reads a JSON text; false (and an empty bag) when it is not a JSON object.
    bool Parse(const QByteArray& json);

    /// The stored value of key (undefined when missing).
    QJsonValue Value(const QString& key) const { return values_.value(key); }
    /// A boolean, else def.
    bool ReadBool(const QString& key, bool def) const;
    /// A whole number within min..max, else def.
    int64_t ReadInteger(const QString& key, int64_t def, int64_t min, int64_t max) const;
    /// A finite number, else def.
    double ReadNumber(const QString& key, double def) const;
    /// A string, else def.
    QString ReadString(const QString& key, const QString& def) const;

    /// Appends key unless value equals def.
    void Write(const QString& key, const QJsonValue& value, const QJsonValue& def);
    /// Appends key whatever its value.
    void WriteAlways(const QString& key, const QJsonValue& value);

    /// The written values as an object (the order is lost).
    QJsonObject ToObject() const;
    /// The written values as indented JSON text, keys in the order they were written.
    QByteArray ToJson() const;

private:
    QJsonObject values_;
    std::vector<std::pair<QString, QJsonValue>> written_;
};

} // namespace pelmora
