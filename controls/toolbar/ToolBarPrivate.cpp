#include "controls/toolbar/ToolBarPrivate.h"

#include "controls/paint/ControlEvents.h"
#include "controls/paint/MouseOver.h"
#include "controls/paint/SharedPaintEffects.h"
#include "controls/toolbar/MousePointers.h"
#include "controls/toolbar/ToolbarDesign.h"
#include "controls/toolbar/ToolbarErrors.h"
#include "controls/toolbar/ToolbarPainter.h"

#include <QApplication>
#include <QBitmap>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QMouseEvent>

namespace pelmora {

ToolBar::Private::Private(ToolBar& toolbar) : q_(toolbar), interaction_(toolbar) {}

void ToolBar::Private::ButtonPropertyChanged(const QString& name) {
    emit q_.PropertyChanged(name);
}

void ToolBar::Private::ButtonsReordered() {
    interaction_.ClearHot();
}

void ToolBar::Private::RaiseControlError(const QString& procedure, int number,
                                         const QString& description) {
    ReportError(procedure, ControlError(number, description, {}), false);
}

bool ToolBar::Private::Event(QEvent& event) {
    if (const QMouseEvent* mouse = ControlMouseEvent(q_, event)) {
        if (mouse->type() == QEvent::MouseButtonDblClick) {
            // As on the original platform the second press of a double click is no
            // mouse-down: it only raises DblClick, so a double click never clicks a button
            // twice.
            emit q_.DblClick();
        } else {
            interaction_.MouseEvent(*mouse);
        }
        return true;
    }
    if (ShowSurface(q_, surface_, event)) {
        return true;
    }
    switch (event.type()) {
    case QEvent::Resize:
        q_.ForceResize();
        break;
    case QEvent::FontChange:
        emit q_.PropertyChanged(QStringLiteral("Font"));
        Refresh();
        break;
    case QEvent::EnabledChange:
        if (!q_.isEnabled()) {
            interaction_.StopTimers();
        }
        RefreshControl();
        emit q_.PropertyChanged(QStringLiteral("State"));
        break;
    default:
        break;
    }
    return false;
}

QFont ToolBar::Private::AmbientFont() const {
    return q_.parentWidget() ? q_.parentWidget()->font() : QApplication::font();
}

void ToolBar::Private::Read(const PropertyBag& bag) {
    redraw_ = false;
    ToolbarDesign::Read(bag, AmbientFont(), p_, q_.buttons_);
    q_.setFont(p_.Font());
    q_.setEnabled(p_.Enabled());
    if (align_ != 0) {
        p_.SetAutoSize(false);
    }
    interaction_.ClearHot();
    autoSizeDone_ = false;
    ApplyMouseCursor();
    redraw_ = true;
    Refresh();
}

void ToolBar::Private::Write(PropertyBag& bag) const {
    ToolbarProperties p = p_;
    p.SetFont(q_.font());
    p.SetEnabled(q_.isEnabled());
    p.SetButtonCount(q_.ButtonCount());
    ToolbarDesign::Write(bag, p, AmbientFont(), q_.buttons_);
}

void ToolBar::Private::After(ToolbarEffect effect) {
    switch (effect) {
    case ToolbarEffect::Repaint:
        RefreshControl();
        break;
    case ToolbarEffect::Relayout:
    case ToolbarEffect::Side:
        Refresh();
        break;
    case ToolbarEffect::Regap:
        InvalidateSize();
        break;
    case ToolbarEffect::Captions:
        RepaintButtonsWhere([](const ToolbarButton& b) { return !b.Caption().isEmpty(); });
        break;
    case ToolbarEffect::DisabledCaptions:
        RepaintButtonsWhere(
            [](const ToolbarButton& b) { return !b.Enabled() && !b.Caption().isEmpty(); });
        break;
    case ToolbarEffect::CheckedButtons:
        RepaintButtonsWhere([](const ToolbarButton& b) { return b.Checked(); });
        break;
    case ToolbarEffect::Cursor:
        ApplyMouseCursor();
        break;
    default:
        break;
    }
}

void ToolBar::Private::ReportError(const QString& procedure, const ControlError& error,
                                   bool namesProcedure) {
    const QString typeName = QStringLiteral("xToolbar");
    if (!designMode_) {
        if (!namesProcedure) {
            ToolbarErrors::Raise(typeName, procedure, error.number(), error.description());
        }
        throw ControlError(error.number(), error.description(),
                           ControlError::sourceText(typeName, procedure));
    }
    // A designer shows the error and goes on.
    const QString exe = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    QMessageBox::critical(&q_, exe + u'.' + typeName + (namesProcedure ? u':' + procedure : ""),
                          ToolbarErrors::DesignerMessage(error.number(), error.description()));
}

void ToolBar::Private::Reparent(QWidget* container) {
    container_ = container;
    if (container != nullptr && q_.parentWidget() != container) {
        const bool wasVisible = q_.isVisible();
        q_.setParent(container);
        q_.setVisible(wasVisible || container->isVisible());
    }
}

void ToolBar::Private::Refresh() {
    // A host may have changed records through Button(), so the layout is made anew.
    layoutDirty_ = true;
    RefreshControl();
}

void ToolBar::Private::InvalidateSize() {
    autoSizeDone_ = false;
    Refresh();
}

void ToolBar::Private::RefreshControl() {
    if (!redraw_) {
        return;
    }
    const ButtonCollection& buttons = q_.buttons_;
    try {
        EnsurePaintEffects();
        if (surface_.size() != q_.size()) {
            surface_ = QImage(q_.size(), QImage::Format_ARGB32_Premultiplied);
        }
        interaction_.StopToolTip();
        if (layoutDirty_) {
            geometry_ = ArrangeToolbar(p_, q_.size(), q_.font(), buttons);
            layoutDirty_ = false;
        }
        {
            ToolbarPainter painter(surface_, p_, q_.font(), resources_);
            painter.FillBackground();
            painter.DrawControlBorder();
        }
        const bool horizontal = ToolbarLayout::RunsHorizontally(q_.size());
        wholeRefresh_ = true;
        for (int i = 1; i <= buttons.Count(); ++i) {
            const ToolbarButton& b = buttons[i];
            if (!b.Visible()) {
                continue;
            }
            singleButton_ = IsClickableStyle(b.Style()) && !b.Checked();
            PaintButton(i, false, false);
            ToolbarPainter(surface_, p_, q_.font(), resources_)
                .DrawGapSeparators(geometry_.Cell(i), horizontal);
        }
        singleButton_ = false;
        wholeRefresh_ = false;
        const int required = geometry_.RequiredLength();
        const int current = horizontal ? q_.width() : q_.height();
        if (p_.AutoSize() && required != current && align_ == 0 && !autoSizeDone_) {
            autoSizeDone_ = true;
            if (horizontal) {
                q_.resize(required, q_.height());
            } else {
                q_.resize(q_.width(), required);
            }
            if (surface_.size() != q_.size()) { // a hidden widget gets its resize event later
                Refresh();
            }
        }
        ApplyBackStyle();
        q_.update();
    } catch (const ControlError& error) {
        singleButton_ = false;
        wholeRefresh_ = false;
        ReportError(QStringLiteral("Refresh"), error, true);
    }
}

bool ToolBar::Private::MouseOverButton(int index) const {
    return interaction_.ButtonUnderCursor() == index && IsMouseOverWindow(&q_);
}

void ToolBar::Private::PaintButton(int index, bool lowered, bool forceNoBorder) {
    const ButtonCollection& buttons = q_.buttons_;
    if (!redraw_ || surface_.isNull() || !buttons.IsValidIndex(index)) {
        return;
    }
    const ToolbarButton& b = buttons[index];
    if (!b.Visible()) {
        return;
    }
    try {
        ButtonLook look;
        look.SetLowered(lowered);
        look.SetForceNoBorder(forceNoBorder);
        look.SetMouseDown(interaction_.MouseIsDown());
        look.SetMouseOver(MouseOverButton(index));
        look.SetSingleButton(singleButton_);
        const int hot = interaction_.HotButton();
        look.SetAnotherHot(hot != 0 && hot != index);
        look.SetDesignMode(designMode_);
        look.SetControlEnabled(q_.isEnabled());
        look.SetHorizontal(ToolbarLayout::RunsHorizontally(q_.size()));
        const QRect cell = geometry_.Cell(index);
        ToolbarPainter(surface_, p_, q_.font(), resources_).DrawButton(b, cell, look);
        q_.update(cell.adjusted(0, 0, 1, 1));
        if (p_.BackStyle() == 0 && !wholeRefresh_) {
            ApplyBackStyle(); // what the button now covers is no longer see-through
        }
    } catch (const ControlError& error) {
        ReportError(QStringLiteral("RefreshButton"), error, true);
    }
}

void ToolBar::Private::RepaintButtonAtRest(int index) {
    if (!q_.buttons_[index].Visible()) {
        return;
    }
    singleButton_ = true;
    PaintButton(index, false, false);
    singleButton_ = false;
}

void ToolBar::Private::RepaintButtonsWhere(bool (*test)(const ToolbarButton&)) {
    for (int i = 1; i <= q_.buttons_.Count(); ++i) {
        if (test(q_.buttons_[i])) {
            RepaintButtonAtRest(i);
        }
    }
}

void ToolBar::Private::ApplyBackStyle() {
    if (p_.BackStyle() != 0) {
        q_.clearMask();
        return;
    }
    // Every pixel still in the back colour is see-through.
    const QColor back = TranslateOleColor(p_.BackColor());
    q_.setMask(QBitmap::fromImage(surface_.createMaskFromColor(back.rgba(), Qt::MaskInColor)));
}

void ToolBar::Private::ApplyMouseCursor() {
    const std::optional<QCursor> cursor =
        MousePointerCursor(p_.MousePointer(), p_.MouseIcon().Picture());
    if (cursor) {
        q_.setCursor(*cursor);
    } else {
        q_.unsetCursor();
    }
}

} // namespace pelmora
