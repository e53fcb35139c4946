#pragma once

#include "controls/toolbar/ToolbarButtonModel.h"
#include "controls/toolbar/ToolbarInteraction.h"
#include "controls/toolbar/ToolbarProperties.h"
#include "controls/paint/ControlError.h"

#include <QImage>
#include <QPointer>
#include <QVariant>
#include <QWidget>
#include <cstdint>
#include <memory>

namespace pelmora {

class PropertyBag;
class ToolbarPaintResources;

/// The owner-drawn toolbar: a row (or column) of picture-and-caption buttons with flat or 3-D
/// looks, check and group buttons, hot tracking, a gripper, tooltips and a click sound. The
/// button members come from ToolbarButtonModel; buttons are addressed by a 1-based index or
/// by key (a QVariant holding either). Failures are thrown as ControlError.
class ToolBar : public QWidget, public ToolbarButtonModel {
    Q_OBJECT
    friend class ToolbarInteraction;

public:
    /// Creates a toolbar with the first-time defaults, ready to paint.
    explicit ToolBar(QWidget* parent = nullptr);
    ~ToolBar() override;

    // ---- Layout and painting ------------------------------------------------------------
    /// Lays out and repaints the whole control (ignored while Redraw is false). Setters that
    /// change only colours repaint without a new layout.
    void Refresh();
    /// Repaints one button, pressed or at rest, with or without its hot frame.
    void RefreshButton(const QVariant& Index, bool ButtonLowered, bool ForceNoBorder);
    /// Pixels between the edge and the buttons on a side (0 left, 1 top, 2 right, 3 bottom).
    int BorderInset(int side) const;
    /// The persistent drawing surface the window is painted from.
    const QImage& Surface() const { return surface_; }
    /// The control's window (the widget itself) and its drawing surface.
    QWidget* hWnd() { return this; }
    const QImage& hDC() const { return surface_; }
    /// The toolbar created last in the process (nullptr once it is gone).
    static ToolBar* NewestToolbar();

    // ---- Interaction --------------------------------------------------------------------
    /// The button drawn hot, 0 for none.
    int16_t HotButton() const { return interaction_.HotButton(); }
    /// The first visible button containing the point, 0 for none.
    int16_t IsWithinButton(float X, float Y) const;
    /// Raises ButtonClick for a button and applies its GroupID (error 9 for a bad index).
    void ForceClick(const QVariant& Index);
    /// Raises ButtonClick with the given values and nothing else.
    void SendClick(const QVariant& Index, const QString& Key);
    /// Raises DockingWindow.
    void SendRestoreEvent(int Mode, int32_t X, int32_t Y);
    /// Plays the click sound through player instead of the sound device (for tests).
    void SetSoundPlayer(SoundPlayer* player) { interaction_.SetSoundPlayer(player); }
    /// Replaces the platform's beep (for tests; an empty function restores it).
    void SetBeeper(std::function<void()> beep) { interaction_.SetBeeper(std::move(beep)); }
    /// The interaction state, for looking at the timers.
    const ToolbarInteraction& Interaction() const { return interaction_; }
    /// Last mouse position seen (0 after the mouse left).
    float MouseX() const { return interaction_.MouseX(); }
    float MouseY() const { return interaction_.MouseY(); }

    // ---- Control properties -------------------------------------------------------------
    // Colours are OLE colours. Each setter tells the host through PropertyChanged.
    bool DisabledText3D() const { return p_.DisabledText3D; }
    void SetDisabledText3D(bool v) {
        Store(&ToolbarProperties::DisabledText3D, v, "DisabledText3D", After::Repaint);
    }
    float FixedSize() const { return p_.FixedSize; }
    void SetFixedSize(float v) {
        Store(&ToolbarProperties::FixedSize, v, "FixedSize", After::Relayout);
    }
    int32_t Style() const { return p_.Style; }
    void SetStyle(int32_t v) { Store(&ToolbarProperties::Style, v, "Style", After::Relayout); }
    QFont ToolTipFont() const { return p_.ToolTipFont; }
    /// Error 424 when given no font (a null pointer).
    void SetToolTipFont(const QFont* value);
    OleColor TextColor() const { return p_.TextColor; }
    void SetTextColor(OleColor value);
    OleColor TextDisabledColor() const { return p_.TextDisabledColor; }
    void SetTextDisabledColor(OleColor value);
    bool SolidChecked() const { return p_.SolidChecked; }
    void SetSolidChecked(bool value);
    int16_t ButtonGap() const { return p_.ButtonGap; }
    void SetButtonGap(int16_t v) {
        Store(&ToolbarProperties::ButtonGap, v, "ButtonGap", After::Relayout);
    }
    int32_t BorderStyle() const { return p_.BorderStyle; }
    /// Error 380 outside 0..5; 3 also turns on all sides and off both double borders.
    void SetBorderStyle(int32_t value);
    /// Border sides; while BorderStyle is 3 they stay on.
    bool BorderLeft() const { return p_.BorderLeft; }
    void SetBorderLeft(bool v) { StoreSide(&ToolbarProperties::BorderLeft, v, "BorderLeft"); }
    bool BorderTop() const { return p_.BorderTop; }
    void SetBorderTop(bool v) { StoreSide(&ToolbarProperties::BorderTop, v, "BorderTop"); }
    bool BorderRight() const { return p_.BorderRight; }
    void SetBorderRight(bool v) { StoreSide(&ToolbarProperties::BorderRight, v, "BorderRight"); }
    bool BorderBottom() const { return p_.BorderBottom; }
    void SetBorderBottom(bool v) { StoreSide(&ToolbarProperties::BorderBottom, v, "BorderBottom"); }
    /// Doubled borders; while BorderStyle is 3 they stay off; turning one on turns its side on.
    bool DoubleTopBorder() const { return p_.DoubleTopBorder; }
    void SetDoubleTopBorder(bool value);
    bool DoubleBottomBorder() const { return p_.DoubleBottomBorder; }
    void SetDoubleBottomBorder(bool value);
    OleColor BackColor() const { return p_.BackColor; }
    void SetBackColor(OleColor v) {
        Store(&ToolbarProperties::BackColor, v, "BackColor", After::Repaint);
    }
    OleColor HighlightColor() const { return p_.HighlightColor; }
    void SetHighlightColor(OleColor v) {
        Store(&ToolbarProperties::HighlightColor, v, "HighlightColor", After::Repaint);
    }
    OleColor ShadowColor() const { return p_.ShadowColor; }
    void SetShadowColor(OleColor v) {
        Store(&ToolbarProperties::ShadowColor, v, "ShadowColor", After::Repaint);
    }
    OleColor HighlightDarkColor() const { return p_.HighlightDarkColor; }
    void SetHighlightDarkColor(OleColor v) {
        Store(&ToolbarProperties::HighlightDarkColor, v, "HighlightDarkColor", After::Repaint);
    }
    OleColor ShadowDarkColor() const { return p_.ShadowDarkColor; }
    void SetShadowDarkColor(OleColor v) {
        Store(&ToolbarProperties::ShadowDarkColor, v, "ShadowDarkColor", After::Repaint);
    }
    bool PlaySounds() const { return p_.PlaySounds; }
    void SetPlaySounds(bool v) {
        Store(&ToolbarProperties::PlaySounds, v, "PlaySounds", After::Nothing);
    }
    /// The caption font is the widget's font; QWidget::setFont lays out anew.
    QFont Font() const { return font(); }
    /// Attributes of the caption font; a write lays out anew.
    QString FontName() const { return font().family(); }
    void SetFontName(const QString& value);
    float FontSize() const { return static_cast<float>(font().pointSizeF()); }
    void SetFontSize(float value);
    bool FontBold() const { return font().bold(); }
    void SetFontBold(bool value);
    bool FontItalic() const { return font().italic(); }
    void SetFontItalic(bool value);
    bool FontUnderline() const { return font().underline(); }
    void SetFontUnderline(bool value);
    bool FontStrikethru() const { return font().strikeOut(); }
    void SetFontStrikethru(bool value);
    int32_t Appearance() const { return p_.Appearance; }
    void SetAppearance(int32_t v) {
        Store(&ToolbarProperties::Appearance, v, "Appearance", After::Repaint);
    }
    bool ShowToolTips() const { return p_.ShowToolTips; }
    void SetShowToolTips(bool v) {
        Store(&ToolbarProperties::ShowToolTips, v, "ShowToolTips", After::Nothing);
    }
    int16_t MousePointer() const { return p_.MousePointer; }
    void SetMousePointer(int16_t value);
    OlePicture MouseIcon() const { return p_.MouseIcon; }
    void SetMouseIcon(const OlePicture& value);
    /// Whether the control responds to the user: the widget's enabled state (setEnabled).
    bool Enabled() const { return isEnabled(); }
    int32_t CaptionOptions() const { return p_.CaptionOptions; }
    void SetCaptionOptions(int32_t v) {
        Store(&ToolbarProperties::CaptionOptions, v, "TextOptions", After::Relayout);
    }
    bool ShowSeparators() const { return p_.ShowSeparators; }
    void SetShowSeparators(bool v) {
        Store(&ToolbarProperties::ShowSeparators, v, "ShowSeparators",
              p_.Appearance == ifcaFlat ? After::Repaint : After::Nothing);
    }
    bool HotTracking() const { return p_.HotTracking; }
    void SetHotTracking(bool v) {
        Store(&ToolbarProperties::HotTracking, v, "HotTracking", After::Nothing);
    }
    OleColor HotTrackingColor() const { return p_.HotTrackingColor; }
    void SetHotTrackingColor(OleColor v) {
        Store(&ToolbarProperties::HotTrackingColor, v, "HotTrackingColor", After::Nothing);
    }
    bool BoldOnChecked() const { return p_.BoldOnChecked; }
    void SetBoldOnChecked(bool v) {
        Store(&ToolbarProperties::BoldOnChecked, v, "BoldOnChecked", After::Relayout);
    }
    int32_t CaptionAlignment() const { return p_.CaptionAlignment; }
    void SetCaptionAlignment(int32_t v) {
        Store(&ToolbarProperties::CaptionAlignment, v, "CaptionAlignment", After::Repaint);
    }
    bool AutoSize() const { return p_.AutoSize; }
    /// Error 0x80040001 when set true while the container aligns the control.
    void SetAutoSize(bool value);
    /// Gripper: 0 none, 1 two raised bars, 2 one dotted column.
    int32_t DockingStyle() const { return p_.DockingStyle; }
    void SetDockingStyle(int32_t v) {
        Store(&ToolbarProperties::DockingStyle, v, "DockingStyle", After::Relayout);
    }
    /// Caption of a floating toolbar window; stored only.
    QString Title() const { return p_.Title; }
    void SetTitle(const QString& v) {
        Store(&ToolbarProperties::Title, v, "Title", After::Nothing);
    }
    int32_t BackStyle() const { return p_.BackStyle; }
    /// Error 380 for anything but 0 (transparent) and 1 (opaque).
    void SetBackStyle(int32_t value);
    /// While false every refresh request is ignored.
    bool Redraw() const { return redraw_; }
    void SetRedraw(bool value) { redraw_ = value; }

    /// The alignment the container gives the control (0 none, 1 top, 2 bottom, 3 left,
    /// 4 right); an aligned control does not size itself.
    int Align() const { return align_; }
    void SetAlign(int value) { align_ = value; }
    /// True when wider than high.
    bool Horizontal() const { return width() > height(); }
    /// True when narrower than high; setting it turns the control by exchanging its sides.
    bool Vertical() const { return width() < height(); }
    void SetVertical(bool value);
    /// Number of this toolbar in the process: 1 for the first one created, and so on.
    int handle() const { return handle_; }
    /// Client size in pixels.
    int ScaleWidth() const { return width(); }
    int ScaleHeight() const { return height(); }
    /// Refreshes and raises Resize.
    void ForceResize();

    /// True inside a form designer; always false at run time.
    bool DesignMode() const { return designMode_; }
    void SetDesignMode(bool value) { designMode_ = value; }

    // ---- Docking (for a host that moves toolbars; nothing here calls them) --------------
    QWidget* hWndContainer() const { return container_; }
    /// Re-parents the control into the container.
    void SetHWndContainer(QWidget* value);
    int CTLLeft() const;
    int CTLTop() const;
    /// Moves the control inside its container to a new left edge and refreshes.
    void SetCTLLeft(int value);

    // ---- Stored design ------------------------------------------------------------------
    /// Loads the stored design (missing or unreadable values take their defaults).
    void ReadProperties(const PropertyBag& bag);
    /// Writes the stored design in its fixed key order.
    void WriteProperties(PropertyBag& bag) const;
    /// Loads a stored design from JSON text; false when the text is no JSON object (the
    /// defaults are loaded then).
    bool LoadDesign(const QByteArray& json);
    /// Loads a stored design from a file or resource (":/toolbar/main_toolbar.json"); false
    /// when it cannot be read or is no JSON object (the defaults are loaded then).
    bool LoadDesignFile(const QString& path);
    /// The stored design as JSON text.
    QByteArray SaveDesign() const;

signals:
    void ButtonClick(int16_t ButtonIndex, const QString& Key);
    void ButtonRightClick(int16_t ButtonIndex, const QString& Key, bool& CancelBeep);
    void ButtonMouseOver(int16_t ButtonIndex, const QString& Key);
    void BeforeButtonClick(int16_t ButtonIndex, const QString& Key, bool& Cancel);
    void Click();
    void DblClick();
    void MouseUp(int16_t Button, int16_t Shift, float X, float Y);
    void MouseDown(int16_t Button, int16_t Shift, float X, float Y);
    void MouseMove(int16_t Button, int16_t Shift, float X, float Y);
    void Resize(float NewWidth, float NewHeight);
    void RightClick();
    void DockingToolbar(int32_t& X, int32_t& Y);
    void DockingWindow(int32_t& X, int32_t& Y);
    /// A property changed (the designer's dirty flag); name as the property is called.
    void PropertyChanged(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // How a setter follows up a change: Relayout also lets AutoSize act again.
    enum class After { Nothing, Repaint, Relayout };
    template <typename T>
    void Store(T ToolbarProperties::*field, const T& value, const char* name, After after) {
        p_.*field = value;
        emit PropertyChanged(QString::fromLatin1(name));
        if (after == After::Repaint)
            RefreshControl();
        else if (after == After::Relayout)
            InvalidateSize();
    }
    void StoreSide(bool ToolbarProperties::*side, bool value, const char* name);
    void ButtonSizesChanged() override { autoSizeDone_ = false; }
    void ButtonsChanged() override { Refresh(); }
    void ButtonLookChanged(int index) override { RepaintButtonAtRest(index); }
    void ButtonPropertyChanged(const QString& name) override { emit PropertyChanged(name); }
    void ButtonsReordered() override { interaction_.ClearHot(); }
    void ButtonRecordHandedOut() override { layoutDirty_ = true; }
    void RaiseControlError(const QString& procedure, int number,
                           const QString& description = {}) override;
    void ReportUnexpectedError(const QString& procedure, const ControlError& error);
    void RepaintButtonAtRest(int index);
    void RepaintButtonsWhere(bool (*test)(const ToolbarButton&));
    void SetFontAttribute(void (QFont::*setter)(bool), bool value);
    void ApplyMouseCursor();
    void ApplyBackStyle();
    void RefreshControl();
    void InvalidateSize();
    void PaintButton(int index, bool lowered, bool forceNoBorder);
    bool MouseOverButton(int index) const;
    void InitProperties();
    QFont AmbientFont() const;

    ToolbarProperties p_;
    QImage surface_;
    ToolbarInteraction interaction_;
    std::unique_ptr<ToolbarPaintResources> resources_;
    QPointer<QWidget> container_;
    bool redraw_ = false;
    bool autoSizeDone_ = false;
    bool singleButton_ = false;
    bool designMode_ = false;
    bool layoutDirty_ = true;
    bool wholeRefresh_ = false;
    int requiredLength_ = 0;
    int align_ = 0;
    int handle_ = 0;
};

} // namespace pelmora
