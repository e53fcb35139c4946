#include "controls/hotlink/HotLink.h"

#include "controls/design/StoredFont.h"
#include "controls/design/Twips.h"
#include "controls/hotlink/HotLinkPointer.h"
#include "controls/paint/Drawing.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
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
    if (!rgb)
        return;
    QPalette palette = widget->palette();
    palette.setColor(role, QColor(*rgb));
    widget->setPalette(palette);
}

// The control's events number three flags as the bits 1, 2 and 4, in the order given.
short ThreeBits(int flags, int one, int two, int four) {
    return static_cast<short>(((flags & one) ? 1 : 0) | ((flags & two) ? 2 : 0) |
                              ((flags & four) ? 4 : 0));
}

short VbButtons(Qt::MouseButtons buttons) {
    return ThreeBits(buttons.toInt(), Qt::LeftButton, Qt::RightButton, Qt::MiddleButton);
}

short VbShift(Qt::KeyboardModifiers modifiers) {
    return ThreeBits(modifiers.toInt(), Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier);
}

void OpenWithDesktop(const QString& target) {
    QDesktopServices::openUrl(QUrl::fromUserInput(target));
}

} // namespace

HotLink::HotLink(QWidget* parent)
    : QWidget(parent), captionLabel_(new QLabel(this)), opener_(OpenWithDesktop),
      caption_(kDefaultCaption) {
    setObjectName(QStringLiteral("HotLink"));
    captionLabel_->setObjectName(QStringLiteral("lblCaption"));
    // Pointer movements over the label itself raise nothing: the label tracks no
    // movements, so they end there. Clicks on it are watched for Click.
    captionLabel_->installEventFilter(this);
    setMouseTracking(true);
    defFont_ = HostFont();
    hoverFont_ = defFont_;
    captionLabel_->setFont(defFont_);
    captionLabel_->setText(caption_);
    ApplyBackColor();
    ApplyPointer();
    PlaceLabel();
    FitToLabel();
    hoverTimer_.setInterval(kHoverTimerInterval);
    connect(&hoverTimer_, &QTimer::timeout, this, [this] { hoverFlag_ = false; });
    hoverTimer_.start();
}

QFont HotLink::HostFont() const {
    return parentWidget() != nullptr ? parentWidget()->font() : QApplication::font();
}

void HotLink::SetCaption(const QString& caption) {
    caption_ = caption;
    captionLabel_->setText(caption_);
    FitToLabel();
    updateGeometry();
    MarkChanged();
}

void HotLink::SetNormalColor(quint32 color) {
    normalColor_ = color;
    SetPaletteColor(captionLabel_, QPalette::WindowText, color);
    MarkChanged();
}

void HotLink::SetHoverColor(quint32 color) {
    hoverColor_ = color;
    MarkChanged();
}

void HotLink::SetDefFont(const QFont& font) {
    defFont_ = font;
    updateGeometry();
    MarkChanged();
}

void HotLink::SetHoverFont(const QFont& font) {
    hoverFont_ = font;
    updateGeometry();
    MarkChanged();
}

void HotLink::SetBackColor(quint32 color) {
    backColor_ = color;
    ApplyBackColor();
    MarkChanged();
}

void HotLink::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    PlaceLabel();
    FitToLabel();
    MarkChanged();
}

void HotLink::SetEnabled(bool enabled) {
    setEnabled(enabled);
    MarkChanged();
}

void HotLink::SetMouseP(bool mouseP) {
    mouseP_ = mouseP;
    MarkChanged();
}

void HotLink::LoadDesign(const PropertyBag& bag) {
    constexpr int64_t maxColor = 0xFFFFFFFF;
    const QFont host = HostFont();
    mouseP_ = bag.ReadBool("MouseP", true);
    setEnabled(bag.ReadBool("Enabled", true));
    hoverColor_ =
        static_cast<quint32>(bag.ReadInteger("HoverColor", kDefaultHoverColor, 0, maxColor));
    backColor_ = static_cast<quint32>(bag.ReadInteger("BackColor", kDefaultBackColor, 0, maxColor));
    ApplyBackColor();
    caption_ = bag.ReadString("Caption", kDefaultCaption);
    autoSize_ = bag.ReadBool("AutoSize", true);
    normalColor_ = static_cast<quint32>(bag.ReadInteger("NormalColor", 0, 0, maxColor));
    hoverFont_ = StoredFont::Read(bag.Value("HoverFont"), host);
    defFont_ = StoredFont::Read(bag.Value("DefFont"), host);
    ApplyLook(normalColor_, defFont_);
    updateGeometry();
    ApplyPointer();
    PlaceLabel();
    FitToLabel();
    hoverTimer_.start();
    designChanged_ = false;
}

void HotLink::SaveDesign(PropertyBag& bag) {
    const QJsonValue host = StoredFont::Write(HostFont());
    bag.Write("Enabled", isEnabled(), true);
    bag.Write("BackColor", static_cast<double>(backColor_), static_cast<double>(kDefaultBackColor));
    bag.Write("HoverColor", static_cast<double>(hoverColor_),
              static_cast<double>(kDefaultHoverColor));
    bag.Write("HoverFont", StoredFont::Write(hoverFont_), host);
    bag.Write("DefFont", StoredFont::Write(defFont_), host);
    bag.Write("Caption", caption_, kDefaultCaption);
    bag.Write("AutoSize", autoSize_, true);
    bag.Write("NormalColor", static_cast<double>(normalColor_), 0.0);
    bag.Write("MouseP", mouseP_, true);
    designChanged_ = false;
}

void HotLink::Shell(const QString& file, const QString& /*parameters*/, const QString& directory,
                    int /*showCmd*/) {
    QString target = file;
    if (QUrl(file).isRelative() && !QDir::isAbsolutePath(file) && !directory.isEmpty())
        target = QDir(directory).absoluteFilePath(file);
    if (opener_)
        opener_(target);
}

void HotLink::SetOpener(Opener opener) {
    opener_ = std::move(opener);
}

void HotLink::HandleMouseMove(short button, short shift, float x, float y) {
    captionLabel_->setCursor(cursor());
    const double w = width() * TwipsPerPixelX(this);
    const double h = height() * TwipsPerPixelY(this);
    const bool inside = x >= 0 && x <= w && y >= 0 && y <= h;
    emit MouseMove(button, shift, x, y);
    if (!inside) {
        hoverFlag_ = false;
        emit MouseExist();
        // Only the holder of the capture can release it; that is when the look goes back.
        if (QWidget::mouseGrabber() == this) {
            releaseMouse();
            ApplyLook(normalColor_, defFont_);
        }
        return;
    }
    if (hoverFlag_)
        return;
    hoverFlag_ = true;
    emit MouseEnter();
    QWidget* holder = QWidget::mouseGrabber();
    grabMouse();
    if (holder == nullptr || holder == this)
        ApplyLook(hoverColor_, hoverFont_);
}

void HotLink::ApplyLook(quint32 color, const QFont& font) {
    SetPaletteColor(captionLabel_, QPalette::WindowText, color);
    captionLabel_->setFont(font);
    captionLabel_->setText(caption_);
    if (autoSize_)
        captionLabel_->adjustSize();
}

void HotLink::ApplyBackColor() {
    SetPaletteColor(this, QPalette::Window, backColor_);
    setAutoFillBackground(true);
    // The label takes the colour the control ended up with.
    QPalette labelPalette = captionLabel_->palette();
    labelPalette.setColor(QPalette::Window, palette().color(QPalette::Window));
    captionLabel_->setPalette(labelPalette);
    captionLabel_->setAutoFillBackground(true);
}

void HotLink::ApplyPointer() {
    if (mouseP_) {
        setCursor(HotLinkPointer());
        captionLabel_->setCursor(cursor());
    } else {
        unsetCursor();
        captionLabel_->unsetCursor();
    }
}

void HotLink::PlaceLabel() {
    const int left = TwipsToPixelsX(kLabelOffsetTwips, this);
    const int top = TwipsToPixelsY(kLabelOffsetTwips, this);
    if (autoSize_) {
        captionLabel_->move(left, top);
        captionLabel_->adjustSize();
    } else {
        captionLabel_->setGeometry(left, top, std::max(0, width() - left),
                                   std::max(0, height() - top));
    }
}

QSize HotLink::sizeHint() const {
    const QFontMetrics normal(defFont_);
    const QFontMetrics hover(hoverFont_);
    const int textWidth =
        std::max(normal.horizontalAdvance(caption_), hover.horizontalAdvance(caption_));
    const int textHeight = std::max(normal.height(), hover.height());
    const int labelMargins = 2 * (captionLabel_->margin() + captionLabel_->frameWidth());
    return {TwipsToPixelsX(kLabelOffsetTwips + kFitMarginTwips, this) + textWidth + labelMargins,
            TwipsToPixelsY(kLabelOffsetTwips + kFitMarginTwips, this) + textHeight + labelMargins};
}

void HotLink::FitToLabel() {
    if (!autoSize_ || fitting_)
        return;
    fitting_ = true;
    captionLabel_->adjustSize();
    const double widthTwips = captionLabel_->width() * TwipsPerPixelX(this) + kFitMarginTwips;
    const double heightTwips = captionLabel_->height() * TwipsPerPixelY(this) + kFitMarginTwips;
    resize(TwipsToPixelsX(widthTwips, this), TwipsToPixelsY(heightTwips, this));
    fitting_ = false;
}

void HotLink::mouseMoveEvent(QMouseEvent* event) {
    HandleMouseMove(VbButtons(event->buttons()), VbShift(event->modifiers()),
                    static_cast<float>(event->position().x() * TwipsPerPixelX(this)),
                    static_cast<float>(event->position().y() * TwipsPerPixelY(this)));
}

void HotLink::RaiseMouseEvent(QMouseEvent* event, bool press) {
    short button = VbButtons(event->button());
    short shift = VbShift(event->modifiers());
    auto x = static_cast<float>(event->position().x() * TwipsPerPixelX(this));
    auto y = static_cast<float>(event->position().y() * TwipsPerPixelY(this));
    if (press)
        emit MouseDown(button, shift, x, y);
    else
        emit MouseUp(button, shift, x, y);
}

void HotLink::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        pressedOnControl_ = true;
    RaiseMouseEvent(event, true);
}

void HotLink::mouseReleaseEvent(QMouseEvent* event) {
    RaiseMouseEvent(event, false);
    if (event->button() == Qt::LeftButton && pressedOnControl_) {
        pressedOnControl_ = false;
        if (rect().contains(event->position().toPoint()))
            emit Click();
    }
}

void HotLink::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceLabel();
    FitToLabel();
}

void HotLink::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    SetPaletteColor(captionLabel_, QPalette::WindowText, normalColor_);
}

bool HotLink::eventFilter(QObject* watched, QEvent* event) {
    if (watched != captionLabel_)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            pressedOnLabel_ = true;
        return true;
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && pressedOnLabel_) {
            pressedOnLabel_ = false;
            if (captionLabel_->rect().contains(mouse->position().toPoint()))
                emit Click();
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
