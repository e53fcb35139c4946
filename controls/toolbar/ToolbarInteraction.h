#pragma once

#include <QPoint>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>

class QMouseEvent;

namespace pelmora {

class SoundPlayer;
class ToolBar;

/// The mouse side of a toolbar: which button is hot, the press-and-release rules that make a
/// click for each button style, the tooltip delay, the leave check and the gripper drag. It
/// changes state and asks the toolbar to repaint single buttons; it never draws.
class ToolbarInteraction {
public:
    /// Tooltip delay, leave-check and gripper-drag intervals in milliseconds.
    static constexpr int TipDelay = 1000;
    static constexpr int LeaveCheckInterval = 10;
    static constexpr int DragInterval = 1;

    explicit ToolbarInteraction(ToolBar& toolbar);

    /// The hot button, 0 for none.
    int16_t HotButton() const { return hotButton_; }
    /// The button the last hit test found while the cursor was over the control, else 0.
    int16_t ButtonUnderCursor() const { return underCursor_; }
    /// Whether a mouse button is held after a press on the control.
    bool MouseIsDown() const { return mouseIsDown_; }
    /// Last position seen.
    float MouseX() const { return mouseX_; }
    float MouseY() const { return mouseY_; }
    /// Whether the tooltip delay is running, and its pending text.
    bool TipArmed() const { return tipTimer_.isActive(); }
    const QString& PendingTip() const { return pendingTip_; }
    /// Whether a gripper drag is running.
    bool Dragging() const { return dragTimer_.isActive(); }

    /// Mouse handlers; Button and Shift are the platform's bit values (1 left, 2 right,
    /// 4 middle; 1 shift, 2 control, 4 alt).
    void MouseDown(int16_t button, int16_t shift, float x, float y);
    void MouseMove(int16_t button, int16_t shift, float x, float y);
    void MouseUp(int16_t button, int16_t shift, float x, float y);
    /// A press, move or release of the control's window, with the platform's click that
    /// follows a left release inside it.
    void MouseEvent(const QMouseEvent& event);
    /// The platform's click after a release: swallowed once after a button click.
    void PlatformClick();

    /// Whether the point is on the docking gripper.
    bool IsOverGripper(float x, float y) const;
    /// Redraws a button flat and closes the tooltip.
    void ResetButton(int index);
    /// Stops the tooltip delay, closes the tooltip and watches for the mouse leaving.
    void CancelToolTip();
    /// Starts the tooltip delay for a text (closes the tooltip when there is nothing to show).
    void ArmToolTip(const QString& text);
    /// Stops the tooltip delay and closes the tooltip (the control is painted anew).
    void StopToolTip();
    /// Stops the three timers (the control was disabled).
    void StopTimers();
    /// Plays the click sound through player instead of the sound device (nullptr: device).
    void SetSoundPlayer(SoundPlayer* player) { player_ = player; }
    /// Replaces the platform's beep (an empty function restores it).
    void SetBeeper(std::function<void()> beep) { beep_ = std::move(beep); }
    /// Forgets the hot button (the buttons were laid out anew).
    void ClearHot() { hotButton_ = 0; }

private:
    void TipElapsed();
    void CheckLeave();
    void DragTick();
    void ClickButton(int index, int16_t button);
    void FinishClick(int index, bool cancelled, int16_t button);
    void CloseTip();
    bool CursorOverControl() const;

    ToolBar& toolbar_;
    int16_t hotButton_ = 0;
    int16_t savedHot_ = 0;
    int16_t underCursor_ = 0;
    bool mouseIsDown_ = false;
    bool clickHandled_ = false;
    float mouseX_ = 0;
    float mouseY_ = 0;
    QPoint dragStart_;
    QString pendingTip_;
    QTimer tipTimer_;
    QTimer leaveTimer_;
    QTimer dragTimer_;
    SoundPlayer* player_ = nullptr;
    std::function<void()> beep_;
};

} // namespace pelmora
