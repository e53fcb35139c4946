#pragma once

#include "controls/toolbar/ButtonCollection.h"

#include <QString>
#include <QVariant>
#include <cstdint>

namespace pelmora {

/// The button side of the toolbar: the ordered button records, addressing by index or key,
/// adding, deleting and moving buttons, the indexed button properties and the group rules.
/// What a change means on screen is left to the control through the hooks below.
class ToolbarButtonModel {
public:
    virtual ~ToolbarButtonModel() = default;

    /// Index of a button given as a number (a text's leading number) or as a key, keys
    /// compared without case. The number 0 gives 0; an unknown key raises 35601.
    int16_t KeyToIndex(const QVariant& Index);
    /// Appends a push button with the default values; returns its index.
    int16_t AddButton();
    /// Appends a button with the given values; returns its index (error 6 past 32,767).
    int16_t AddButtonEx(const QString& Key, int32_t Style, const OlePicture& Picture,
                        const QString& ToolTipText, OleColor MaskColor, bool UseMaskColor,
                        const QString& Caption, bool Checked, bool Enabled, float PlaceholderWidth,
                        bool Visible);
    /// Removes a button (error 380 for an invalid index); returns the new count.
    int16_t DeleteButton(const QVariant& Index);
    /// Moves a button to another place, the buttons between shifting towards its old place
    /// (error 380 for invalid indexes); returns the index it now has.
    int16_t SwapButton(const QVariant& CurIndex, const QVariant& NewIndex);
    /// The record of a button itself (error 9 outside the array).
    ToolbarButton& Button(const QVariant& Index);
    /// Number of buttons.
    int16_t ButtonCount() const { return static_cast<int16_t>(buttons_.Count()); }
    /// The highest checked button of a group, 0 when none is checked.
    int16_t CurrentGroupID(int16_t GroupID) const;
    /// Largest width of the pictures of one kind (0 normal, 1 hover, 2 down); 0 when none.
    int PictureWidth(int What) const;
    /// Largest height of the pictures of one kind; 0 when none.
    int PictureHeight(int What) const;

    /// Indexed button properties; see the button record for their meaning. An index outside
    /// the array raises error 9 and changes nothing.
    QString ButtonCaption(const QVariant& Index) {
        return Field(Index, &ToolbarButton::Caption, "ButtonCaption");
    }
    void SetButtonCaption(const QVariant& Index, const QString& value);
    QString ButtonDescription(const QVariant& Index) {
        return Field(Index, &ToolbarButton::Description, "ButtonDescription");
    }
    void SetButtonDescription(const QVariant& Index, const QString& value) {
        SetUnseen(Index, &ToolbarButton::Description, value, "ButtonDescription");
    }
    QString ButtonToolTipText(const QVariant& Index) {
        return Field(Index, &ToolbarButton::ToolTipText, "ButtonToolTipText");
    }
    void SetButtonToolTipText(const QVariant& Index, const QString& value) {
        SetUnseen(Index, &ToolbarButton::ToolTipText, value, "ButtonToolTipText");
    }
    QString ButtonKey(const QVariant& Index) {
        return Field(Index, &ToolbarButton::Key, "ButtonKey");
    }
    void SetButtonKey(const QVariant& Index, const QString& value) {
        SetUnseen(Index, &ToolbarButton::Key, value, "ButtonKey");
    }
    bool ButtonEnabled(const QVariant& Index) {
        return Field(Index, &ToolbarButton::Enabled, "ButtonEnabled");
    }
    void SetButtonEnabled(const QVariant& Index, bool value) {
        SetLook(Index, &ToolbarButton::Enabled, value, "ButtonEnabled");
    }
    bool ButtonAlwaysShowCaption(const QVariant& Index) {
        return Field(Index, &ToolbarButton::AlwaysShowCaption, "ButtonAlwaysShowCaption");
    }
    void SetButtonAlwaysShowCaption(const QVariant& Index, bool value);
    bool ButtonVisible(const QVariant& Index) {
        return Field(Index, &ToolbarButton::Visible, "ButtonVisible");
    }
    void SetButtonVisible(const QVariant& Index, bool value) {
        SetSize(Index, &ToolbarButton::Visible, value, "ButtonVisible");
    }
    bool ButtonUseMaskColor(const QVariant& Index) {
        return Field(Index, &ToolbarButton::UseMaskColor, "ButtonUseMaskColor");
    }
    void SetButtonUseMaskColor(const QVariant& Index, bool value) {
        SetLook(Index, &ToolbarButton::UseMaskColor, value, "ButtonUseMaskColor");
    }
    OleColor ButtonMaskColor(const QVariant& Index) {
        return Field(Index, &ToolbarButton::MaskColor, "ButtonMaskColor");
    }
    void SetButtonMaskColor(const QVariant& Index, OleColor value) {
        SetLook(Index, &ToolbarButton::MaskColor, value, "ButtonMaskColor");
    }
    OlePicture ButtonPicture(const QVariant& Index) { return PictureOf(Index, 0, "ButtonPicture"); }
    void SetButtonPicture(const QVariant& Index, const OlePicture& value) {
        SetPicture(Index, 0, value, "ButtonPicture", false);
    }
    OlePicture ButtonPictureOver(const QVariant& Index) {
        return PictureOf(Index, 1, "ButtonPictureOver");
    }
    void SetButtonPictureOver(const QVariant& Index, const OlePicture& value) {
        SetPicture(Index, 1, value, "ButtonPictureOver", true);
    }
    OlePicture ButtonPictureDown(const QVariant& Index) {
        return PictureOf(Index, 2, "ButtonPictureDown");
    }
    void SetButtonPictureDown(const QVariant& Index, const OlePicture& value) {
        SetPicture(Index, 2, value, "ButtonPictureDown", true);
    }
    bool ButtonChecked(const QVariant& Index) {
        return Field(Index, &ToolbarButton::Checked, "ButtonChecked");
    }
    /// Checks or unchecks one button; the group rules are not applied here.
    void SetButtonChecked(const QVariant& Index, bool value) {
        SetLook(Index, &ToolbarButton::Checked, value, "ButtonChecked", true);
    }
    int32_t ButtonStyle(const QVariant& Index) {
        return Field(Index, &ToolbarButton::Style, "ButtonStyle");
    }
    void SetButtonStyle(const QVariant& Index, int32_t value) {
        SetSize(Index, &ToolbarButton::Style, value, "ButtonStyle");
    }
    float ButtonPlaceholderWidth(const QVariant& Index) {
        return Field(Index, &ToolbarButton::PlaceholderSize, "ButtonPlaceholderWidth");
    }
    void SetButtonPlaceholderWidth(const QVariant& Index, float value) {
        SetSize(Index, &ToolbarButton::PlaceholderSize, value, "ButtonPlaceholderWidth");
    }
    int16_t ButtonGroupID(const QVariant& Index) {
        return Field(Index, &ToolbarButton::GroupID, "ButtonGroupID");
    }
    void SetButtonGroupID(const QVariant& Index, int16_t value) {
        SetUnseen(Index, &ToolbarButton::GroupID, value, "ButtonGroupID");
    }
    /// The button's rectangle from the last layout, in pixels.
    int32_t ButtonClientLeft(const QVariant& Index) {
        return Field(Index, &ToolbarButton::ClientLeft, "ButtonClientLeft");
    }
    int32_t ButtonClientTop(const QVariant& Index) {
        return Field(Index, &ToolbarButton::ClientTop, "ButtonClientTop");
    }
    int32_t ButtonClientWidth(const QVariant& Index) {
        return Field(Index, &ToolbarButton::ClientWidth, "ButtonClientWidth");
    }
    int32_t ButtonClientHeight(const QVariant& Index) {
        return Field(Index, &ToolbarButton::ClientHeight, "ButtonClientHeight");
    }

protected:
    /// The set of visible buttons or their sizes changed: AutoSize may act again.
    virtual void ButtonSizesChanged() = 0;
    /// The buttons must be laid out and painted anew.
    virtual void ButtonsChanged() = 0;
    /// A visible button's look changed: repaint it at rest.
    virtual void ButtonLookChanged(int index) = 0;
    /// Tells the host that a property changed.
    virtual void ButtonPropertyChanged(const QString& name) = 0;
    /// Buttons moved or went away: indexes held elsewhere are stale.
    virtual void ButtonsReordered() {}
    /// A record was handed out for direct changes.
    virtual void ButtonRecordHandedOut() {}
    /// Raises a numbered error of the control (a designer shows it instead and goes on).
    virtual void RaiseControlError(const QString& procedure, int number,
                                   const QString& description = {});

    /// Checks the button and unchecks the other members of its GroupID (if it has one).
    void SelectGroupButton(int index);
    /// KeyToIndex, then error 9 unless the index is within the array.
    int ValidIndex(const QVariant& Index, const char* procedure);

    ButtonCollection buttons_;

private:
    template <typename T>
    T Field(const QVariant& Index, T ToolbarButton::*field, const char* name) {
        return buttons_[ValidIndex(Index, name)].*field;
    }
    OlePicture PictureOf(const QVariant& Index, int which, const char* name) {
        return buttons_[ValidIndex(Index, name)].APicture(which);
    }
    template <typename T> bool Change(int index, T ToolbarButton::*field, const T& value) {
        if (buttons_[index].*field == value)
            return false;
        buttons_[index].*field = value;
        return true;
    }
    // A value that only changes how the button looks: repainted and reported when it differs.
    template <typename T>
    void SetLook(const QVariant& Index, T ToolbarButton::*field, const T& value, const char* name,
                 bool appendIndex = false) {
        const int i = ValidIndex(Index, name);
        if (!Change(i, field, value))
            return;
        ButtonLookChanged(i);
        Changed(i, name, appendIndex);
    }
    // A value that changes the button's size: the bar is laid out again.
    template <typename T>
    void SetSize(const QVariant& Index, T ToolbarButton::*field, const T& value, const char* name) {
        const int i = ValidIndex(Index, name);
        buttons_[i].*field = value;
        ButtonSizesChanged();
        ButtonsChanged();
        Changed(i, name);
    }
    // A value nothing on the bar shows: only reported.
    template <typename T>
    void SetUnseen(const QVariant& Index, T ToolbarButton::*field, const T& value,
                   const char* name) {
        const int i = ValidIndex(Index, name);
        buttons_[i].*field = value;
        Changed(i, name);
    }
    void SetPicture(const QVariant& Index, int which, const OlePicture& value, const char* name,
                    bool appendIndex);
    void Changed(int index, const char* name, bool appendIndex = false);
};

} // namespace pelmora
