#pragma once
// Fonts as a stored design keeps them: a JSON object of Name, Size (points) and the style
// flags Bold, Italic, Underline and Strikethrough. Menu designs also keep Weight and Charset.

#include <QFont>
#include <QJsonObject>
#include <QJsonValue>

namespace pelmora::StoredFont {

/// A font as the toolbar and the hyperlink label store it: name, size and the four flags.
QJsonValue Write(const QFont& font);
/// A font stored by Write; missing or unreadable members keep those of def, and a value that
/// is no object gives def.
QFont Read(const QJsonValue& value, const QFont& def);

/// A font as the menu stores it: Write's members plus Weight and Charset; a font sized in
/// pixels is stored with the point size the screen shows.
QJsonObject WriteWeighted(const QFont& font);
/// A font stored by WriteWeighted (or Write); missing members keep those of def.
QFont ReadWeighted(const QJsonValue& value, const QFont& def);

} // namespace pelmora::StoredFont
