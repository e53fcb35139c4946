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
    ToolbarErrors::Raise(kTypeName, procedure, number, description);
}

int16_t ToolbarButtonModel::KeyToIndex(const QVariant& Index) {
    if (IsNumber(Index) && Index.toDouble() == 0)
        return 0;
    const QString text = Index.toString();
    const NumericKey number = ReadNumericKey(text);
    if (number.overflow)
        ToolbarErrors::Raise(kTypeName, QStringLiteral("KeyToIndex"), ToolbarErrors::ErrOverflow);
    if (number.isIndex)
        return number.index;
    if (const int found = buttons_.FindKey(text))
        return static_cast<int16_t>(found);
    RaiseControlError(QStringLiteral("KeyToIndex"), ToolbarErrors::ErrKeyNotFound,
                      QStringLiteral("Element not found. Key is missing or illegal."));
    return 0;
}

int ToolbarButtonModel::ValidIndex(const QVariant& Index, const char* procedure) {
    const int index = KeyToIndex(Index);
    if (!buttons_.IsValidIndex(index))
        ToolbarErrors::Raise(kTypeName, QString::fromLatin1(procedure),
                             ToolbarErrors::ErrSubscript);
    return index;
}

int16_t ToolbarButtonModel::AddButton() {
    return AddButtonEx(QString(), tbbtButton, OlePicture(), QString(), OleRgb(255, 0, 255), true,
                       QString(), false, true, 0, true);
}

int16_t ToolbarButtonModel::AddButtonEx(const QString& Key, int32_t Style,
                                        const OlePicture& Picture, const QString& ToolTipText,
                                        OleColor MaskColor, bool UseMaskColor,
                                        const QString& Caption, bool Checked, bool Enabled,
                                        float PlaceholderWidth, bool Visible) {
    if (buttons_.Count() >= 32767)
        ToolbarErrors::Raise(kTypeName, QStringLiteral("AddButtonEx"), ToolbarErrors::ErrOverflow);
    ToolbarButton b;
    b.Key = Key;
    b.Style = Style;
    b.SetAPicture(0, Picture);
    b.ToolTipText = ToolTipText;
    b.MaskColor = MaskColor;
    b.UseMaskColor = UseMaskColor;
    b.Caption = Caption;
    b.Checked = Checked;
    b.Enabled = Enabled;
    b.PlaceholderSize = PlaceholderWidth;
    b.Visible = Visible;
    const int count = buttons_.Append(b);
    ButtonSizesChanged();
    ButtonsChanged();
    ButtonPropertyChanged(QStringLiteral("ButtonCount"));
    return static_cast<int16_t>(count);
}

int16_t ToolbarButtonModel::DeleteButton(const QVariant& Index) {
    const int index = KeyToIndex(Index);
    if (!buttons_.IsValidIndex(index)) {
        RaiseControlError(QStringLiteral("DeleteButton"), ToolbarErrors::ErrInvalidPropertyValue);
        return -1;
    }
    buttons_.Move(index, buttons_.Count());
    buttons_.RemoveLast();
    ButtonsReordered();
    ButtonPropertyChanged(QStringLiteral("ButtonCount"));
    // AutoSize may act with this very refresh, so an auto-sized bar shrinks at once.
    ButtonSizesChanged();
    ButtonsChanged();
    return ButtonCount();
}

int16_t ToolbarButtonModel::SwapButton(const QVariant& CurIndex, const QVariant& NewIndex) {
    const int from = KeyToIndex(CurIndex);
    const int to = KeyToIndex(NewIndex);
    if (!buttons_.IsValidIndex(from) || !buttons_.IsValidIndex(to)) {
        RaiseControlError(QStringLiteral("SwapButton"), ToolbarErrors::ErrInvalidPropertyValue);
        return 0;
    }
    buttons_.Move(from, to);
    ButtonsReordered();
    ButtonsChanged();
    return static_cast<int16_t>(to);
}

ToolbarButton& ToolbarButtonModel::Button(const QVariant& Index) {
    const int index = ValidIndex(Index, "Button");
    ButtonRecordHandedOut();
    return buttons_[index];
}

int16_t ToolbarButtonModel::CurrentGroupID(int16_t GroupID) const {
    return static_cast<int16_t>(buttons_.CurrentGroupID(GroupID));
}

int ToolbarButtonModel::PictureWidth(int What) const {
    int widest = 0;
    for (int i = 1; i <= buttons_.Count() && What >= 0 && What <= 2; ++i)
        widest = std::max(widest, buttons_[i].APicture(What).width());
    return widest;
}

int ToolbarButtonModel::PictureHeight(int What) const {
    int highest = 0;
    for (int i = 1; i <= buttons_.Count() && What >= 0 && What <= 2; ++i)
        highest = std::max(highest, buttons_[i].APicture(What).height());
    return highest;
}

void ToolbarButtonModel::SelectGroupButton(int index) {
    if (!buttons_.IsValidIndex(index) || buttons_[index].GroupID == 0)
        return;
    for (int other : buttons_.GroupMembers(buttons_[index].GroupID, index))
        SetButtonChecked(other, false);
    SetButtonChecked(index, true);
}

void ToolbarButtonModel::Changed(int index, const char* name, bool appendIndex) {
    QString property = QString::fromLatin1(name);
    if (appendIndex)
        property += QString::number(index);
    ButtonPropertyChanged(property);
}

void ToolbarButtonModel::SetButtonCaption(const QVariant& Index, const QString& value) {
    const int i = ValidIndex(Index, "ButtonCaption");
    buttons_[i].Caption = value;
    if (buttons_[i].Visible) {
        ButtonSizesChanged();
        ButtonsChanged();
    }
    Changed(i, "ButtonCaption");
}

void ToolbarButtonModel::SetButtonAlwaysShowCaption(const QVariant& Index, bool value) {
    const int i = ValidIndex(Index, "ButtonAlwaysShowCaption");
    if (!Change(i, &ToolbarButton::AlwaysShowCaption, value))
        return;
    ButtonSizesChanged();
    if (!buttons_[i].Caption.isEmpty() && buttons_[i].Visible)
        ButtonsChanged();
    Changed(i, "ButtonAlwaysShowCaption");
}

void ToolbarButtonModel::SetPicture(const QVariant& Index, int which, const OlePicture& value,
                                    const char* name, bool appendIndex) {
    const int i = ValidIndex(Index, name);
    buttons_[i].SetAPicture(which, value);
    ButtonLookChanged(i);
    Changed(i, name, appendIndex);
}

} // namespace pelmora
