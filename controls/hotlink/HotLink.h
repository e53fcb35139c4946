#pragma once
// HotLink: a one-line hyperlink label. It shows its caption in the normal look, switches
// to the hover look while the pointer is over it (holding the mouse capture so that it
// sees the pointer leave), raises its mouse events to the host and can hand a file, web
// address or mail link to the desktop.

#include "controls/design/PropertyBag.h"

#include <QFont>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>

class QLabel;

namespace pelmora {

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

    /// The text shown.
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    /// Text colour while the pointer is not over the control (OLE colour).
    quint32 NormalColor() const { return normalColor_; }
    void SetNormalColor(quint32 color);
    /// Text colour of the hover look (OLE colour); used from the next hover on.
    quint32 HoverColor() const { return hoverColor_; }
    void SetHoverColor(quint32 color);
    /// Font of the normal look; used when the hover look ends.
    QFont DefFont() const { return defFont_; }
    void SetDefFont(const QFont& font);
    /// Font of the hover look; used from the next hover on.
    QFont HoverFont() const { return hoverFont_; }
    void SetHoverFont(const QFont& font);
    /// Background of the control and its label (OLE colour).
    quint32 BackColor() const { return backColor_; }
    void SetBackColor(quint32 color);
    /// Whether the label sizes itself to its text (and the control to the label).
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    /// The control's enabled state.
    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool enabled);
    /// Whether the control shows its own pointer; applied at the next load.
    bool MouseP() const { return mouseP_; }
    void SetMouseP(bool mouseP);

    /// True while the hover flag is set (cleared by leaving and by the hover timer).
    bool HoverFlag() const { return hoverFlag_; }
    /// True once a setter changed the design since the last load or save.
    bool DesignChanged() const { return designChanged_; }

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
    QLabel* CaptionLabel() const { return captionLabel_; }
    /// The timer that clears the hover flag.
    QTimer* HoverTimer() { return &hoverTimer_; }

signals:
    /// The pointer left the control.
    void MouseExist();
    /// The label or the control was clicked.
    void Click();
    /// A button was pressed on the control; a directly connected slot may change the values.
    void MouseDown(short& Button, short& Shift, float& X, float& Y);
    /// The pointer moved over the control (or anywhere while it holds the capture).
    void MouseMove(short& Button, short& Shift, float& X, float& Y);
    /// A button was released on the control.
    void MouseUp(short& Button, short& Shift, float& X, float& Y);
    /// The pointer entered the control.
    void MouseEnter();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QFont HostFont() const;
    void ApplyLook(quint32 color, const QFont& font);
    void ApplyBackColor();
    void ApplyPointer();
    void FitToLabel();
    void PlaceLabel();
    void MarkChanged() { designChanged_ = true; }
    void RaiseMouseEvent(QMouseEvent* event, bool press);

    QLabel* captionLabel_;
    QTimer hoverTimer_;
    Opener opener_;
    QString caption_;
    quint32 normalColor_ = 0;
    quint32 hoverColor_ = kDefaultHoverColor;
    quint32 backColor_ = kDefaultBackColor;
    QFont defFont_;
    QFont hoverFont_;
    bool autoSize_ = true;
    bool mouseP_ = true;
    bool hoverFlag_ = false;
    bool designChanged_ = false;
    bool pressedOnControl_ = false;
    bool pressedOnLabel_ = false;
    bool fitting_ = false;
};

} // namespace pelmora
