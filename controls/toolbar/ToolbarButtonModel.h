#pragma once

#include "controls/toolbar/ButtonCollection.h"
#include "controls/toolbar/ToolbarButtonListener.h"

#include <QString>
#include <QVariant>
#include <cstdint>

namespace pelmora {

// Declarations of the generated indexed accessors (one row each in ToolbarButton.h).
#define PELMORA_BUTTON_GETTER(type, field, key, effect) type Button##field(const QVariant& index);
#define PELMORA_BUTTON_GETSET(type, field, key, effect)                                            \
    type Button##field(const QVariant& index);                                                     \
    void SetButton##field(const QVariant& index, const type& value);

/// The button side of the toolbar: the ordered button records, addressing by index or key,
/// adding, deleting and moving buttons, the indexed button properties and the group rules.
/// What a change means on screen is left to the control through the hooks below.
class ToolbarButtonModel {
public:
    virtual ~ToolbarButtonModel() = default;

    /// Index of a button given as a number (a text's leading number) or as a key, keys
    /// compared without case. The number 0 gives 0; an unknown key raises 35601.
    int16_t KeyToIndex(const QVariant& index);
    /// Appends a push button with the default values; returns its index.
    int16_t AddButton();
    /// Appends a button with the given values; returns its index (error 6 past 32,767).
    int16_t AddButtonEx(const QString& key, int32_t style, const OlePicture& picture,
                        const QString& toolTipText, OleColor maskColor, bool useMaskColor,
                        const QString& caption, bool checked, bool enabled, float placeholderWidth,
                        bool visible);
    /// Removes a button (error 380 for an invalid index); returns the new count.
    int16_t DeleteButton(const QVariant& index);
    /// Moves a button to another place, the buttons between shifting towards its old place
    /// (error 380 for invalid indexes); returns the index it now has.
    int16_t SwapButton(const QVariant& curIndex, const QVariant& newIndex);
    /// The record of a button itself (error 9 outside the array).
    ToolbarButton& Button(const QVariant& index);
    /// Number of buttons.
    int16_t ButtonCount() const { return static_cast<int16_t>(buttons_.Count()); }
    /// The highest checked button of a group, 0 when none is checked.
    int16_t CurrentGroupID(int16_t groupId) const;
    /// Largest width of the pictures of one kind (0 normal, 1 hover, 2 down); 0 when none.
    int PictureWidth(int what) const;
    /// Largest height of the pictures of one kind; 0 when none.
    int PictureHeight(int what) const;

    /// Indexed button values, one getter and setter per row of ToolbarButton.h; see the
    /// record for their meaning. An index outside the array raises error 9 and changes
    /// nothing; a setter given the value the button has does nothing.
    PELMORA_TOOLBAR_BUTTON_VALUES(PELMORA_BUTTON_ACCESSOR, )
    /// A visible button's caption change lays the bar out anew.
    void SetButtonCaption(const QVariant& index, const QString& value);
    /// Shown under iftoSelectedLabels; a change lays the bar out anew.
    void SetButtonAlwaysShowCaption(const QVariant& index, bool value);
    /// Length of a placeholder along the bar (stored as ButtonWidth).
    float ButtonPlaceholderWidth(const QVariant& index);
    void SetButtonPlaceholderWidth(const QVariant& index, float value);
    /// The three pictures: normal, under the mouse, pressed or checked.
    OlePicture ButtonPicture(const QVariant& index);
    void SetButtonPicture(const QVariant& index, const OlePicture& value);
    OlePicture ButtonPictureOver(const QVariant& index);
    void SetButtonPictureOver(const QVariant& index, const OlePicture& value);
    OlePicture ButtonPictureDown(const QVariant& index);
    void SetButtonPictureDown(const QVariant& index, const OlePicture& value);

protected:
    /// The listener every change is told to; set once by the owner before any other call.
    void SetListener(ToolbarButtonListener& listener) { listener_ = &listener; }
    /// Raises a numbered error through the listener.
    void RaiseControlError(const QString& procedure, int number, const QString& description = {});

    /// Checks the button and unchecks the other members of its GroupID (if it has one).
    void SelectGroupButton(int index);
    /// KeyToIndex, then error 9 unless the index is within the array.
    int ValidIndex(const QVariant& index, const char* procedure);

    ButtonCollection buttons_;

private:
    template <typename T>
    void SetValue(const QVariant& index, const T& (ToolbarButton::*get)() const,
                  void (ToolbarButton::*set)(const T&), const T& value, const char* name,
                  ButtonEffect effect);
    void SetPicture(const QVariant& index, int which, const OlePicture& value, const char* name,
                    bool appendIndex);
    void Changed(int index, const char* name, bool appendIndex = false);

    ToolbarButtonListener* listener_ = nullptr;
};

#undef PELMORA_BUTTON_GETTER
#undef PELMORA_BUTTON_GETSET

} // namespace pelmora
