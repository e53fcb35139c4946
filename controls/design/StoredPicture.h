#pragma once

#include "controls/paint/OlePicture.h"

#include <QJsonValue>

namespace pelmora {

/// How a picture (a menu item's, a toolbar button's, a mouse icon) is kept in a stored design:
/// a resource or file path, or, for a picture that came from nowhere on disk, the PNG data
/// inline as a "data:" address.
class StoredPicture {
public:
    /// The picture a stored value names; nothing when the value is empty or unreadable.
    static OlePicture Read(const QJsonValue& value);
    /// As Read; source receives the picture's path, empty for inline data or no picture.
    static OlePicture Read(const QJsonValue& value, QString& source);
    /// The path a stored value names, empty for inline data.
    static QString SourceOf(const QJsonValue& value);
    /// The stored value of a picture: its source path when it has one, else its data; null for
    /// nothing.
    static QJsonValue Write(const OlePicture& picture, const QString& source);
};

} // namespace pelmora
