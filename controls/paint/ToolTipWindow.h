#pragma once

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QString>
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

    /// The label holding the text (object name "lblTip"), 3 pixels from the left and 2 from
    /// the top.
    QLabel* label() const { return label_; }
    /// The 100 ms watch timer.
    QTimer& watchTimer() { return watchTimer_; }
    /// The window the tooltip was shown for (the active window at that time).
    QWidget* owner() const { return owner_; }
    /// Sets the window the tooltip is shown for.
    void setOwner(QWidget* owner) { owner_ = owner; }
    /// The window's surface: cleared and framed on every resize.
    const QImage& surface() const { return surface_; }

    /// Stops the watch timer and closes (and so deletes) the window.
    void closeTip();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;

private:
    void watch();

    QLabel* label_;
    QTimer watchTimer_;
    QPointer<QWidget> owner_;
    QImage surface_;
};

/// Shows the tooltip window with text just below the screen cursor, kept on the primary
/// screen, for the owner window; font, when given, becomes the window's font. Any tooltip
/// shown is hidden first. Always returns true.
bool ShowToolTip(const QString& text, QWidget* owner, const QFont* font = nullptr);
/// ShowToolTip with a given cursor position (global pixels).
bool ShowToolTipAt(QPoint cursor, const QString& text, QWidget* owner, const QFont* font = nullptr);
/// Closes the tooltip window if one is shown.
void HideToolTip();
/// The tooltip window while one exists, else nullptr.
ToolTipWindow* CurrentToolTip();

} // namespace pelmora
