#include "controls/toolbar/ToolbarDesign.h"

#include "controls/design/StoredFont.h"
#include "controls/design/StoredPicture.h"
#include "controls/toolbar/ToolbarEnums.h"

#include <QJsonObject>
#include <limits>

namespace pelmora::ToolbarDesign {

namespace {

constexpr int64_t kColorMax = 0xFFFFFFFF;
constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();
const OleColor kMagenta = OleRgb(255, 0, 255);

const char* const kPictureKeys[3] = {"ButtonPicture", "ButtonPictureOver", "ButtonPictureDown"};

// Reading and writing walk the same lists of keys below, so the two orders cannot drift.
struct Reader {
    const PropertyBag& bag;
    void Bool(const QString& key, bool& field, bool def) const { field = bag.ReadBool(key, def); }
    void Colour(const QString& key, OleColor& field, OleColor def) const {
        field = static_cast<OleColor>(bag.ReadInteger(key, def, 0, kColorMax));
    }
    void Enum(const QString& key, int32_t& field, int32_t def, int64_t min, int64_t max) const {
        field = static_cast<int32_t>(bag.ReadInteger(key, def, min, max));
    }
    void Int16(const QString& key, int16_t& field, int16_t def) const {
        field = static_cast<int16_t>(bag.ReadInteger(key, def, -32768, 32767));
    }
    void Single(const QString& key, float& field, float def) const {
        const double v = bag.ReadNumber(key, def);
        field = std::abs(v) <= std::numeric_limits<float>::max() ? static_cast<float>(v) : def;
    }
    void String(const QString& key, QString& field) const { field = bag.ReadString(key, {}); }
    void Pictures(ToolbarButton& b, const QString& n) const {
        for (int which = 0; which < 3; ++which) {
            QString source;
            const OlePicture pic = StoredPicture::Read(bag.Value(kPictureKeys[which] + n), source);
            b.SetAPicture(which, pic, source);
        }
    }
};

struct Writer {
    PropertyBag& bag;
    void Bool(const QString& key, bool value, bool def) const { bag.Write(key, value, def); }
    void Colour(const QString& key, OleColor value, OleColor def) const {
        bag.Write(key, static_cast<qint64>(value), static_cast<qint64>(def));
    }
    void Enum(const QString& key, int32_t value, int32_t def, int64_t, int64_t) const {
        bag.Write(key, value, def);
    }
    void Int16(const QString& key, int16_t value, int16_t def) const { bag.Write(key, value, def); }
    void Single(const QString& key, float value, float def) const {
        bag.Write(key, static_cast<double>(value), static_cast<double>(def));
    }
    void String(const QString& key, const QString& value) const {
        bag.Write(key, value, QString());
    }
    void Pictures(const ToolbarButton& b, const QString& n) const {
        for (int which = 0; which < 3; ++which)
            bag.Write(kPictureKeys[which] + n,
                      StoredPicture::Write(b.APicture(which), b.PictureSource(which)),
                      QJsonValue());
    }
};

// The control values before ButtonCount, in stored order; R is a Reader or a Writer and
// P a mutable or const ToolbarProperties.
template <typename R, typename P> void ColoursAndBorders(const R& io, P& p) {
    const ToolbarProperties d;
    io.Colour("TextColor", p.TextColor, d.TextColor);
    io.Colour("TextDisabledColor", p.TextDisabledColor, d.TextDisabledColor);
    io.Bool("SolidChecked", p.SolidChecked, d.SolidChecked);
    io.Int16("ButtonGap", p.ButtonGap, d.ButtonGap);
    io.Enum("BorderStyle", p.BorderStyle, d.BorderStyle, 0, tbbsRaisedButton);
    io.Bool("BorderLeft", p.BorderLeft, d.BorderLeft);
    io.Bool("BorderTop", p.BorderTop, d.BorderTop);
    io.Bool("BorderRight", p.BorderRight, d.BorderRight);
    io.Bool("BorderBottom", p.BorderBottom, d.BorderBottom);
    io.Bool("DoubleTopBorder", p.DoubleTopBorder, d.DoubleTopBorder);
    io.Bool("DoubleBottomBorder", p.DoubleBottomBorder, d.DoubleBottomBorder);
    io.Colour("BackColor", p.BackColor, d.BackColor);
    io.Colour("HighlightColor", p.HighlightColor, d.HighlightColor);
    io.Colour("ShadowColor", p.ShadowColor, d.ShadowColor);
    io.Colour("HighlightDarkColor", p.HighlightDarkColor, d.HighlightDarkColor);
    io.Colour("ShadowDarkColor", p.ShadowDarkColor, d.ShadowDarkColor);
    io.Bool("PlaySounds", p.PlaySounds, d.PlaySounds);
}

// The control values after Enabled, in stored order.
template <typename R, typename P> void CaptionsAndLooks(const R& io, P& p) {
    const ToolbarProperties d;
    io.Enum("CaptionOptions", p.CaptionOptions, d.CaptionOptions, 0, iftoSelectedLabels);
    io.Bool("ShowSeparators", p.ShowSeparators, d.ShowSeparators);
    io.Bool("HotTracking", p.HotTracking, d.HotTracking);
    io.Colour("HotTrackingColor", p.HotTrackingColor, d.HotTrackingColor);
    io.Bool("BoldOnChecked", p.BoldOnChecked, d.BoldOnChecked);
    io.Enum("CaptionAlignment", p.CaptionAlignment, d.CaptionAlignment, 0, ifcaCaptionOnRight);
    io.Bool("AutoSize", p.AutoSize, d.AutoSize);
    io.Enum("DockStyle", p.DockingStyle, d.DockingStyle, 0, 2);
}

// The sixteen values of one button, in stored order. A button style is any 32-bit value, so
// unknown ones survive a load and save.
template <typename R, typename B> void ButtonValues(const R& io, B& b, int i) {
    const QString n = QString::number(i);
    io.Bool("ButtonEnabled" + n, b.Enabled, true);
    io.Bool("ButtonChecked" + n, b.Checked, false);
    io.String("ButtonCaption" + n, b.Caption);
    io.String("ButtonDescription" + n, b.Description);
    io.String("ButtonKey" + n, b.Key);
    io.Bool("ButtonUseMaskColor" + n, b.UseMaskColor, true);
    io.Colour("ButtonMaskColor" + n, b.MaskColor, kMagenta);
    io.Pictures(b, n);
    io.Single("ButtonWidth" + n, b.PlaceholderSize, 0);
    io.Enum("ButtonStyle" + n, b.Style, tbbtButton, kInt32Min, kInt32Max);
    io.String("ButtonToolTipText" + n, b.ToolTipText);
    io.Bool("ButtonVisible" + n, b.Visible, true);
    io.Bool("ButtonAlwaysShowCaption" + n, b.AlwaysShowCaption, false);
    io.Int16("ButtonGroupID" + n, b.GroupID, 0);
}

} // namespace

void Read(const PropertyBag& bag, const QFont& ambientFont, ToolbarProperties& p, QFont& font,
          bool& enabled, ButtonCollection& buttons) {
    const ToolbarProperties d;
    const Reader io{bag};
    io.Bool("DisabledText3D", p.DisabledText3D, d.DisabledText3D);
    io.Single("FixedSize", p.FixedSize, d.FixedSize);
    io.Enum("Style", p.Style, d.Style, 0, tbtsFixed);
    p.ToolTipFont = StoredFont::Read(bag.Value("ToolTipFont"), ambientFont);
    ColoursAndBorders(io, p);
    font = StoredFont::Read(bag.Value("Font"), ambientFont);
    io.Enum("Appearance", p.Appearance, d.Appearance, 0, ifcaFlat);
    const auto count = static_cast<int>(bag.ReadInteger("ButtonCount", 0, 0, 32767));
    io.Bool("ShowToolTips", p.ShowToolTips, d.ShowToolTips);
    io.Int16("MousePointer", p.MousePointer, d.MousePointer);
    p.MouseIcon = StoredPicture::Read(bag.Value("MouseIcon"), p.MouseIconSource);
    enabled = bag.ReadBool("Enabled", true);
    CaptionsAndLooks(io, p);
    p.Title = bag.ReadString("Title", QString());
    io.Enum("BackStyle", p.BackStyle, d.BackStyle, 0, 1);
    buttons.Clear();
    buttons.Resize(count);

    for (int i = 1; i <= count; ++i)
        ButtonValues(io, buttons[i], i);
}

void Write(PropertyBag& bag, const ToolbarProperties& p, const QFont& font,
           const QFont& ambientFont, bool enabled, const ButtonCollection& buttons) {
    const ToolbarProperties d;
    const Writer io{bag};
    io.Bool("DisabledText3D", p.DisabledText3D, d.DisabledText3D);
    io.Single("FixedSize", p.FixedSize, d.FixedSize);
    io.Enum("Style", p.Style, d.Style, 0, tbtsFixed);
    bag.Write("ToolTipFont", StoredFont::Write(p.ToolTipFont), StoredFont::Write(ambientFont));
    ColoursAndBorders(io, p);
    bag.Write("Font", StoredFont::Write(font), StoredFont::Write(ambientFont));
    io.Enum("Appearance", p.Appearance, d.Appearance, 0, ifcaFlat);
    bag.WriteAlways("ButtonCount", buttons.Count());
    io.Bool("ShowToolTips", p.ShowToolTips, d.ShowToolTips);
    io.Int16("MousePointer", p.MousePointer, d.MousePointer);
    bag.Write("MouseIcon", StoredPicture::Write(p.MouseIcon, p.MouseIconSource), QJsonValue());
    bag.Write("Enabled", enabled, true);
    CaptionsAndLooks(io, p);
    bag.Write("Title", p.Title, QString());
    io.Enum("BackStyle", p.BackStyle, d.BackStyle, 0, 1);

    for (int i = 1; i <= buttons.Count(); ++i)
        ButtonValues(io, buttons[i], i);
}

} // namespace pelmora::ToolbarDesign
