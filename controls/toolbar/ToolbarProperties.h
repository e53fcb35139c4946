#pragma once

#include "controls/design/ValueTable.h"
#include "controls/paint/Drawing.h"
#include "controls/paint/OlePicture.h"
#include "controls/toolbar/ToolbarEnums.h"

#include <QFont>
#include <QString>
#include <cstdint>

namespace pelmora {

/// What a toolbar does after one of its stored values changed.
enum class ToolbarEffect {
    Nothing,          ///< stored only
    Repaint,          ///< painted anew with the layout it has
    Relayout,         ///< laid out and painted anew; a bar the user resized keeps its size
    Regap,            ///< laid out and painted anew; AutoSize may act again
    Captions,         ///< buttons with a caption are repainted
    DisabledCaptions, ///< disabled buttons with a caption are repainted
    CheckedButtons,   ///< checked buttons are repainted
    Cursor,           ///< the pointer over the control is set anew
    Side,             ///< a border side: kept on while the border is a frame; relaid out
    OwnSetter,        ///< the setter checks or does more and is written by hand
    ByHand,           ///< getter and setter are written by hand: the value is held elsewhere
                      ///< (the widget's font and enabled state, the button count) or read
                      ///< as another type
};

/// A picture with the resource or file path it was read from, so a design can name it again.
class SourcedPicture {
public:
    SourcedPicture() = default;
    SourcedPicture(const OlePicture& picture, const QString& source)
        : picture_(picture), source_(source) {}
    const OlePicture& Picture() const { return picture_; }
    const QString& Source() const { return source_; }
    bool operator==(const SourcedPicture& other) const {
        return picture_ == other.picture_ && source_ == other.source_;
    }

private:
    OlePicture picture_;
    QString source_;
};

// The toolbar's stored control values, one row each in stored order:
//   X(type, name, stored key, default, largest stored value (0: the type's range), effect,
//     name reported to the host on a change)
// A row is the one place a value is declared: the field below, the toolbar's getter and
// setter, its change notice and what the change triggers, and the stored design all come
// from it. Fonts default to the container's font whatever the row says.
#define PELMORA_TOOLBAR_PROPERTIES(X)                                                              \
    X(bool, DisabledText3D, "DisabledText3D", true, 0, Repaint, "DisabledText3D")                  \
    X(float, FixedSize, "FixedSize", 0.0f, 0, Relayout, "FixedSize")                               \
    X(int32_t, Style, "Style", tbtsVariable, tbtsFixed, Relayout, "Style")                         \
    X(QFont, ToolTipFont, "ToolTipFont", QFont(), 0, OwnSetter, "ToolTipFont")                     \
    X(OleColor, TextColor, "TextColor", 0x80000008u, 0, Captions, "TextColor")                     \
    X(OleColor, TextDisabledColor, "TextDisabledColor", 0x80000011u, 0, DisabledCaptions,          \
      "TextDisabledColor")                                                                         \
    X(bool, SolidChecked, "SolidChecked", false, 0, CheckedButtons, "SolidChecked")                \
    X(int16_t, ButtonGap, "ButtonGap", int16_t(0), 0, Regap, "ButtonGap")                          \
    X(int32_t, BorderStyle, "BorderStyle", tbbsRaised, tbbsRaisedButton, OwnSetter, "BorderStyle") \
    X(bool, BorderLeft, "BorderLeft", true, 0, Side, "BorderLeft")                                 \
    X(bool, BorderTop, "BorderTop", true, 0, Side, "BorderTop")                                    \
    X(bool, BorderRight, "BorderRight", true, 0, Side, "BorderRight")                              \
    X(bool, BorderBottom, "BorderBottom", true, 0, Side, "BorderBottom")                           \
    X(bool, DoubleTopBorder, "DoubleTopBorder", false, 0, OwnSetter, "DoubleTopBorder")            \
    X(bool, DoubleBottomBorder, "DoubleBottomBorder", false, 0, OwnSetter, "DoubleBottomBorder")   \
    X(OleColor, BackColor, "BackColor", 0x8000000Fu, 0, Repaint, "BackColor")                      \
    X(OleColor, HighlightColor, "HighlightColor", 0x80000014u, 0, Repaint, "HighlightColor")       \
    X(OleColor, ShadowColor, "ShadowColor", 0x80000010u, 0, Repaint, "ShadowColor")                \
    X(OleColor, HighlightDarkColor, "HighlightDarkColor", 0x80000016u, 0, Repaint,                 \
      "HighlightDarkColor")                                                                        \
    X(OleColor, ShadowDarkColor, "ShadowDarkColor", 0x80000015u, 0, Repaint, "ShadowDarkColor")    \
    X(bool, PlaySounds, "PlaySounds", true, 0, Nothing, "PlaySounds")                              \
    X(QFont, Font, "Font", QFont(), 0, ByHand, "Font")                                             \
    X(int32_t, Appearance, "Appearance", ifcaStandard, ifcaFlat, Repaint, "Appearance")            \
    X(int16_t, ButtonCount, "ButtonCount", int16_t(0), 32767, ByHand, "ButtonCount")               \
    X(bool, ShowToolTips, "ShowToolTips", true, 0, Nothing, "ShowToolTips")                        \
    X(int16_t, MousePointer, "MousePointer", int16_t(0), 0, Cursor, "MousePointer")                \
    X(SourcedPicture, MouseIcon, "MouseIcon", SourcedPicture(), 0, ByHand, "MouseIcon")            \
    X(bool, Enabled, "Enabled", true, 0, ByHand, "State")                                          \
    X(int32_t, CaptionOptions, "CaptionOptions", iftoShowLabels, iftoSelectedLabels, Relayout,     \
      "TextOptions")                                                                               \
    X(bool, ShowSeparators, "ShowSeparators", false, 0, OwnSetter, "ShowSeparators")               \
    X(bool, HotTracking, "HotTracking", false, 0, Nothing, "HotTracking")                          \
    X(OleColor, HotTrackingColor, "HotTrackingColor", 0x8000000Du, 0, Nothing, "HotTrackingColor") \
    X(bool, BoldOnChecked, "BoldOnChecked", false, 0, Relayout, "BoldOnChecked")                   \
    X(int32_t, CaptionAlignment, "CaptionAlignment", ifcaCaptionOnRight, ifcaCaptionOnRight,       \
      Repaint, "CaptionAlignment")                                                                 \
    X(bool, AutoSize, "AutoSize", false, 0, OwnSetter, "AutoSize")                                 \
    X(int32_t, DockingStyle, "DockStyle", 2, 2, Relayout, "DockingStyle")                          \
    X(QString, Title, "Title", QString(), 0, Nothing, "Title")                                     \
    X(int32_t, BackStyle, "BackStyle", 1, 1, OwnSetter, "BackStyle")

// Expands PELMORA_TOOLBAR_GETSET(type, name, effect, notice) for every row whose getter and
// setter are generated and PELMORA_TOOLBAR_GETTER(type, name, effect, notice) for every row
// whose setter is written by hand; both are defined by the user of this list.
#define PELMORA_TOOLBAR_ACCESSOR(type, name, key, def, max, effect, notice)                        \
    PELMORA_TOOLBAR_ACCESSOR_##effect(type, name, effect, notice)
#define PELMORA_TOOLBAR_ACCESSOR_Nothing PELMORA_TOOLBAR_GETSET
#define PELMORA_TOOLBAR_ACCESSOR_Repaint PELMORA_TOOLBAR_GETSET
#define PELMORA_TOOLBAR_ACCESSOR_Relayout PELMORA_TOOLBAR_GETSET
#define PELMORA_TOOLBAR_ACCESSOR_Regap PELMORA_TOOLBAR_GETSET
#define PELMORA_TOOLBAR_ACCESSOR_Captions PELMORA_TOOLBAR_GETSET
#define PELMORA_TOOLBAR_ACCESSOR_DisabledCaptions PELMORA_TOOLBAR_GETSET
#define PELMORA_TOOLBAR_ACCESSOR_CheckedButtons PELMORA_TOOLBAR_GETSET
#define PELMORA_TOOLBAR_ACCESSOR_Cursor PELMORA_TOOLBAR_GETSET
#define PELMORA_TOOLBAR_ACCESSOR_Side PELMORA_TOOLBAR_GETSET
#define PELMORA_TOOLBAR_ACCESSOR_OwnSetter PELMORA_TOOLBAR_GETTER
#define PELMORA_TOOLBAR_ACCESSOR_ByHand(...)

/// The toolbar's stored control values with their stored defaults, each behind a getter and
/// a setter that only store it. The font, the enabled state and the button count are kept here
/// only on their way to and from a stored design.
class ToolbarProperties {
public:
    PELMORA_TOOLBAR_PROPERTIES(PELMORA_VALUE_ACCESSORS)

private:
    PELMORA_TOOLBAR_PROPERTIES(PELMORA_VALUE_FIELD)
};

} // namespace pelmora
