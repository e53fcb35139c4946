#pragma once

#include "controls/design/ValueTable.h"
#include "controls/paint/Drawing.h"
#include "controls/paint/OlePicture.h"

#include <QString>
#include <array>
#include <cstdint>

namespace pelmora {

// The stored values of one toolbar button, one row each in stored order; PICTURES stands where
// the three pictures are stored, which are kept apart:
//   X(type, field, stored key, default, what a change does on the bar)
// The effect says what a change does (ButtonEffect) and which of the toolbar's indexed
// accessors are generated.
// This row is the one place a value is declared: the record's accessors, the toolbar's
// indexed getters and setters and the stored design all come from it.
#define PELMORA_TOOLBAR_BUTTON_VALUES(X, PICTURES)                                                 \
    X(bool, Enabled, "ButtonEnabled", true, Look)                                                  \
    X(bool, Checked, "ButtonChecked", false, LookNumbered)                                         \
    X(QString, Caption, "ButtonCaption", QString(), OwnSetter)                                     \
    X(QString, Description, "ButtonDescription", QString(), Unseen)                                \
    X(QString, Key, "ButtonKey", QString(), Unseen)                                                \
    X(bool, UseMaskColor, "ButtonUseMaskColor", true, Look)                                        \
    X(OleColor, MaskColor, "ButtonMaskColor", OleColor(0xFF00FF), Look)                            \
    PICTURES                                                                                       \
    X(float, PlaceholderSize, "ButtonWidth", 0.0f, ByHand)                                         \
    X(int32_t, Style, "ButtonStyle", int32_t(1), Size)                                             \
    X(QString, ToolTipText, "ButtonToolTipText", QString(), Unseen)                                \
    X(bool, Visible, "ButtonVisible", true, Size)                                                  \
    X(bool, AlwaysShowCaption, "ButtonAlwaysShowCaption", false, OwnSetter)                        \
    X(int16_t, GroupID, "ButtonGroupID", int16_t(0), Unseen)

/// What a change of a button value does on the bar.
enum class ButtonEffect {
    Look,         ///< the button is repainted
    LookNumbered, ///< the button is repainted; the change notice carries its index
    Size,         ///< the bar is laid out anew and may size itself again
    Unseen,       ///< nothing on the bar shows it
    OwnSetter,    ///< the toolbar's setter is written by hand
    ByHand,       ///< the toolbar's getter and setter are written by hand (another name)
};

// Expands PELMORA_BUTTON_GETSET(type, field, key, effect) for every row whose indexed getter
// and setter are generated and PELMORA_BUTTON_GETTER(type, field, key, effect) for the rows
// whose setter is written by hand; both are defined by the user of this list.
#define PELMORA_BUTTON_ACCESSOR(type, field, key, def, effect)                                     \
    PELMORA_BUTTON_ACCESSOR_##effect(type, field, key, effect)
#define PELMORA_BUTTON_ACCESSOR_Look PELMORA_BUTTON_GETSET
#define PELMORA_BUTTON_ACCESSOR_LookNumbered PELMORA_BUTTON_GETSET
#define PELMORA_BUTTON_ACCESSOR_Size PELMORA_BUTTON_GETSET
#define PELMORA_BUTTON_ACCESSOR_Unseen PELMORA_BUTTON_GETSET
#define PELMORA_BUTTON_ACCESSOR_OwnSetter PELMORA_BUTTON_GETTER
#define PELMORA_BUTTON_ACCESSOR_ByHand(...)

// The record's fields, one per row: a new record holds zeros, not the stored defaults.
#define PELMORA_BUTTON_FIELD(type, field, key, def, effect) type field##_{};

/// One toolbar button: a record owned by the toolbar. A new record has every string empty,
/// every number 0, every flag false and every picture absent.
class ToolbarButton {
public:
    PELMORA_TOOLBAR_BUTTON_VALUES(PELMORA_VALUE_ACCESSORS, )

    /// Background drawn instead of the back colour when set.
    const OlePicture& TemporaryPicture() const { return temporaryPicture_; }
    void SetTemporaryPicture(const OlePicture& picture) { temporaryPicture_ = picture; }

    /// Picture 0 (normal), 1 (hover) or 2 (pressed/checked); other indexes raise error 9.
    const OlePicture& APicture(int whichPicture) const;
    /// Assigns picture 0, 1 or 2; other indexes raise error 9. source names where the picture
    /// came from (a resource path), so a stored design can name it again; empty when unknown.
    void SetAPicture(int whichPicture, const OlePicture& picture, const QString& source = {});
    /// Where picture 0, 1 or 2 came from; empty when unknown.
    const QString& PictureSource(int whichPicture) const;

private:
    PELMORA_TOOLBAR_BUTTON_VALUES(PELMORA_BUTTON_FIELD, )
    OlePicture temporaryPicture_;
    std::array<OlePicture, 3> pictures_;
    std::array<QString, 3> sources_;
};

#undef PELMORA_BUTTON_FIELD

} // namespace pelmora
