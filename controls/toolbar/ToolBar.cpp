#include "controls/toolbar/ToolBar.h"

#include "controls/design/PropertyBag.h"
#include "controls/paint/SharedPaintEffects.h"
#include "controls/paint/ToolTipWindow.h"
#include "controls/toolbar/ToolBarPrivate.h"
#include "controls/toolbar/ToolbarErrors.h"

#include <QFile>
#include <cmath>

namespace pelmora {

namespace {

// The toolbar counters are shared by every toolbar of the process.
int liveToolbars = 0;
int createdToolbars = 0;
QPointer<ToolBar> newestToolbar;

const QString kTypeName = QStringLiteral("xToolbar");

} // namespace

ToolBar::ToolBar(QWidget* parent) : QWidget(parent), d_(std::make_unique<Private>(*this)) {
    SetListener(*d_);
    ++liveToolbars;
    d_->handle_ = ++createdToolbars;
    newestToolbar = this;
    setMouseTracking(true);
    d_->p_.SetToolTipFont(d_->AmbientFont());
    d_->p_.SetTitle(objectName());
    d_->redraw_ = true;
    Refresh();
}

ToolBar::~ToolBar() {
    d_->redraw_ = false;
    d_->interaction_.StopTimers();
    buttons_.Clear();
    HideToolTip();
    if (--liveToolbars == 0) {
        ReleasePaintEffects();
    }
}

ToolBar* ToolBar::NewestToolbar() {
    return newestToolbar;
}

// The accessors of every row of ToolbarProperties.h.
#define PELMORA_TOOLBAR_GETTER(type, name, effect, notice)                                         \
    type ToolBar::name() const {                                                                   \
        return d_->p_.name();                                                                      \
    }
#define PELMORA_TOOLBAR_GETSET(type, name, effect, notice)                                         \
    PELMORA_TOOLBAR_GETTER(type, name, effect, notice)                                             \
    void ToolBar::Set##name(const type& value) {                                                   \
        d_->Store(&ToolbarProperties::Set##name, d_->p_.name(), value, notice,                     \
                  ToolbarEffect::effect);                                                          \
    }
PELMORA_TOOLBAR_PROPERTIES(PELMORA_TOOLBAR_ACCESSOR)
#undef PELMORA_TOOLBAR_GETTER
#undef PELMORA_TOOLBAR_GETSET

void ToolBar::Refresh() {
    d_->Refresh();
}

void ToolBar::RefreshButton(const QVariant& index, bool buttonLowered, bool forceNoBorder) {
    if (d_->redraw_) {
        d_->PaintButton(KeyToIndex(index), buttonLowered, forceNoBorder);
    }
}

const QImage& ToolBar::Surface() const {
    return d_->surface_;
}

int ToolBar::BorderInset(int side) const {
    return ToolbarLayout::BorderInset(d_->p_, side);
}

int32_t ToolBar::ButtonClientLeft(const QVariant& index) {
    return d_->geometry_.Cell(ValidIndex(index, "ButtonClientLeft")).x();
}
int32_t ToolBar::ButtonClientTop(const QVariant& index) {
    return d_->geometry_.Cell(ValidIndex(index, "ButtonClientTop")).y();
}
int32_t ToolBar::ButtonClientWidth(const QVariant& index) {
    return d_->geometry_.Cell(ValidIndex(index, "ButtonClientWidth")).width();
}
int32_t ToolBar::ButtonClientHeight(const QVariant& index) {
    return d_->geometry_.Cell(ValidIndex(index, "ButtonClientHeight")).height();
}

bool ToolBar::event(QEvent* event) {
    return d_->Event(*event) || QWidget::event(event);
}

void ToolBar::ForceResize() {
    Refresh();
    emit Resize(static_cast<float>(width()), static_cast<float>(height()));
}

int16_t ToolBar::HotButton() const {
    return d_->interaction_.HotButton();
}
void ToolBar::SetSoundPlayer(SoundPlayer* player) {
    d_->interaction_.SetSoundPlayer(player);
}
void ToolBar::SetBeeper(std::function<void()> beep) {
    d_->interaction_.SetBeeper(std::move(beep));
}
const ToolbarInteraction& ToolBar::Interaction() const {
    return d_->interaction_;
}
float ToolBar::MouseX() const {
    return d_->interaction_.MouseX();
}
float ToolBar::MouseY() const {
    return d_->interaction_.MouseY();
}

int16_t ToolBar::IsWithinButton(float x, float y) const {
    return static_cast<int16_t>(d_->geometry_.ButtonAt(x, y));
}

void ToolBar::ForceClick(const QVariant& index) {
    const int i = KeyToIndex(index);
    if (!buttons_.IsValidIndex(i)) {
        RaiseControlError(QStringLiteral("ForceClick"), ToolbarErrors::ErrSubscript,
                          QStringLiteral("Invalid Key or Index value"));
        return;
    }
    emit ButtonClick(static_cast<int16_t>(i), buttons_[i].Key());
    SelectGroupButton(i);
}

void ToolBar::SendClick(const QVariant& index, const QString& key) {
    const double number = std::nearbyint(index.toDouble());
    if (!(number >= -32768 && number <= 32767)) {
        ToolbarErrors::Raise(kTypeName, QStringLiteral("SendClick"), ToolbarErrors::ErrOverflow);
    }
    emit ButtonClick(static_cast<int16_t>(number), key);
}

void ToolBar::SendRestoreEvent(int, int32_t x, int32_t y) {
    emit DockingWindow(x, y);
}

void ToolBar::SetToolTipFont(const QFont* value) {
    if (value == nullptr) {
        RaiseControlError(QStringLiteral("ToolTipFont"), ToolbarErrors::ErrObjectRequired);
        return;
    }
    d_->Store(&ToolbarProperties::SetToolTipFont, d_->p_.ToolTipFont(), *value, "ToolTipFont",
              ToolbarEffect::Nothing);
}

void ToolBar::SetBorderStyle(int32_t value) {
    if (value < tbbsNone || value > tbbsRaisedButton) {
        RaiseControlError(QStringLiteral("BorderStyle"), ToolbarErrors::ErrInvalidPropertyValue);
        return;
    }
    ToolbarProperties& p = d_->p_;
    if (value == tbbsFrame) {
        p.SetDoubleTopBorder(false);
        p.SetDoubleBottomBorder(false);
        p.SetBorderLeft(true);
        p.SetBorderTop(true);
        p.SetBorderRight(true);
        p.SetBorderBottom(true);
    }
    d_->Store(&ToolbarProperties::SetBorderStyle, d_->p_.BorderStyle(), value, "BorderStyle",
              ToolbarEffect::Relayout);
}

void ToolBar::SetDoubleTopBorder(bool value) {
    d_->Store(&ToolbarProperties::SetDoubleTopBorder, d_->p_.DoubleTopBorder(),
              value && BorderStyle() != tbbsFrame, "DoubleTopBorder", ToolbarEffect::Relayout);
    if (value) {
        SetBorderTop(true);
    }
}

void ToolBar::SetDoubleBottomBorder(bool value) {
    d_->Store(&ToolbarProperties::SetDoubleBottomBorder, d_->p_.DoubleBottomBorder(),
              value && BorderStyle() != tbbsFrame, "DoubleBottomBorder", ToolbarEffect::Relayout);
    if (value) {
        SetBorderBottom(true);
    }
}

void ToolBar::SetShowSeparators(bool value) {
    d_->Store(&ToolbarProperties::SetShowSeparators, d_->p_.ShowSeparators(), value,
              "ShowSeparators",
              Appearance() == ifcaFlat ? ToolbarEffect::Repaint : ToolbarEffect::Nothing);
}

void ToolBar::SetBackStyle(int32_t value) {
    if (value != 0 && value != 1) {
        RaiseControlError(QStringLiteral("BackStyle"), ToolbarErrors::ErrInvalidPropertyValue);
        return;
    }
    d_->Store(&ToolbarProperties::SetBackStyle, d_->p_.BackStyle(), value, "BackStyle",
              ToolbarEffect::Repaint);
}

void ToolBar::SetAutoSize(bool value) {
    if (value && d_->align_ != 0) {
        RaiseControlError(QStringLiteral("AutoSize"), ToolbarErrors::ErrAutoSizeWithAlign,
                          QStringLiteral("AutoSize property cannot be set to True when Align "
                                         "property is set."));
        return;
    }
    d_->Store(&ToolbarProperties::SetAutoSize, d_->p_.AutoSize(), value, "AutoSize",
              ToolbarEffect::Relayout);
}

OlePicture ToolBar::MouseIcon() const {
    return d_->p_.MouseIcon().Picture();
}

void ToolBar::SetMouseIcon(const OlePicture& value) {
    d_->Store(&ToolbarProperties::SetMouseIcon, d_->p_.MouseIcon(), SourcedPicture(value, {}),
              "MouseIcon", ToolbarEffect::Cursor);
}

void ToolBar::SetFontName(const QString& value) {
    d_->ChangeFont([&](QFont& f) { f.setFamily(value); });
}
void ToolBar::SetFontSize(float value) {
    if (value > 0) { // the font keeps its size rather than failing
        d_->ChangeFont([&](QFont& f) { f.setPointSizeF(value); });
    }
}
void ToolBar::SetFontBold(bool value) {
    d_->ChangeFont([&](QFont& f) { f.setBold(value); });
}
void ToolBar::SetFontItalic(bool value) {
    d_->ChangeFont([&](QFont& f) { f.setItalic(value); });
}
void ToolBar::SetFontUnderline(bool value) {
    d_->ChangeFont([&](QFont& f) { f.setUnderline(value); });
}
void ToolBar::SetFontStrikethru(bool value) {
    d_->ChangeFont([&](QFont& f) { f.setStrikeOut(value); });
}

bool ToolBar::Redraw() const {
    return d_->redraw_;
}
void ToolBar::SetRedraw(bool value) {
    d_->redraw_ = value;
}

int ToolBar::Align() const {
    return d_->align_;
}
void ToolBar::SetAlign(int value) {
    d_->align_ = value;
}

void ToolBar::SetVertical(bool value) {
    if (value == Vertical() || width() == height()) {
        return;
    }
    // Turning the bar exchanges its sides; the layout follows from the new size.
    const bool saved = d_->redraw_;
    d_->redraw_ = false;
    resize(height(), width());
    d_->redraw_ = saved;
    Refresh();
}

int ToolBar::handle() const {
    return d_->handle_;
}

bool ToolBar::DesignMode() const {
    return d_->designMode_;
}
void ToolBar::SetDesignMode(bool value) {
    d_->designMode_ = value;
}

QWidget* ToolBar::hWndContainer() const {
    return d_->container_;
}

void ToolBar::SetHWndContainer(QWidget* value) {
    d_->Reparent(value);
}

int ToolBar::CTLLeft() const {
    return d_->container_ ? geometry().left() : 0;
}
int ToolBar::CTLTop() const {
    return d_->container_ ? geometry().top() : 0;
}

void ToolBar::SetCTLLeft(int value) {
    move(value, y());
    Refresh();
}

void ToolBar::ReadProperties(const PropertyBag& bag) {
    d_->Read(bag);
}

void ToolBar::WriteProperties(PropertyBag& bag) const {
    d_->Write(bag);
}

bool ToolBar::LoadDesign(const QByteArray& json) {
    PropertyBag bag;
    const bool ok = bag.Parse(json);
    ReadProperties(bag);
    return ok;
}

bool ToolBar::LoadDesignFile(const QString& path) {
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    return LoadDesign(opened ? file.readAll() : QByteArray()) && opened;
}

QByteArray ToolBar::SaveDesign() const {
    PropertyBag bag;
    WriteProperties(bag);
    return bag.ToJson();
}

} // namespace pelmora
