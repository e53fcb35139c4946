#pragma once

#include "controls/toolbar/ButtonCollection.h"
#include "controls/toolbar/PropertyBag.h"
#include "controls/toolbar/ToolbarProperties.h"

#include <QFont>
#include <QJsonValue>

namespace pelmora::ToolbarDesign {

/// Reads a toolbar's stored design in its key order. Every value that is missing, of the
/// wrong type or out of range takes its default; the buttons are replaced by the stored ones.
void Read(const PropertyBag& bag, const QFont& ambientFont, ToolbarProperties& p, QFont& font,
          bool& enabled, ButtonCollection& buttons);

/// Writes a toolbar's stored design in its key order, the buttons last; values equal to
/// their defaults are left out (ButtonCount is always written).
void Write(PropertyBag& bag, const ToolbarProperties& p, const QFont& font,
           const QFont& ambientFont, bool enabled, const ButtonCollection& buttons);

/// A font as stored: name, size and the four style flags.
QJsonValue FontValue(const QFont& font);
/// A stored font, or def when the value is no readable font.
QFont FontFrom(const QJsonValue& value, const QFont& def);

/// A picture as stored (the same form as the menu's pictures): its source path when known,
/// otherwise its PNG data inline.
QJsonValue PictureValue(const OlePicture& picture, const QString& source);
/// A stored picture (nothing when unreadable); source receives its path when it has one.
OlePicture PictureFrom(const QJsonValue& value, QString& source);

} // namespace pelmora::ToolbarDesign
