#pragma once
// HotLink: a one-line hyperlink label. It shows its caption in the normal look, switches
// to the hover look while the pointer is over it (holding the mouse capture so that it
// sees the pointer leave), raises its mouse events to the host and can hand a file, web
// address or mail link to the desktop.

#include "controls/design/PropertyBag.h"

#include <QFont>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QTimer;

namespace pelmora {

// The stored values of the label, one row each in stored order:
//   X(type, name, stored key, default, what a change does)
// Text: the shown text and the control's size follow; TextColour: the text is recoloured at
// once; Back: the control's background; Fit: the label is placed and sized again; Later:
// used from the next hover or load on; Widget: the font the control measures with changed.
// The fonts default to the host window's font whatever the row says. The row is the one
// place a value is declared: its field, getter, setter and stored key come from it.
#define PELMORA_HOTLINK_PROPERTIES(X)                                                              \
    X(quint32, BackColor, "BackColor", HotLink::kDefaultBackColor, Back)                           \
    X(quint32, HoverColor, "HoverColor", HotLink::kDefaultHoverColor, Later)                       \
    X(QFont, HoverFont, "HoverFont", QFont(), Widget)                                              \
    X(QFont, DefFont, "DefFont", QFont(), Widget)                                                  \
    X(QString, Caption, "Caption", HotLink::kDefaultCaption, Text)                                 \
    X(bool, AutoSize, "AutoSize", true, Fit)                                                       \
    X(quint32, NormalColor, "NormalColor", 0u, TextColour)                                         \
    X(bool, MouseP, "MouseP", true, Later)

#define PELMORA_HOTLINK_ACCESSORS(type, name, key, def, effect)                                    \
    type name() const;                                                                             \
    void Set##name(const type& value);

class HotLink : public QWidget {
    Q_OBJECT

public:
    /// Opens one target (an absolute path or an address with its scheme) with the desktop.
    using Opener = std::function<void(const QString& target)>;

    /// Default caption of a new control.
    static inline const QString kDefaultCaption = QStringLiteral("http://www.example.org/");
    /// Default hover colour: blue (colours are 0x00BBGGRR).
    static constexpr quint32 kDefaultHoverColor = 0xFF0000;
    /// Default background: the system's button-face colour.
    static constexpr quint32 kDefaultBackColor = 0x8000000F;
    /// Period of the timer that clears the hover flag, in milliseconds.
    static constexpr int kHoverTimerInterval = 500;

    /// A new control with the defaults of a freshly placed one.
    explicit HotLink(QWidget* parent = nullptr);
    ~HotLink() override;

    // One getter and setter per row of the table above. A setter given a new value marks the
    // design changed and applies the value as its row says; given the value the property
    // has, it does nothing.
    PELMORA_HOTLINK_PROPERTIES(PELMORA_HOTLINK_ACCESSORS)
    /// The control's enabled state.
    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool enabled);

    /// True while the hover flag is set (cleared by leaving and by the hover timer).
    bool HoverFlag() const;
    /// True once a setter changed the design since the last load or save.
    bool DesignChanged() const;

    /// Reads the stored design; missing or unreadable values take their defaults.
    void LoadDesign(const PropertyBag& bag);
    /// Writes the stored design in its key order; values equal to their defaults are left out.
    void SaveDesign(PropertyBag& bag);

    /// Asks the desktop to open file (a relative path is taken from directory). The
    /// parameters and the window mode have no desktop counterpart; failures are ignored.
    void Shell(const QString& file, const QString& parameters, const QString& directory,
               int showCmd);
    /// Replaces the desktop opener used by Shell (the default asks QDesktopServices).
    void SetOpener(Opener opener);

    /// The hover rule for one pointer movement; x and y in twips from the top-left corner.
    void HandleMouseMove(short button, short shift, float x, float y);

    /// Room for the caption in the wider of its two looks, past the label's offset, so a
    /// layout never clips it.
    QSize sizeHint() const override;
    /// The caption is never shown cut: the size hint is also the least size.
    QSize minimumSizeHint() const override { return sizeHint(); }

    /// The inner label that shows the caption.
    QLabel* CaptionLabel() const;
    /// The timer that clears the hover flag.
    QTimer* HoverTimer();

signals:
    /// The pointer left the control.
    void MouseExist();
    /// The label or the control was clicked.
    void Click();
    /// A button was pressed on the control; a directly connected slot may change the values.
    void MouseDown(short& button, short& shift, float& x, float& y);
    /// The pointer moved over the control (or anywhere while it holds the capture).
    void MouseMove(short& button, short& shift, float& x, float& y);
    /// A button was released on the control.
    void MouseUp(short& button, short& shift, float& x, float& y);
    /// The pointer entered the control.
    void MouseEnter();

protected:
    /// The private class takes the mouse and follows a new size and the showing; QWidget
    /// does the rest.
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Private;
    std::unique_ptr<Private> d_;
};

#undef PELMORA_HOTLINK_ACCESSORS

} // namespace pelmora
