#pragma once

#include "controls/paint/ControlError.h"
#include "controls/toolbar/ToolbarButtonModel.h"
#include "controls/toolbar/ToolbarProperties.h"

#include <QImage>
#include <QVariant>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

namespace pelmora {

class PropertyBag;
class SoundPlayer;
class ToolbarInteraction;

// Declarations of the generated accessors of ToolBar (one row each in ToolbarProperties.h).
#define PELMORA_TOOLBAR_GETTER(type, name, effect, notice) type name() const;
#define PELMORA_TOOLBAR_GETSET(type, name, effect, notice)                                         \
    type name() const;                                                                             \
    void Set##name(const type& value);

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
    void RefreshButton(const QVariant& index, bool buttonLowered, bool forceNoBorder);
    /// Pixels between the edge and the buttons on a side (0 left, 1 top, 2 right, 3 bottom).
    int BorderInset(int side) const;
    /// A button's cell from the last layout, in pixels (error 9 for a bad index).
    int32_t ButtonClientLeft(const QVariant& index);
    int32_t ButtonClientTop(const QVariant& index);
    int32_t ButtonClientWidth(const QVariant& index);
    int32_t ButtonClientHeight(const QVariant& index);
    /// The persistent drawing surface the window is painted from.
    const QImage& Surface() const;
    /// The control's window (the widget itself) and its drawing surface.
    QWidget* hWnd() { return this; }
    const QImage& hDC() const { return Surface(); }
    /// The toolbar created last in the process (nullptr once it is gone).
    static ToolBar* NewestToolbar();

    // ---- Interaction --------------------------------------------------------------------
    /// The button drawn hot, 0 for none.
    int16_t HotButton() const;
    /// The first visible button containing the point, 0 for none.
    int16_t IsWithinButton(float x, float y) const;
    /// Raises ButtonClick for a button and applies its GroupID (error 9 for a bad index).
    void ForceClick(const QVariant& index);
    /// Raises ButtonClick with the given values and nothing else.
    void SendClick(const QVariant& index, const QString& key);
    /// Raises DockingWindow.
    void SendRestoreEvent(int mode, int32_t x, int32_t y);
    /// Plays the click sound through player instead of the sound device (for tests).
    void SetSoundPlayer(SoundPlayer* player);
    /// Replaces the platform's beep (for tests; an empty function restores it).
    void SetBeeper(std::function<void()> beep);
    /// The interaction state, for looking at the timers.
    const ToolbarInteraction& Interaction() const;
    /// Last mouse position seen (0 after the mouse left).
    float MouseX() const;
    float MouseY() const;

    // ---- Control properties -------------------------------------------------------------
    // One getter and setter per row of ToolbarProperties.h. Colours are OLE colours. A
    // setter given a new value tells the host through PropertyChanged and repaints or lays
    // out as its row says; given the value the property has, it does nothing.
    PELMORA_TOOLBAR_PROPERTIES(PELMORA_TOOLBAR_ACCESSOR)

    /// Error 424 when given no font (a null pointer).
    void SetToolTipFont(const QFont* value);
    /// Error 380 outside 0..5; 3 also turns on all sides and off both double borders.
    void SetBorderStyle(int32_t value);
    /// Doubled borders; while BorderStyle is 3 they stay off; turning one on turns its side on.
    void SetDoubleTopBorder(bool value);
    void SetDoubleBottomBorder(bool value);
    /// Repaints only in the flat appearance, where the lines are drawn.
    void SetShowSeparators(bool value);
    /// Error 0x80040001 when set true while the container aligns the control.
    void SetAutoSize(bool value);
    /// Error 380 for anything but 0 (transparent) and 1 (opaque).
    void SetBackStyle(int32_t value);
    /// Custom pointer picture, shown when MousePointer is 99.
    OlePicture MouseIcon() const;
    void SetMouseIcon(const OlePicture& value);
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
    /// Whether the control responds to the user: the widget's enabled state (setEnabled).
    bool Enabled() const { return isEnabled(); }
    /// While false every refresh request is ignored.
    bool Redraw() const;
    void SetRedraw(bool value);

    /// The alignment the container gives the control (0 none, 1 top, 2 bottom, 3 left,
    /// 4 right); an aligned control does not size itself.
    int Align() const;
    void SetAlign(int value);
    /// True when wider than high.
    bool Horizontal() const { return width() > height(); }
    /// True when narrower than high; setting it turns the control by exchanging its sides.
    bool Vertical() const { return width() < height(); }
    void SetVertical(bool value);
    /// Number of this toolbar in the process: 1 for the first one created, and so on.
    int handle() const;
    /// Client size in pixels.
    int ScaleWidth() const { return width(); }
    int ScaleHeight() const { return height(); }
    /// Refreshes and raises Resize.
    void ForceResize();

    /// True inside a form designer; always false at run time.
    bool DesignMode() const;
    void SetDesignMode(bool value);

    // ---- Docking (for a host that moves toolbars; nothing here calls them) --------------
    QWidget* hWndContainer() const;
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
    void ButtonClick(int16_t buttonIndex, const QString& key);
    void ButtonRightClick(int16_t buttonIndex, const QString& key, bool& cancelBeep);
    void ButtonMouseOver(int16_t buttonIndex, const QString& key);
    void BeforeButtonClick(int16_t buttonIndex, const QString& key, bool& cancel);
    void Click();
    void DblClick();
    void MouseUp(int16_t button, int16_t shift, float x, float y);
    void MouseDown(int16_t button, int16_t shift, float x, float y);
    void MouseMove(int16_t button, int16_t shift, float x, float y);
    void Resize(float newWidth, float newHeight);
    void RightClick();
    void DockingToolbar(int32_t& x, int32_t& y);
    void DockingWindow(int32_t& x, int32_t& y);
    /// A property changed (the designer's dirty flag); name as the property is called.
    void PropertyChanged(const QString& name);

protected:
    /// The private class takes painting and the mouse and follows size, font and enabled
    /// changes; QWidget does the rest.
    bool event(QEvent* event) override;

private:
    class Private;
    std::unique_ptr<Private> d_;
};

#undef PELMORA_TOOLBAR_GETTER
#undef PELMORA_TOOLBAR_GETSET

} // namespace pelmora
