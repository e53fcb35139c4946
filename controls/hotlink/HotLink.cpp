#include "controls/hotlink/HotLink.h"

#include "controls/design/StoredFont.h"
#include "controls/design/Twips.h"
#include "controls/design/ValueTable.h"
#include "controls/hotlink/HotLinkPointer.h"
#include "controls/paint/ControlEvents.h"
#include "controls/paint/Drawing.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <QTimer>
#include <QUrl>
#include <algorithm>

namespace pelmora {

namespace {

// The label sits this far from the control's top-left corner; the control is this much
// larger than an auto-sized label.
constexpr double kLabelOffsetTwips = 30.0;
constexpr double kFitMarginTwips = 40.0;

// A colour that does not translate leaves the palette entry as it was.
void SetPaletteColor(QWidget* widget, QPalette::ColorRole role, quint32 ole) {
    const std::optional<QRgb> rgb = OleColorToRgb(ole);
    if (!rgb) {
        return;
    }
    QPalette palette = widget->palette();
    palette.setColor(role, QColor(*rgb));
    widget->setPalette(palette);
}

void OpenWithDesktop(const QString& target) {
    QDesktopServices::openUrl(QUrl::fromUserInput(target));
}

// A stored value, or the default when it is missing or unreadable; fonts default to the
// host's font.
quint32 ReadValue(const PropertyBag& bag, const char* key, quint32 def, const QFont&) {
    return static_cast<quint32>(bag.ReadInteger(key, def, 0, 0xFFFFFFFF));
}
bool ReadValue(const PropertyBag& bag, const char* key, bool def, const QFont&) {
    return bag.ReadBool(key, def);
}
QString ReadValue(const PropertyBag& bag, const char* key, const QString& def, const QFont&) {
    return bag.ReadString(key, def);
}
QFont ReadValue(const PropertyBag& bag, const char* key, const QFont&, const QFont& host) {
    return StoredFont::Read(bag.Value(key), host);
}

// Writes a value unless it equals its default.
void WriteValue(PropertyBag& bag, const char* key, quint32 value, quint32 def, const QFont&) {
    bag.Write(key, static_cast<double>(value), static_cast<double>(def));
}
void WriteValue(PropertyBag& bag, const char* key, bool value, bool def, const QFont&) {
    bag.Write(key, value, def);
}
void WriteValue(PropertyBag& bag, const char* key, const QString& value, const QString& def,
                const QFont&) {
    bag.Write(key, value, def);
}
void WriteValue(PropertyBag& bag, const char* key, const QFont& value, const QFont&,
                const QFont& host) {
    bag.Write(key, StoredFont::Write(value), StoredFont::Write(host));
}

enum class HotLinkEffect { Back, Later, Widget, Text, Fit, TextColour };

// The stored values with their defaults.
class HotLinkValues {
public:
    PELMORA_HOTLINK_PROPERTIES(PELMORA_VALUE_ACCESSORS)

private:
    PELMORA_HOTLINK_PROPERTIES(PELMORA_VALUE_FIELD)
};

} // namespace

// The label's state: its inner label, the stored values and the hover and click flags.
class HotLink::Private {
public:
    explicit Private(HotLink& link) : q_(link), opener_(OpenWithDesktop) {}

    /// The control's events: true for the mouse, which it takes alone; false for the rest,
    /// which QWidget then handles after the control followed a new size or its showing.
    bool Event(QEvent& event);
    void MousePress(const QMouseEvent& event);
    void MouseMove(const QMouseEvent& event);
    void MouseRelease(const QMouseEvent& event);
    /// Raises MouseDown or MouseUp with the position in twips.
    void RaiseMouseEvent(const QMouseEvent& event, bool press);

    /// The host window's font, the default of both fonts.
    QFont HostFont() const;
    /// What a changed value does, as its row says.
    void Apply(HotLinkEffect effect);
    /// Shows the caption in one look: colour, font and, with AutoSize, the label's size.
    void ApplyLook(quint32 color, const QFont& font);
    /// Fills the control and the label with BackColor.
    void ApplyBackColor();
    /// The hand pointer over the control and the label while MouseP is set.
    void ApplyPointer();
    /// Sizes the control to the label and its margin while AutoSize is set.
    void FitToLabel();
    /// Puts the label at its offset; without AutoSize it fills the rest of the control.
    void PlaceLabel();

    HotLink& q_;

    QLabel* captionLabel_ = nullptr;
    QTimer hoverTimer_;
    Opener opener_;
    HotLinkValues values_;
    bool hoverFlag_ = false;
    bool designChanged_ = false;
    bool pressedOnControl_ = false;
    bool pressedOnLabel_ = false;
    bool fitting_ = false;
};

HotLink::HotLink(QWidget* parent) : QWidget(parent), d_(std::make_unique<Private>(*this)) {
    // Made once d_ is set: the label's arrival is already an event of this control.
    d_->captionLabel_ = new QLabel(this);
    setObjectName(QStringLiteral("HotLink"));
    d_->captionLabel_->setObjectName(QStringLiteral("lblCaption"));
    // Pointer movements over the label itself raise nothing: the label tracks no
    // movements, so they end there. Clicks on it are watched for Click.
    d_->captionLabel_->installEventFilter(this);
    setMouseTracking(true);
    d_->values_.SetDefFont(d_->HostFont());
    d_->values_.SetHoverFont(d_->values_.DefFont());
    d_->captionLabel_->setFont(d_->values_.DefFont());
    d_->captionLabel_->setText(d_->values_.Caption());
    d_->ApplyBackColor();
    d_->ApplyPointer();
    d_->PlaceLabel();
    d_->FitToLabel();
    d_->hoverTimer_.setInterval(kHoverTimerInterval);
    connect(&d_->hoverTimer_, &QTimer::timeout, this, [this] { d_->hoverFlag_ = false; });
    d_->hoverTimer_.start();
}

HotLink::~HotLink() = default;

QFont HotLink::Private::HostFont() const {
    return q_.parentWidget() != nullptr ? q_.parentWidget()->font() : QApplication::font();
}

#define PELMORA_HOTLINK_DEFINE(type, name, key, def, effect)                                       \
    type HotLink::name() const {                                                                   \
        return d_->values_.name();                                                                 \
    }                                                                                              \
    void HotLink::Set##name(const type& value) {                                                   \
        if (d_->values_.name() == value) {                                                         \
            return;                                                                                \
        }                                                                                          \
        d_->values_.Set##name(value);                                                              \
        d_->designChanged_ = true;                                                                 \
        d_->Apply(HotLinkEffect::effect);                                                          \
    }
PELMORA_HOTLINK_PROPERTIES(PELMORA_HOTLINK_DEFINE)
#undef PELMORA_HOTLINK_DEFINE

void HotLink::Private::Apply(HotLinkEffect effect) {
    switch (effect) {
    case HotLinkEffect::Back:
        // The label takes the colour at the next load.
        SetPaletteColor(&q_, QPalette::Window, values_.BackColor());
        q_.setAutoFillBackground(true);
        break;
    case HotLinkEffect::Text:
        captionLabel_->setText(values_.Caption());
        FitToLabel();
        [[fallthrough]];
    case HotLinkEffect::Widget:
        q_.updateGeometry();
        break;
    case HotLinkEffect::Fit:
        PlaceLabel();
        FitToLabel();
        break;
    case HotLinkEffect::TextColour:
        SetPaletteColor(captionLabel_, QPalette::WindowText, values_.NormalColor());
        break;
    case HotLinkEffect::Later:
        break;
    }
}

void HotLink::SetEnabled(bool enabled) {
    if (enabled != isEnabled()) {
        setEnabled(enabled);
        d_->designChanged_ = true;
    }
}

bool HotLink::HoverFlag() const {
    return d_->hoverFlag_;
}
bool HotLink::DesignChanged() const {
    return d_->designChanged_;
}
QLabel* HotLink::CaptionLabel() const {
    return d_->captionLabel_;
}
QTimer* HotLink::HoverTimer() {
    return &d_->hoverTimer_;
}

void HotLink::LoadDesign(const PropertyBag& bag) {
    const QFont host = d_->HostFont();
    HotLinkValues& v = d_->values_;
    // Read in the stored order, then applied in the order the label needs.
#define PELMORA_HOTLINK_READ(type, name, key, def, effect)                                         \
    v.Set##name(ReadValue(bag, key, type(def), host));
    PELMORA_HOTLINK_PROPERTIES(PELMORA_HOTLINK_READ)
#undef PELMORA_HOTLINK_READ
    setEnabled(bag.ReadBool("Enabled", true));
    d_->ApplyBackColor();
    d_->ApplyLook(v.NormalColor(), v.DefFont());
    updateGeometry();
    d_->ApplyPointer();
    d_->PlaceLabel();
    d_->FitToLabel();
    d_->hoverTimer_.start();
    d_->designChanged_ = false;
}

void HotLink::SaveDesign(PropertyBag& bag) {
    const QFont host = d_->HostFont();
    bag.Write("Enabled", isEnabled(), true);
#define PELMORA_HOTLINK_WRITE(type, name, key, def, effect)                                        \
    WriteValue(bag, key, d_->values_.name(), type(def), host);
    PELMORA_HOTLINK_PROPERTIES(PELMORA_HOTLINK_WRITE)
#undef PELMORA_HOTLINK_WRITE
    d_->designChanged_ = false;
}

void HotLink::Shell(const QString& file, const QString& /*parameters*/, const QString& directory,
                    int /*showCmd*/) {
    QString target = file;
    if (QUrl(file).isRelative() && !QDir::isAbsolutePath(file) && !directory.isEmpty()) {
        target = QDir(directory).absoluteFilePath(file);
    }
    if (d_->opener_) {
        d_->opener_(target);
    }
}

void HotLink::SetOpener(Opener opener) {
    d_->opener_ = std::move(opener);
}

void HotLink::HandleMouseMove(short button, short shift, float x, float y) {
    d_->captionLabel_->setCursor(cursor());
    const double w = width() * TwipsPerPixelX(this);
    const double h = height() * TwipsPerPixelY(this);
    const bool inside = x >= 0 && x <= w && y >= 0 && y <= h;
    emit MouseMove(button, shift, x, y);
    if (!inside) {
        d_->hoverFlag_ = false;
        emit MouseExist();
        // Only the holder of the capture can release it; that is when the look goes back.
        if (QWidget::mouseGrabber() == this) {
            releaseMouse();
            d_->ApplyLook(d_->values_.NormalColor(), d_->values_.DefFont());
        }
        return;
    }
    if (d_->hoverFlag_) {
        return;
    }
    d_->hoverFlag_ = true;
    emit MouseEnter();
    QWidget* holder = QWidget::mouseGrabber();
    grabMouse();
    if (holder == nullptr || holder == this) {
        d_->ApplyLook(d_->values_.HoverColor(), d_->values_.HoverFont());
    }
}

void HotLink::Private::ApplyLook(quint32 color, const QFont& font) {
    SetPaletteColor(captionLabel_, QPalette::WindowText, color);
    captionLabel_->setFont(font);
    captionLabel_->setText(values_.Caption());
    if (values_.AutoSize()) {
        captionLabel_->adjustSize();
    }
}

void HotLink::Private::ApplyBackColor() {
    SetPaletteColor(&q_, QPalette::Window, values_.BackColor());
    q_.setAutoFillBackground(true);
    // The label takes the colour the control ended up with.
    QPalette labelPalette = captionLabel_->palette();
    labelPalette.setColor(QPalette::Window, q_.palette().color(QPalette::Window));
    captionLabel_->setPalette(labelPalette);
    captionLabel_->setAutoFillBackground(true);
}

void HotLink::Private::ApplyPointer() {
    if (values_.MouseP()) {
        q_.setCursor(HotLinkPointer());
        captionLabel_->setCursor(q_.cursor());
    } else {
        q_.unsetCursor();
        captionLabel_->unsetCursor();
    }
}

void HotLink::Private::PlaceLabel() {
    const int left = TwipsToPixelsX(kLabelOffsetTwips, &q_);
    const int top = TwipsToPixelsY(kLabelOffsetTwips, &q_);
    if (values_.AutoSize()) {
        captionLabel_->move(left, top);
        captionLabel_->adjustSize();
    } else {
        captionLabel_->setGeometry(left, top, std::max(0, q_.width() - left),
                                   std::max(0, q_.height() - top));
    }
}

QSize HotLink::sizeHint() const {
    const QFontMetrics normal(d_->values_.DefFont());
    const QFontMetrics hover(d_->values_.HoverFont());
    const int textWidth = std::max(normal.horizontalAdvance(d_->values_.Caption()),
                                   hover.horizontalAdvance(d_->values_.Caption()));
    const int textHeight = std::max(normal.height(), hover.height());
    const int labelMargins = 2 * (d_->captionLabel_->margin() + d_->captionLabel_->frameWidth());
    return {TwipsToPixelsX(kLabelOffsetTwips + kFitMarginTwips, this) + textWidth + labelMargins,
            TwipsToPixelsY(kLabelOffsetTwips + kFitMarginTwips, this) + textHeight + labelMargins};
}

void HotLink::Private::FitToLabel() {
    if (!values_.AutoSize() || fitting_) {
        return;
    }
    fitting_ = true;
    captionLabel_->adjustSize();
    const double widthTwips = captionLabel_->width() * TwipsPerPixelX(&q_) + kFitMarginTwips;
    const double heightTwips = captionLabel_->height() * TwipsPerPixelY(&q_) + kFitMarginTwips;
    q_.resize(TwipsToPixelsX(widthTwips, &q_), TwipsToPixelsY(heightTwips, &q_));
    fitting_ = false;
}

bool HotLink::event(QEvent* event) {
    return d_->Event(*event) || QWidget::event(event);
}

bool HotLink::Private::Event(QEvent& event) {
    if (HandleMouse(q_, event, *this)) {
        return true;
    }
    if (event.type() == QEvent::Resize) {
        PlaceLabel();
        FitToLabel();
    } else if (event.type() == QEvent::Show) {
        SetPaletteColor(captionLabel_, QPalette::WindowText, values_.NormalColor());
    }
    return false;
}

void HotLink::Private::RaiseMouseEvent(const QMouseEvent& event, bool press) {
    short button = MouseButtonBits(event.button());
    short shift = ShiftBits(event.modifiers());
    auto x = static_cast<float>(event.position().x() * TwipsPerPixelX(&q_));
    auto y = static_cast<float>(event.position().y() * TwipsPerPixelY(&q_));
    if (press) {
        emit q_.MouseDown(button, shift, x, y);
    } else {
        emit q_.MouseUp(button, shift, x, y);
    }
}

void HotLink::Private::MouseMove(const QMouseEvent& event) {
    q_.HandleMouseMove(MouseButtonBits(event.buttons()), ShiftBits(event.modifiers()),
                       static_cast<float>(event.position().x() * TwipsPerPixelX(&q_)),
                       static_cast<float>(event.position().y() * TwipsPerPixelY(&q_)));
}

void HotLink::Private::MousePress(const QMouseEvent& event) {
    if (event.button() == Qt::LeftButton) {
        pressedOnControl_ = true;
    }
    RaiseMouseEvent(event, true);
}

void HotLink::Private::MouseRelease(const QMouseEvent& event) {
    RaiseMouseEvent(event, false);
    if (event.button() == Qt::LeftButton && pressedOnControl_) {
        pressedOnControl_ = false;
        if (q_.rect().contains(event.position().toPoint())) {
            emit q_.Click();
        }
    }
}

bool HotLink::eventFilter(QObject* watched, QEvent* event) {
    if (watched != d_->captionLabel_) {
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            d_->pressedOnLabel_ = true;
        }
        return true;
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && d_->pressedOnLabel_) {
            d_->pressedOnLabel_ = false;
            if (d_->captionLabel_->rect().contains(mouse->position().toPoint())) {
                emit Click();
            }
        }
        return true;
    }
    case QEvent::MouseMove:
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

} // namespace pelmora
