#include "controls/toolbar/ToolbarButtonModel.h"

#include "controls/paint/NumericKey.h"
#include "controls/toolbar/ToolbarEnums.h"
#include "controls/toolbar/ToolbarErrors.h"

#include <algorithm>
#include <cmath>

namespace pelmora {

namespace {

const QString kTypeName = QStringLiteral("xToolbar");

bool IsNumber(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

} // namespace

void ToolbarButtonModel::RaiseControlError(const QString& procedure, int number,
                                           const QString& description) {
    listener_->RaiseControlError(procedure, number, description);
}

int16_t ToolbarButtonModel::KeyToIndex(const QVariant& index) {
    if (IsNumber(index) && index.toDouble() == 0) {
        return 0;
    }
    const QString text = index.toString();
    const NumericKey number = ReadNumericKey(text);
    if (number.Overflow()) {
        ToolbarErrors::Raise(kTypeName, QStringLiteral("KeyToIndex"), ToolbarErrors::ErrOverflow);
    }
    if (number.IsIndex()) {
        return number.Index();
    }
    if (const int found = buttons_.FindKey(text)) {
        return static_cast<int16_t>(found);
    }
    RaiseControlError(QStringLiteral("KeyToIndex"), ToolbarErrors::ErrKeyNotFound,
                      QStringLiteral("Element not found. Key is missing or illegal."));
    return 0;
}

int ToolbarButtonModel::ValidIndex(const QVariant& index, const char* procedure) {
    const int i = KeyToIndex(index);
    if (!buttons_.IsValidIndex(i)) {
        ToolbarErrors::Raise(kTypeName, QString::fromLatin1(procedure),
                             ToolbarErrors::ErrSubscript);
    }
    return i;
}

int16_t ToolbarButtonModel::AddButton() {
    return AddButtonEx(QString(), tbbtButton, OlePicture(), QString(), OleRgb(255, 0, 255), true,
                       QString(), false, true, 0, true);
}

int16_t ToolbarButtonModel::AddButtonEx(const QString& key, int32_t style,
                                        const OlePicture& picture, const QString& toolTipText,
                                        OleColor maskColor, bool useMaskColor,
                                        const QString& caption, bool checked, bool enabled,
                                        float placeholderWidth, bool visible) {
    if (buttons_.Count() >= 32767) {
        ToolbarErrors::Raise(kTypeName, QStringLiteral("AddButtonEx"), ToolbarErrors::ErrOverflow);
    }
    ToolbarButton b;
    b.SetKey(key);
    b.SetStyle(style);
    b.SetAPicture(0, picture);
    b.SetToolTipText(toolTipText);
    b.SetMaskColor(maskColor);
    b.SetUseMaskColor(useMaskColor);
    b.SetCaption(caption);
    b.SetChecked(checked);
    b.SetEnabled(enabled);
    b.SetPlaceholderSize(placeholderWidth);
    b.SetVisible(visible);
    const int count = buttons_.Append(b);
    listener_->ButtonSizesChanged();
    listener_->ButtonsChanged();
    listener_->ButtonPropertyChanged(QStringLiteral("ButtonCount"));
    return static_cast<int16_t>(count);
}

int16_t ToolbarButtonModel::DeleteButton(const QVariant& index) {
    const int i = KeyToIndex(index);
    if (!buttons_.IsValidIndex(i)) {
        RaiseControlError(QStringLiteral("DeleteButton"), ToolbarErrors::ErrInvalidPropertyValue);
        return -1;
    }
    buttons_.Move(i, buttons_.Count());
    buttons_.RemoveLast();
    listener_->ButtonsReordered();
    listener_->ButtonPropertyChanged(QStringLiteral("ButtonCount"));
    // AutoSize may act with this very refresh, so an auto-sized bar shrinks at once.
    listener_->ButtonSizesChanged();
    listener_->ButtonsChanged();
    return ButtonCount();
}

int16_t ToolbarButtonModel::SwapButton(const QVariant& curIndex, const QVariant& newIndex) {
    const int from = KeyToIndex(curIndex);
    const int to = KeyToIndex(newIndex);
    if (!buttons_.IsValidIndex(from) || !buttons_.IsValidIndex(to)) {
        RaiseControlError(QStringLiteral("SwapButton"), ToolbarErrors::ErrInvalidPropertyValue);
        return 0;
    }
    buttons_.Move(from, to);
    listener_->ButtonsReordered();
    listener_->ButtonsChanged();
    return static_cast<int16_t>(to);
}

ToolbarButton& ToolbarButtonModel::Button(const QVariant& index) {
    const int i = ValidIndex(index, "Button");
    listener_->ButtonRecordHandedOut();
    return buttons_[i];
}

int16_t ToolbarButtonModel::CurrentGroupID(int16_t groupId) const {
    return static_cast<int16_t>(buttons_.CurrentGroupID(groupId));
}

int ToolbarButtonModel::PictureWidth(int what) const {
    int widest = 0;
    for (int i = 1; i <= buttons_.Count() && what >= 0 && what <= 2; ++i) {
        widest = std::max(widest, buttons_[i].APicture(what).width());
    }
    return widest;
}

int ToolbarButtonModel::PictureHeight(int what) const {
    int highest = 0;
    for (int i = 1; i <= buttons_.Count() && what >= 0 && what <= 2; ++i) {
        highest = std::max(highest, buttons_[i].APicture(what).height());
    }
    return highest;
}

void ToolbarButtonModel::SelectGroupButton(int index) {
    if (!buttons_.IsValidIndex(index) || buttons_[index].GroupID() == 0) {
        return;
    }
    for (int other : buttons_.GroupMembers(buttons_[index].GroupID(), index)) {
        SetButtonChecked(other, false);
    }
    SetButtonChecked(index, true);
}

void ToolbarButtonModel::Changed(int index, const char* name, bool appendIndex) {
    QString property = QString::fromLatin1(name);
    if (appendIndex) {
        property += QString::number(index);
    }
    listener_->ButtonPropertyChanged(property);
}

template <typename T>
void ToolbarButtonModel::SetValue(const QVariant& index, const T& (ToolbarButton::*get)() const,
                                  void (ToolbarButton::*set)(const T&), const T& value,
                                  const char* name, ButtonEffect effect) {
    const int i = ValidIndex(index, name);
    if ((buttons_[i].*get)() == value) {
        return;
    }
    (buttons_[i].*set)(value);
    if (effect == ButtonEffect::Look || effect == ButtonEffect::LookNumbered) {
        listener_->ButtonLookChanged(i);
    } else if (effect == ButtonEffect::Size) {
        listener_->ButtonSizesChanged();
        listener_->ButtonsChanged();
    }
    Changed(i, name, effect == ButtonEffect::LookNumbered);
}

#define PELMORA_BUTTON_GETTER(type, field, key, effect)                                            \
    type ToolbarButtonModel::Button##field(const QVariant& index) {                                \
        return buttons_[ValidIndex(index, "Button" #field)].field();                               \
    }
#define PELMORA_BUTTON_GETSET(type, field, key, effect)                                            \
    PELMORA_BUTTON_GETTER(type, field, key, effect)                                                \
    void ToolbarButtonModel::SetButton##field(const QVariant& index, const type& value) {          \
        SetValue(index, &ToolbarButton::field, &ToolbarButton::Set##field, value, "Button" #field, \
                 ButtonEffect::effect);                                                            \
    }
PELMORA_TOOLBAR_BUTTON_VALUES(PELMORA_BUTTON_ACCESSOR, )
#undef PELMORA_BUTTON_GETTER
#undef PELMORA_BUTTON_GETSET

void ToolbarButtonModel::SetButtonCaption(const QVariant& index, const QString& value) {
    const int i = ValidIndex(index, "ButtonCaption");
    if (buttons_[i].Caption() == value) {
        return;
    }
    buttons_[i].SetCaption(value);
    if (buttons_[i].Visible()) {
        listener_->ButtonSizesChanged();
        listener_->ButtonsChanged();
    }
    Changed(i, "ButtonCaption");
}

void ToolbarButtonModel::SetButtonAlwaysShowCaption(const QVariant& index, bool value) {
    const int i = ValidIndex(index, "ButtonAlwaysShowCaption");
    if (buttons_[i].AlwaysShowCaption() == value) {
        return;
    }
    buttons_[i].SetAlwaysShowCaption(value);
    listener_->ButtonSizesChanged();
    if (!buttons_[i].Caption().isEmpty() && buttons_[i].Visible()) {
        listener_->ButtonsChanged();
    }
    Changed(i, "ButtonAlwaysShowCaption");
}

float ToolbarButtonModel::ButtonPlaceholderWidth(const QVariant& index) {
    return buttons_[ValidIndex(index, "ButtonPlaceholderWidth")].PlaceholderSize();
}

void ToolbarButtonModel::SetButtonPlaceholderWidth(const QVariant& index, float value) {
    SetValue(index, &ToolbarButton::PlaceholderSize, &ToolbarButton::SetPlaceholderSize, value,
             "ButtonPlaceholderWidth", ButtonEffect::Size);
}

OlePicture ToolbarButtonModel::ButtonPicture(const QVariant& index) {
    return buttons_[ValidIndex(index, "ButtonPicture")].APicture(0);
}
void ToolbarButtonModel::SetButtonPicture(const QVariant& index, const OlePicture& value) {
    SetPicture(index, 0, value, "ButtonPicture", false);
}
OlePicture ToolbarButtonModel::ButtonPictureOver(const QVariant& index) {
    return buttons_[ValidIndex(index, "ButtonPictureOver")].APicture(1);
}
void ToolbarButtonModel::SetButtonPictureOver(const QVariant& index, const OlePicture& value) {
    SetPicture(index, 1, value, "ButtonPictureOver", true);
}
OlePicture ToolbarButtonModel::ButtonPictureDown(const QVariant& index) {
    return buttons_[ValidIndex(index, "ButtonPictureDown")].APicture(2);
}
void ToolbarButtonModel::SetButtonPictureDown(const QVariant& index, const OlePicture& value) {
    SetPicture(index, 2, value, "ButtonPictureDown", true);
}

void ToolbarButtonModel::SetPicture(const QVariant& index, int which, const OlePicture& value,
                                    const char* name, bool appendIndex) {
    const int i = ValidIndex(index, name);
    // A picture is an object: assigning one counts as a change even when it looks the same.
    buttons_[i].SetAPicture(which, value);
    listener_->ButtonLookChanged(i);
    Changed(i, name, appendIndex);
}

} // namespace pelmora
