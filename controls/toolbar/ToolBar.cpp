#include "controls/toolbar/ToolBar.h"

#include "controls/design/PropertyBag.h"
#include "controls/paint/MouseOver.h"
#include "controls/paint/SharedPaintEffects.h"
#include "controls/paint/ToolTipWindow.h"
#include "controls/toolbar/MousePointers.h"
#include "controls/toolbar/ToolbarDesign.h"
#include "controls/toolbar/ToolbarErrors.h"
#include "controls/toolbar/ToolbarLayout.h"
#include "controls/toolbar/ToolbarPainter.h"

#include <QApplication>
#include <QBitmap>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace pelmora {

namespace {

// The toolbar counters are shared by every toolbar of the process.
int liveToolbars = 0;
int createdToolbars = 0;
QPointer<ToolBar> newestToolbar;

const QString kTypeName = QStringLiteral("xToolbar");

int16_t MouseButtons(Qt::MouseButtons buttons) {
    return static_cast<int16_t>(((buttons & Qt::LeftButton) ? 1 : 0) |
                                ((buttons & Qt::RightButton) ? 2 : 0) |
                                ((buttons & Qt::MiddleButton) ? 4 : 0));
}

int16_t ShiftState(Qt::KeyboardModifiers modifiers) {
    return static_cast<int16_t>(((modifiers & Qt::ShiftModifier) ? 1 : 0) |
                                ((modifiers & Qt::ControlModifier) ? 2 : 0) |
                                ((modifiers & Qt::AltModifier) ? 4 : 0));
}

} // namespace

ToolBar::ToolBar(QWidget* parent)
    : QWidget(parent), interaction_(*this), resources_(std::make_unique<ToolbarPaintResources>()) {
    ++liveToolbars;
    handle_ = ++createdToolbars;
    newestToolbar = this;
    setMouseTracking(true);
    InitProperties();
}

ToolBar::~ToolBar() {
    redraw_ = false;
    interaction_.StopTimers();
    buttons_.Clear();
    HideToolTip();
    if (--liveToolbars == 0)
        ReleasePaintEffects();
}

ToolBar* ToolBar::NewestToolbar() {
    return newestToolbar;
}

QFont ToolBar::AmbientFont() const {
    return parentWidget() ? parentWidget()->font() : QApplication::font();
}

void ToolBar::InitProperties() {
    p_ = ToolbarProperties{};
    p_.ToolTipFont = AmbientFont();
    p_.Title = objectName();
    redraw_ = true;
    Refresh();
}

// ---- Errors -----------------------------------------------------------------------------

void ToolBar::RaiseControlError(const QString& procedure, int number, const QString& description) {
    if (!designMode_)
        ToolbarErrors::Raise(kTypeName, procedure, number, description);
    const QString exe = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    QMessageBox::critical(this, exe + u'.' + kTypeName,
                          ToolbarErrors::DesignerMessage(number, description));
}

void ToolBar::ReportUnexpectedError(const QString& procedure, const ControlError& error) {
    if (!designMode_)
        throw ControlError(error.number(), error.description(),
                           ControlError::sourceText(kTypeName, procedure));
    const QString exe = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    QMessageBox::critical(this, exe + u'.' + kTypeName + u':' + procedure,
                          ToolbarErrors::DesignerMessage(error.number(), error.description()));
}

// ---- Layout and painting ----------------------------------------------------------------

void ToolBar::Refresh() {
    // A host may have changed records through Button(), so the layout is made anew.
    layoutDirty_ = true;
    RefreshControl();
}

void ToolBar::InvalidateSize() {
    autoSizeDone_ = false;
    Refresh();
}

void ToolBar::RefreshControl() {
    if (!redraw_)
        return;
    try {
        EnsurePaintEffects();
        if (surface_.size() != size())
            surface_ = QImage(size(), QImage::Format_ARGB32_Premultiplied);
        interaction_.StopToolTip();
        if (layoutDirty_) {
            requiredLength_ = ToolbarLayout::Arrange(p_, size(), font(), buttons_);
            layoutDirty_ = false;
        }
        {
            ToolbarPainter painter(surface_, p_, font(), *resources_);
            painter.FillBackground();
            painter.DrawControlBorder();
        }
        const bool horizontal = ToolbarLayout::RunsHorizontally(size());
        wholeRefresh_ = true;
        for (int i = 1; i <= buttons_.Count(); ++i) {
            const ToolbarButton& b = buttons_[i];
            if (!b.Visible)
                continue;
            singleButton_ = IsClickableStyle(b.Style) && !b.Checked;
            PaintButton(i, false, false);
            ToolbarPainter(surface_, p_, font(), *resources_).DrawGapSeparators(b, horizontal);
        }
        singleButton_ = false;
        wholeRefresh_ = false;
        const int current = horizontal ? width() : height();
        if (p_.AutoSize && requiredLength_ != current && align_ == 0 && !autoSizeDone_) {
            autoSizeDone_ = true;
            if (horizontal)
                resize(requiredLength_, height());
            else
                resize(width(), requiredLength_);
            if (surface_.size() != size()) // a hidden widget gets its resize event later
                Refresh();
        }
        ApplyBackStyle();
        update();
    } catch (const ControlError& error) {
        singleButton_ = false;
        wholeRefresh_ = false;
        ReportUnexpectedError(QStringLiteral("Refresh"), error);
    }
}

bool ToolBar::MouseOverButton(int index) const {
    return interaction_.ButtonUnderCursor() == index &&
           IsMouseOverWindow(const_cast<ToolBar*>(this));
}

void ToolBar::PaintButton(int index, bool lowered, bool forceNoBorder) {
    if (!redraw_ || surface_.isNull() || !buttons_.IsValidIndex(index))
        return;
    const ToolbarButton& b = buttons_[index];
    if (!b.Visible)
        return;
    try {
        ButtonLook look;
        look.lowered = lowered;
        look.forceNoBorder = forceNoBorder;
        look.mouseDown = interaction_.MouseIsDown();
        look.mouseOver = MouseOverButton(index);
        look.singleButton = singleButton_;
        const int hot = interaction_.HotButton();
        look.anotherHot = hot != 0 && hot != index;
        look.designMode = designMode_;
        look.controlEnabled = isEnabled();
        look.horizontal = ToolbarLayout::RunsHorizontally(size());
        ToolbarPainter(surface_, p_, font(), *resources_).DrawButton(b, look);
        update(QRect(b.ClientLeft, b.ClientTop, b.ClientWidth + 1, b.ClientHeight + 1));
        if (p_.BackStyle == 0 && !wholeRefresh_)
            ApplyBackStyle(); // what the button now covers is no longer see-through
    } catch (const ControlError& error) {
        ReportUnexpectedError(QStringLiteral("RefreshButton"), error);
    }
}

void ToolBar::RefreshButton(const QVariant& Index, bool ButtonLowered, bool ForceNoBorder) {
    if (!redraw_)
        return;
    PaintButton(KeyToIndex(Index), ButtonLowered, ForceNoBorder);
}

void ToolBar::RepaintButtonAtRest(int index) {
    if (!buttons_[index].Visible)
        return;
    singleButton_ = true;
    PaintButton(index, false, false);
    singleButton_ = false;
}

void ToolBar::RepaintButtonsWhere(bool (*test)(const ToolbarButton&)) {
    for (int i = 1; i <= buttons_.Count(); ++i)
        if (test(buttons_[i]))
            RepaintButtonAtRest(i);
}

int ToolBar::BorderInset(int side) const {
    return ToolbarLayout::BorderInset(p_, side);
}

void ToolBar::ApplyBackStyle() {
    if (p_.BackStyle != 0) {
        clearMask();
        return;
    }
    // Every pixel still in the back colour is see-through.
    const QColor back = TranslateOleColor(p_.BackColor);
    setMask(QBitmap::fromImage(surface_.createMaskFromColor(back.rgba(), Qt::MaskInColor)));
}

void ToolBar::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect(), surface_, event->rect());
}

void ToolBar::resizeEvent(QResizeEvent*) {
    Refresh();
    emit Resize(static_cast<float>(width()), static_cast<float>(height()));
}

void ToolBar::ForceResize() {
    Refresh();
    emit Resize(static_cast<float>(width()), static_cast<float>(height()));
}

void ToolBar::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        emit PropertyChanged(QStringLiteral("Font"));
        InvalidateSize();
    } else if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled())
            interaction_.StopTimers();
        RefreshControl();
        emit PropertyChanged(QStringLiteral("State"));
    }
}

// ---- Interaction ------------------------------------------------------------------------

int16_t ToolBar::IsWithinButton(float X, float Y) const {
    for (int i = 1; i <= buttons_.Count(); ++i) {
        const ToolbarButton& b = buttons_[i];
        if (b.Visible && b.ClientLeft <= X && X <= b.ClientLeft + b.ClientWidth - 1 &&
            b.ClientTop <= Y && Y <= b.ClientTop + b.ClientHeight - 1)
            return static_cast<int16_t>(i);
    }
    return 0;
}

void ToolBar::ForceClick(const QVariant& Index) {
    const int index = KeyToIndex(Index);
    if (!buttons_.IsValidIndex(index)) {
        RaiseControlError(QStringLiteral("ForceClick"), ToolbarErrors::ErrSubscript,
                          QStringLiteral("Invalid Key or Index value"));
        return;
    }
    emit ButtonClick(static_cast<int16_t>(index), buttons_[index].Key);
    SelectGroupButton(index);
}

void ToolBar::SendClick(const QVariant& Index, const QString& Key) {
    const double number = std::nearbyint(Index.toDouble());
    if (!(number >= -32768 && number <= 32767))
        ToolbarErrors::Raise(kTypeName, QStringLiteral("SendClick"), ToolbarErrors::ErrOverflow);
    emit ButtonClick(static_cast<int16_t>(number), Key);
}

void ToolBar::SendRestoreEvent(int, int32_t X, int32_t Y) {
    emit DockingWindow(X, Y);
}

void ToolBar::mousePressEvent(QMouseEvent* event) {
    const QPointF pos = event->position();
    interaction_.MouseDown(MouseButtons(event->button()), ShiftState(event->modifiers()),
                           static_cast<float>(pos.x()), static_cast<float>(pos.y()));
}

void ToolBar::mouseMoveEvent(QMouseEvent* event) {
    const QPointF pos = event->position();
    interaction_.MouseMove(MouseButtons(event->buttons()), ShiftState(event->modifiers()),
                           static_cast<float>(pos.x()), static_cast<float>(pos.y()));
}

void ToolBar::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF pos = event->position();
    const bool pressed = interaction_.MouseIsDown();
    interaction_.MouseUp(MouseButtons(event->button()), ShiftState(event->modifiers()),
                         static_cast<float>(pos.x()), static_cast<float>(pos.y()));
    // The platform's own click follows a left release inside the control.
    if (pressed && event->button() == Qt::LeftButton && rect().contains(pos.toPoint()))
        interaction_.PlatformClick();
}

void ToolBar::mouseDoubleClickEvent(QMouseEvent*) {
    // As on the original platform the second press of a double click is no mouse-down: it
    // only raises DblClick, so a double click never clicks a button twice.
    emit DblClick();
}

// ---- Control properties -----------------------------------------------------------------

void ToolBar::SetToolTipFont(const QFont* value) {
    if (value == nullptr) {
        RaiseControlError(QStringLiteral("ToolTipFont"), ToolbarErrors::ErrObjectRequired);
        return;
    }
    p_.ToolTipFont = *value;
    emit PropertyChanged(QStringLiteral("ToolTipFont"));
}

void ToolBar::SetTextColor(OleColor value) {
    p_.TextColor = value;
    emit PropertyChanged(QStringLiteral("TextColor"));
    RepaintButtonsWhere([](const ToolbarButton& b) { return !b.Caption.isEmpty(); });
}

void ToolBar::SetTextDisabledColor(OleColor value) {
    p_.TextDisabledColor = value;
    emit PropertyChanged(QStringLiteral("TextDisabledColor"));
    RepaintButtonsWhere([](const ToolbarButton& b) { return !b.Enabled && !b.Caption.isEmpty(); });
}

void ToolBar::SetSolidChecked(bool value) {
    p_.SolidChecked = value;
    emit PropertyChanged(QStringLiteral("SolidChecked"));
    RepaintButtonsWhere([](const ToolbarButton& b) { return b.Checked; });
}

void ToolBar::SetBorderStyle(int32_t value) {
    if (value < tbbsNone || value > tbbsRaisedButton) {
        RaiseControlError(QStringLiteral("BorderStyle"), ToolbarErrors::ErrInvalidPropertyValue);
        return;
    }
    p_.BorderStyle = value;
    if (value == tbbsFrame) {
        p_.DoubleTopBorder = p_.DoubleBottomBorder = false;
        p_.BorderLeft = p_.BorderTop = p_.BorderRight = p_.BorderBottom = true;
    }
    emit PropertyChanged(QStringLiteral("BorderStyle"));
    InvalidateSize();
}

void ToolBar::StoreSide(bool ToolbarProperties::*side, bool value, const char* name) {
    Store(side, value || p_.BorderStyle == tbbsFrame, name, After::Relayout);
}

void ToolBar::SetDoubleTopBorder(bool value) {
    Store(&ToolbarProperties::DoubleTopBorder, value && p_.BorderStyle != tbbsFrame,
          "DoubleTopBorder", After::Relayout);
    if (value)
        SetBorderTop(true);
}

void ToolBar::SetDoubleBottomBorder(bool value) {
    Store(&ToolbarProperties::DoubleBottomBorder, value && p_.BorderStyle != tbbsFrame,
          "DoubleBottomBorder", After::Relayout);
    if (value)
        SetBorderBottom(true);
}

void ToolBar::SetBackStyle(int32_t value) {
    if (value != 0 && value != 1) {
        RaiseControlError(QStringLiteral("BackStyle"), ToolbarErrors::ErrInvalidPropertyValue);
        return;
    }
    Store(&ToolbarProperties::BackStyle, value, "BackStyle", After::Repaint);
}

void ToolBar::SetAutoSize(bool value) {
    if (value && align_ != 0) {
        RaiseControlError(QStringLiteral("AutoSize"), ToolbarErrors::ErrAutoSizeWithAlign,
                          QStringLiteral("AutoSize property cannot be set to True when Align "
                                         "property is set."));
        return;
    }
    Store(&ToolbarProperties::AutoSize, value, "AutoSize", After::Relayout);
}

void ToolBar::SetFontName(const QString& value) {
    QFont f = font();
    f.setFamily(value);
    setFont(f);
}

void ToolBar::SetFontSize(float value) {
    if (!(value > 0)) // the font keeps its size rather than failing
        return;
    QFont f = font();
    f.setPointSizeF(value);
    setFont(f);
}

void ToolBar::SetFontAttribute(void (QFont::*setter)(bool), bool value) {
    QFont f = font();
    (f.*setter)(value);
    setFont(f);
}

void ToolBar::SetFontBold(bool value) {
    SetFontAttribute(&QFont::setBold, value);
}
void ToolBar::SetFontItalic(bool value) {
    SetFontAttribute(&QFont::setItalic, value);
}
void ToolBar::SetFontUnderline(bool value) {
    SetFontAttribute(&QFont::setUnderline, value);
}
void ToolBar::SetFontStrikethru(bool value) {
    SetFontAttribute(&QFont::setStrikeOut, value);
}

void ToolBar::SetMousePointer(int16_t value) {
    Store(&ToolbarProperties::MousePointer, value, "MousePointer", After::Nothing);
    ApplyMouseCursor();
}

void ToolBar::SetMouseIcon(const OlePicture& value) {
    Store(&ToolbarProperties::MouseIcon, value, "MouseIcon", After::Nothing);
    ApplyMouseCursor();
}

void ToolBar::ApplyMouseCursor() {
    const std::optional<QCursor> cursor = MousePointerCursor(p_.MousePointer, p_.MouseIcon);
    if (cursor)
        setCursor(*cursor);
    else
        unsetCursor();
}

void ToolBar::SetVertical(bool value) {
    if (value == Vertical() || width() == height())
        return;
    // Turning the bar exchanges its sides; the layout follows from the new size.
    const bool saved = redraw_;
    redraw_ = false;
    const QSize turned(height(), width());
    resize(turned);
    redraw_ = saved;
    Refresh();
}

// ---- Docking ----------------------------------------------------------------------------

void ToolBar::SetHWndContainer(QWidget* value) {
    container_ = value;
    if (value != nullptr && parentWidget() != value) {
        const bool wasVisible = isVisible();
        setParent(value);
        setVisible(wasVisible || value->isVisible());
    }
}

int ToolBar::CTLLeft() const {
    return container_ ? geometry().left() : 0;
}
int ToolBar::CTLTop() const {
    return container_ ? geometry().top() : 0;
}

void ToolBar::SetCTLLeft(int value) {
    move(value, y());
    Refresh();
}

// ---- Stored design ----------------------------------------------------------------------

void ToolBar::ReadProperties(const PropertyBag& bag) {
    redraw_ = false;
    QFont captionFont = font();
    bool enabled = true;
    ToolbarDesign::Read(bag, AmbientFont(), p_, captionFont, enabled, buttons_);
    setFont(captionFont);
    setEnabled(enabled);
    if (align_ != 0)
        p_.AutoSize = false;
    interaction_.ClearHot();
    autoSizeDone_ = false;
    ApplyMouseCursor();
    redraw_ = true;
    Refresh();
}

void ToolBar::WriteProperties(PropertyBag& bag) const {
    ToolbarDesign::Write(bag, p_, font(), AmbientFont(), isEnabled(), buttons_);
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
