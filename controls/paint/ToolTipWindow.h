#pragma once

#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>

class QLabel;

namespace pelmora {

/// The toolbar's tooltip window: a label in the info colours inside a one-pixel 3-D frame,
/// shown on top without taking the focus. It closes itself when the mouse enters it and
/// when its watch timer finds that the active window is no longer its owner.
class ToolTipWindow : public QWidget {
    Q_OBJECT
public:
    /// Creates the hidden window; it deletes itself when closed.
    ToolTipWindow();

    /// The label holding the text, 3 pixels from the left and 2 from the top.
    QLabel* lblTip() const { return m_label; }
    /// The 100 ms watch timer.
    QTimer& tmrTip() { return m_timer; }
    /// The window the tooltip was shown for (the active window at that time).
    QWidget* CtlHWnd() const { return m_owner; }
    /// Sets the window the tooltip is shown for.
    void setCtlHWnd(QWidget* owner) { m_owner = owner; }
    /// The window's surface: cleared and framed on every resize.
    const QImage& surface() const { return m_surface; }

    /// Stops the watch timer and closes (and so deletes) the window.
    void closeTip();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;

private:
    void watch();

    QLabel* m_label;
    QTimer m_timer;
    QPointer<QWidget> m_owner;
    QImage m_surface;
};

} // namespace pelmora
