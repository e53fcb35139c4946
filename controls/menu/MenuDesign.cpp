#include "controls/menu/MenuDesign.h"

#include "controls/design/StoredFont.h"
#include "controls/design/StoredPicture.h"

#include <QFile>
#include <QJsonDocument>
#include <algorithm>
#include <cmath>

namespace pelmora {

namespace {

// Stored values come from files a user may have edited: a value of the wrong type reads as
// its default rather than as zero.
int readInt(const QJsonObject& bag, const QString& key, int fallback) {
    const QJsonValue v = bag.value(key);
    if (!v.isDouble())
        return fallback;
    const double d = v.toDouble();
    if (!std::isfinite(d) || d < -2147483648.0 || d > 2147483647.0)
        return fallback;
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
    if (!v.isDouble())
        return fallback;
    const double d = v.toDouble();
    if (!std::isfinite(d) || d < 0 || d > 4294967295.0)
        return fallback;
    return static_cast<std::uint32_t>(d);
}

QString indexed(const char* word, int i) {
    return QString::fromLatin1(word) + QString::number(i);
}

} // namespace

MenuDesign MenuDesign::FromJson(const QJsonObject& bag, const QFont& containerFont) {
    MenuDesign d;
    d.Spacing = readInt(bag, "Spacing", 12);
    d.Style = readInt(bag, "Style", 0);
    d.HighLightStyle = readInt(bag, "HighLightStyle", 1);
    // A declared count larger than the items stored is honoured (the rest take defaults), but
    // never beyond what a 16-bit index can address.
    const int count = std::clamp(readInt(bag, "ItemCount", 0), 0, MaxItems);
    d.ItemsFont = StoredFont::ReadWeighted(bag.value("ItemsFont"), containerFont);
    for (int i = 1; i <= count; ++i) {
        MenuItem item;
        item.SetEnabled(readBool(bag, indexed("MenuEnabled", i), true));
        item.SetChecked(readBool(bag, indexed("MenuChecked", i), false));
        // A negative level has no meaning in the tree; it reads as a bar item.
        item.SetIdent(std::max(0, readInt(bag, indexed("MenuIdent", i), 0)));
        item.SetCaption(readString(bag, indexed("MenuCaption", i)));
        item.SetName(readString(bag, indexed("MenuName", i)));
        item.SetUseMaskColor(readBool(bag, indexed("MenuUseMaskColor", i), true));
        item.SetMaskColor(readColor(bag, indexed("MenuMaskColor", i), 0xFF00FF));
        const QJsonValue picture = bag.value(indexed("MenuPicture", i));
        item.SetAPicture(StoredPicture::Read(picture), StoredPicture::SourceOf(picture));
        item.SetVisible(readBool(bag, indexed("MenuVisible", i), true));
        item.SetDescription(readString(bag, indexed("MenuDescription", i)));
        d.Items.Add(item);
    }
    return d;
}

QJsonObject MenuDesign::ToJson(const QFont& containerFont) const {
    QJsonObject bag;
    if (Spacing != 12)
        bag["Spacing"] = Spacing;
    if (Style != 0)
        bag["Style"] = Style;
    if (HighLightStyle != 1)
        bag["HighLightStyle"] = HighLightStyle;
    if (Items.Count() != 0)
        bag["ItemCount"] = Items.Count();
    if (ItemsFont != containerFont)
        bag["ItemsFont"] = StoredFont::WriteWeighted(ItemsFont);
    int i = 0;
    for (const MenuItem& item : Items) {
        ++i;
        if (!item.Enabled())
            bag[indexed("MenuEnabled", i)] = false;
        if (item.Checked())
            bag[indexed("MenuChecked", i)] = true;
        if (item.Ident() != 0)
            bag[indexed("MenuIdent", i)] = item.Ident();
        if (!item.Caption().isEmpty())
            bag[indexed("MenuCaption", i)] = item.Caption();
        if (!item.Name().isEmpty())
            bag[indexed("MenuName", i)] = item.Name();
        if (!item.UseMaskColor())
            bag[indexed("MenuUseMaskColor", i)] = false;
        if (item.MaskColor() != 0xFF00FF)
            bag[indexed("MenuMaskColor", i)] = static_cast<double>(item.MaskColor());
        const QJsonValue picture = StoredPicture::Write(item.APicture(0), item.PictureSource());
        if (!picture.isNull())
            bag[indexed("MenuPicture", i)] = picture;
        if (!item.Visible())
            bag[indexed("MenuVisible", i)] = false;
        if (!item.Description().isEmpty())
            bag[indexed("MenuDescription", i)] = item.Description();
    }
    return bag;
}

bool MenuDesign::Load(const QString& path, const QFont& containerFont, MenuDesign& design) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return false;
    design = FromJson(doc.object(), containerFont);
    return true;
}

} // namespace pelmora
