#include "controls/design/StoredFont.h"

#include <QFontInfo>
#include <cmath>

namespace pelmora::StoredFont {

namespace {

bool readBool(const QJsonObject& o, const char* key, bool def) {
    const QJsonValue v = o.value(QLatin1String(key));
    return v.isBool() ? v.toBool() : def;
}

// The members both forms share; sizes at or above maxSize are ignored as unreadable.
QFont readShared(const QJsonObject& o, const QFont& def, double maxSize) {
    QFont font = def;
    if (o.value("Name").isString() && !o.value("Name").toString().isEmpty()) {
        font.setFamily(o.value("Name").toString());
    }
    const double size = o.value("Size").toDouble(0);
    if (std::isfinite(size) && size > 0 && size < maxSize) {
        font.setPointSizeF(size);
    }
    font.setItalic(readBool(o, "Italic", def.italic()));
    font.setUnderline(readBool(o, "Underline", def.underline()));
    font.setStrikeOut(readBool(o, "Strikethrough", def.strikeOut()));
    return font;
}

} // namespace

QJsonValue Write(const QFont& font) {
    return QJsonObject{{"Name", font.family()},         {"Size", font.pointSizeF()},
                       {"Bold", font.bold()},           {"Italic", font.italic()},
                       {"Underline", font.underline()}, {"Strikethrough", font.strikeOut()}};
}

QFont Read(const QJsonValue& value, const QFont& def) {
    if (!value.isObject()) {
        return def;
    }
    const QJsonObject o = value.toObject();
    QFont font = readShared(o, def, 4096);
    font.setBold(readBool(o, "Bold", def.bold()));
    return font;
}

QJsonObject WriteWeighted(const QFont& font) {
    QJsonObject o = Write(font).toObject();
    // Sizes are stored in points; a font sized in pixels is measured as the screen shows it.
    o["Size"] = font.pointSizeF() > 0 ? font.pointSizeF() : QFontInfo(font).pointSizeF();
    o["Weight"] = static_cast<int>(font.weight());
    o["Charset"] = 0;
    return o;
}

QFont ReadWeighted(const QJsonValue& value, const QFont& def) {
    if (!value.isObject()) {
        return def;
    }
    const QJsonObject o = value.toObject();
    QFont font = readShared(o, def, 1000);
    const QJsonValue weight = o.value("Weight");
    if (weight.isDouble()) {
        const double w = std::round(weight.toDouble());
        if (w >= 1 && w <= 1000) {
            font.setWeight(static_cast<QFont::Weight>(static_cast<int>(w)));
        }
    }
    if (o.value("Bold").isBool()) {
        font.setBold(o.value("Bold").toBool());
    }
    return font;
}

} // namespace pelmora::StoredFont
