#include "controls/toolbar/ToolbarInteraction.h"

#include "controls/paint/ControlEvents.h"
#include "controls/paint/MouseOver.h"
#include "controls/paint/ResourceSound.h"
#include "controls/paint/ToolTipWindow.h"
#include "controls/toolbar/ToolBarPrivate.h"
#include "controls/toolbar/ToolbarEnums.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>

namespace pelmora {

ToolbarInteraction::ToolbarInteraction(ToolBar& toolbar) : toolbar_(toolbar) {
    tipTimer_.setInterval(TipDelay);
    leaveTimer_.setInterval(LeaveCheckInterval);
    dragTimer_.setInterval(DragInterval);
    QObject::connect(&tipTimer_, &QTimer::timeout, [this] { TipElapsed(); });
    QObject::connect(&leaveTimer_, &QTimer::timeout, [this] { CheckLeave(); });
    QObject::connect(&dragTimer_, &QTimer::timeout, [this] { DragTick(); });
}

void ToolbarInteraction::MouseEvent(const QMouseEvent& event) {
    const auto x = static_cast<float>(event.position().x());
    const auto y = static_cast<float>(event.position().y());
    const int16_t shift = ShiftBits(event.modifiers());
    if (event.type() == QEvent::MouseButtonPress) {
        MouseDown(MouseButtonBits(event.button()), shift, x, y);
    } else if (event.type() == QEvent::MouseMove) {
        MouseMove(MouseButtonBits(event.buttons()), shift, x, y);
    } else if (event.type() == QEvent::MouseButtonRelease) {
        const bool pressed = mouseIsDown_;
        MouseUp(MouseButtonBits(event.button()), shift, x, y);
        // The platform's own click follows a left release inside the control.
        if (pressed && event.button() == Qt::LeftButton &&
            toolbar_.rect().contains(event.position().toPoint())) {
            PlatformClick();
        }
    }
}

bool ToolbarInteraction::CursorOverControl() const {
    return IsMouseOverWindow(&toolbar_);
}

void ToolbarInteraction::MouseDown(int16_t button, int16_t shift, float x, float y) {
    mouseIsDown_ = true;
    if (IsOverGripper(x, y)) {
        dragStart_ = QPoint(static_cast<int>(x), static_cast<int>(y));
        dragTimer_.start();
    }
    savedHot_ = hotButton_;
    hotButton_ = 0;
    CancelToolTip();
    // With no hot button the button under the mouse is entered anew and, the mouse being
    // down, drawn lowered.
    MouseMove(button, shift, x, y);
    emit toolbar_.MouseDown(button, shift, x, y);
}

bool ToolbarInteraction::IsOverGripper(float x, float y) const {
    if (toolbar_.DockingStyle() == 0) {
        return false;
    }
    const float w = static_cast<float>(toolbar_.width());
    const float h = static_cast<float>(toolbar_.height());
    if (w > h) {
        return x > 0 && x < 10 && y > 2 && y < h - 2;
    }
    return y > 0 && y < 10 && x > 2 && x < w - 2;
}

void ToolbarInteraction::MouseMove(int16_t button, int16_t shift, float x, float y) {
    mouseX_ = x;
    mouseY_ = y;
    if (dragTimer_.isActive()) {
        return;
    }
    const int16_t index = toolbar_.IsWithinButton(x, y);
    underCursor_ = CursorOverControl() ? index : int16_t(0);
    if (index == 0) {
        if (hotButton_ != 0) {
            ResetButton(hotButton_);
            hotButton_ = 0;
            leaveTimer_.stop();
        }
        tipTimer_.stop();
        CloseTip();
        emit toolbar_.MouseMove(button, shift, x, y);
        return;
    }
    if (index == hotButton_) {
        return;
    }
    const ToolbarButton& b = toolbar_.buttons_[index];
    const bool clickable = IsClickableStyle(b.Style());
    if (clickable) {
        ArmToolTip(b.ToolTipText());
    } else {
        tipTimer_.stop();
        CloseTip();
    }
    ResetButton(hotButton_);
    if (b.Enabled() && !clickable) {
        hotButton_ = index;
        return;
    }
    if (b.Enabled()) {
        toolbar_.d_->PaintButton(index, mouseIsDown_, false);
        leaveTimer_.start();
    }
    emit toolbar_.ButtonMouseOver(index, toolbar_.buttons_[index].Key());
    hotButton_ = index;
}

void ToolbarInteraction::MouseUp(int16_t button, int16_t shift, float x, float y) {
    if (dragTimer_.isActive()) {
        // A gripper drag never clicks.
        dragTimer_.stop();
        toolbar_.Refresh();
        mouseIsDown_ = false;
        hotButton_ = savedHot_;
        CancelToolTip();
        return;
    }
    if (!mouseIsDown_) {
        return;
    }
    mouseIsDown_ = false;
    hotButton_ = savedHot_;
    CancelToolTip();
    emit toolbar_.MouseUp(button, shift, x, y);
    if (button != 0) {
        const int16_t index = toolbar_.IsWithinButton(x, y);
        if (index == 0) {
            if (button == 2) {
                emit toolbar_.RightClick();
            }
        } else {
            ClickButton(index, button);
        }
    }
    CancelToolTip();
}

void ToolbarInteraction::ClickButton(int index, int16_t button) {
    toolbar_.d_->PaintButton(index, false, false);
    // A handler may delete buttons, so every step looks the button up again.
    auto current = [this, index]() -> ToolbarButton* {
        return toolbar_.buttons_.IsValidIndex(index) ? &toolbar_.buttons_[index] : nullptr;
    };
    const ToolbarButton& b = *current();
    const QString key = b.Key();
    const int32_t style = b.Style();
    if (!b.Enabled() || !IsClickableStyle(style)) {
        ResetButton(index);
        return;
    }
    bool cancel = false;
    if (style == tbbtButton) {
        if (button == 1) {
            emit toolbar_.BeforeButtonClick(static_cast<int16_t>(index), key, cancel);
            FinishClick(index, cancel, button);
        } else {
            bool cancelBeep = false;
            emit toolbar_.ButtonRightClick(static_cast<int16_t>(index), key, cancelBeep);
            if (!cancelBeep) {
                if (beep_) {
                    beep_();
                } else {
                    QApplication::beep();
                }
            }
        }
        return;
    }
    emit toolbar_.BeforeButtonClick(static_cast<int16_t>(index), key, cancel);
    if (style == tbbtCheck) {
        if (ToolbarButton* c = current()) {
            c->SetChecked(!c->Checked());
            toolbar_.d_->PaintButton(index, false, false);
        }
    } else {
        for (int other : toolbar_.buttons_.AdjacentGroupRun(index)) {
            toolbar_.buttons_[other].SetChecked(false);
            toolbar_.d_->PaintButton(other, false, true);
        }
        if (ToolbarButton* c = current()) {
            c->SetChecked(true);
            toolbar_.d_->PaintButton(index, false, false);
        }
    }
    FinishClick(index, cancel, button);
}

void ToolbarInteraction::FinishClick(int index, bool cancelled, int16_t button) {
    if (cancelled || !toolbar_.buttons_.IsValidIndex(index)) {
        return;
    }
    if (player_) {
        PlayResourceSound(QStringLiteral("BUTTON_CLICK"), toolbar_.PlaySounds(), *player_);
    } else {
        PlayResourceSound(QStringLiteral("BUTTON_CLICK"), toolbar_.PlaySounds());
    }
    // Only a left release is followed by the platform's click, so only a left click has
    // one to swallow; a right click setting the flag would eat the next real Click.
    if (button == 1) {
        clickHandled_ = true;
    }
    toolbar_.SelectGroupButton(index);
    if (toolbar_.buttons_.IsValidIndex(index)) {
        emit toolbar_.ButtonClick(static_cast<int16_t>(index), toolbar_.buttons_[index].Key());
    }
}

void ToolbarInteraction::PlatformClick() {
    if (clickHandled_) {
        clickHandled_ = false;
        return;
    }
    emit toolbar_.Click();
}

void ToolbarInteraction::ResetButton(int index) {
    if (!toolbar_.buttons_.IsValidIndex(index)) {
        return;
    }
    toolbar_.d_->PaintButton(index, false, true);
    CloseTip();
}

void ToolbarInteraction::CloseTip() {
    HideToolTip();
    toolbar_.setToolTip(QString());
}

void ToolbarInteraction::CancelToolTip() {
    tipTimer_.stop();
    HideToolTip();
    leaveTimer_.start();
    toolbar_.setToolTip(QString());
}

void ToolbarInteraction::ArmToolTip(const QString& text) {
    if (!text.isEmpty() && toolbar_.ShowToolTips()) {
        pendingTip_ = text;
        if (!toolbar_.DesignMode()) {
            tipTimer_.start();
        }
        return;
    }
    CloseTip();
    tipTimer_.stop();
}

void ToolbarInteraction::StopToolTip() {
    tipTimer_.stop();
    CloseTip();
}

void ToolbarInteraction::StopTimers() {
    tipTimer_.stop();
    leaveTimer_.stop();
    dragTimer_.stop();
}

void ToolbarInteraction::TipElapsed() {
    if (dragTimer_.isActive()) {
        return;
    }
    CancelToolTip(); // shown once per arming
    if (!CursorOverControl()) {
        return;
    }
    const QFont font = toolbar_.ToolTipFont();
    ShowToolTip(pendingTip_, QApplication::activeWindow(), &font);
}

void ToolbarInteraction::CheckLeave() {
    if (CursorOverControl() || dragTimer_.isActive()) {
        return;
    }
    mouseX_ = 0;
    mouseY_ = 0;
    ResetButton(hotButton_);
    hotButton_ = 0;
    leaveTimer_.stop();
    tipTimer_.stop();
}

void ToolbarInteraction::DragTick() {
    QWidget* container = toolbar_.hWndContainer();
    if (!mouseIsDown_ || container == nullptr) {
        return;
    }
    // Positions are taken against the container's client origin on both axes, so the toolbar
    // follows the cursor exactly whatever frame the container has.
    const QPoint origin = container->mapToGlobal(QPoint(0, 0));
    const QPoint cursor = QCursor::pos();
    const QRect own = toolbar_.geometry();
    if (toolbar_.width() > toolbar_.height()) {
        const int left = cursor.x() - origin.x() - dragStart_.x();
        if (left != own.left() && left >= 0) {
            toolbar_.move(left, own.top());
        }
    } else {
        const int top = cursor.y() - origin.y() - dragStart_.y();
        if (top != own.top() && top >= 0) {
            toolbar_.move(own.left(), top);
        }
    }
    int32_t x = cursor.x() - origin.x();
    int32_t y = cursor.y() - origin.y();
    emit toolbar_.DockingToolbar(x, y);
}

} // namespace pelmora
