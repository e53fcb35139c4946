#include "controls/menu/MenuDesign.h"

#include "controls/design/StoredFont.h"
#include "controls/design/StoredPicture.h"

#include <QFile>
#include <QJsonDocument>
#include <algorithm>
#include <cmath>
#include <type_traits>

namespace pelmora {

namespace {

// Stored values come from files a user may have edited: a value of the wrong type reads as
// its default rather than as zero.
int readInt(const QJsonObject& bag, const QString& key, int fallback) {
    const QJsonValue v = bag.value(key);
    if (!v.isDouble()) {
        return fallback;
    }
    const double d = v.toDouble();
    if (!std::isfinite(d) || d < -2147483648.0 || d > 2147483647.0) {
        return fallback;
    }
    return static_cast<int>(std::lround(d));
}

bool readBool(const QJsonObject& bag, const QString& key, bool fallback) {
    const QJsonValue v = bag.value(key);
    return v.isBool() ? v.toBool() : fallback;
}

QString readString(const QJsonObject& bag, const QString& key) {
    return bag.value(key).toString();
}

std::uint32_t readColor(const QJsonObject& bag, const QString& key, std::uint32_t fallback) {
    const QJsonValue v = bag.value(key);
    if (!v.isDouble()) {
        return fallback;
    }
    const double d = v.toDouble();
    if (!std::isfinite(d) || d < 0 || d > 4294967295.0) {
        return fallback;
    }
    return static_cast<std::uint32_t>(d);
}

QString indexed(const char* word, int i) {
    return QString::fromLatin1(word) + QString::number(i);
}

// A stored value of each kind, or its default when missing or unreadable.
int readValue(const QJsonObject& bag, const QString& key, int def) {
    return readInt(bag, key, def);
}
bool readValue(const QJsonObject& bag, const QString& key, bool def) {
    return readBool(bag, key, def);
}
QString readValue(const QJsonObject& bag, const QString& key, const QString&) {
    return readString(bag, key);
}
std::uint32_t readValue(const QJsonObject& bag, const QString& key, std::uint32_t def) {
    return readColor(bag, key, def);
}

// Writes a value unless it equals its default.
template <typename T>
void writeValue(QJsonObject& bag, const QString& key, const T& value, const T& def) {
    if (value == def) {
        return;
    }
    if constexpr (std::is_same_v<T, std::uint32_t>) {
        bag[key] = static_cast<double>(value);
    } else {
        bag[key] = value;
    }
}

} // namespace

MenuDesign MenuDesign::FromJson(const QJsonObject& bag, const QFont& containerFont) {
    MenuDesign d;
#define PELMORA_MENU_BAR_READ(type, name, key, def, relayout)                                      \
    d.name##_ = readValue(bag, QStringLiteral(key), type(def));
    PELMORA_MENU_BAR_VALUES(PELMORA_MENU_BAR_READ)
#undef PELMORA_MENU_BAR_READ
    // A declared count larger than the items stored is honoured (the rest take defaults), but
    // never beyond what a 16-bit index can address.
    const int count = std::clamp(readInt(bag, "ItemCount", 0), 0, MaxItems);
    d.itemsFont_ = StoredFont::ReadWeighted(bag.value("ItemsFont"), containerFont);
    for (int i = 1; i <= count; ++i) {
        MenuItem item;
        const QJsonValue picture = bag.value(indexed("MenuPicture", i));
#define PELMORA_MENU_ITEM_READ(type, name, key, def)                                               \
    if constexpr (key != nullptr) {                                                                \
        item.Set##name(readValue(bag, indexed(key, i), type(def)));                                \
    }
        PELMORA_MENU_ITEM_VALUES(
            PELMORA_MENU_ITEM_READ,
            item.SetAPicture(StoredPicture::Read(picture), StoredPicture::SourceOf(picture));)
#undef PELMORA_MENU_ITEM_READ
        // A negative level has no meaning in the tree; it reads as a bar item.
        item.SetIdent(std::max(0, item.Ident()));
        d.items_.Add(item);
    }
    return d;
}

QJsonObject MenuDesign::ToJson(const QFont& containerFont) const {
    QJsonObject bag;
#define PELMORA_MENU_BAR_WRITE(type, name, key, def, relayout)                                     \
    writeValue(bag, QStringLiteral(key), name##_, type(def));
    PELMORA_MENU_BAR_VALUES(PELMORA_MENU_BAR_WRITE)
#undef PELMORA_MENU_BAR_WRITE
    writeValue(bag, QStringLiteral("ItemCount"), items_.Count(), 0);
    if (itemsFont_ != containerFont) {
        bag["ItemsFont"] = StoredFont::WriteWeighted(itemsFont_);
    }
    int i = 0;
    for (const MenuItem& item : items_) {
        ++i;
        const QJsonValue picture = StoredPicture::Write(item.APicture(0), item.PictureSource());
#define PELMORA_MENU_ITEM_WRITE(type, name, key, def)                                              \
    if constexpr (key != nullptr) {                                                                \
        writeValue(bag, indexed(key, i), item.name(), type(def));                                  \
    }
        PELMORA_MENU_ITEM_VALUES(
            PELMORA_MENU_ITEM_WRITE,
            if (!picture.isNull()) { bag[indexed("MenuPicture", i)] = picture; })
#undef PELMORA_MENU_ITEM_WRITE
    }
    return bag;
}

bool MenuDesign::Load(const QString& path, const QFont& containerFont, MenuDesign& design) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) {
        return false;
    }
    design = FromJson(doc.object(), containerFont);
    return true;
}

} // namespace pelmora
