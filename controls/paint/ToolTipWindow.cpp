#include "controls/paint/ToolTipWindow.h"

#include "controls/paint/Drawing.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>

namespace pelmora {

namespace {

QPointer<ToolTipWindow>& sharedTip() {
    static QPointer<ToolTipWindow> tip;
    return tip;
}

} // namespace

ToolTipWindow::ToolTipWindow() : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::NoFocus);

    label_ = new QLabel(this);
    label_->setObjectName(QStringLiteral("lblTip"));
    label_->move(3, 2);
    label_->setAttribute(Qt::WA_TransparentForMouseEvents);
    label_->setAutoFillBackground(true);
    QPalette pal = label_->palette();
    pal.setColor(QPalette::Window, QColor(ColorRefToRgb(TranslateOleColor(SysInfoBackground))));
    pal.setColor(QPalette::WindowText, QColor(ColorRefToRgb(TranslateOleColor(SysInfoText))));
    label_->setPalette(pal);

    watchTimer_.setInterval(100);
    connect(&watchTimer_, &QTimer::timeout, this, &ToolTipWindow::watch);
}

void ToolTipWindow::closeTip() {
    watchTimer_.stop();
    close();
}

void ToolTipWindow::watch() {
    if (QApplication::activeWindow() != owner_) {
        closeTip();
    }
}

void ToolTipWindow::resizeEvent(QResizeEvent*) {
    surface_ = QImage(size(), QImage::Format_RGB32);
    const ColorRef back = TranslateOleColor(SysInfoBackground);
    surface_.fill(ColorRefToRgb(back));
    const int w = width();
    const int h = height();
    DrawLine(surface_, 0, h - 1, 0, 0, Sys3DLight);
    DrawLine(surface_, 0, 0, w - 1, 0, Sys3DLight);
    DrawLine(surface_, w - 1, 0, w - 1, h - 1, Sys3DDarkShadow);
    DrawLine(surface_, w - 1, h - 1, 0, h - 1, Sys3DDarkShadow);
    update();
}

void ToolTipWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, surface_);
}

void ToolTipWindow::enterEvent(QEnterEvent*) {
    closeTip();
}

bool ShowToolTip(const QString& text, QWidget* owner, const QFont* font) {
    return ShowToolTipAt(QCursor::pos(), text, owner, font);
}

bool ShowToolTipAt(QPoint cursor, const QString& text, QWidget* owner, const QFont* font) {
    try {
        HideToolTip();
        QPointer<ToolTipWindow>& tip = sharedTip();
        if (!tip) {
            tip = new ToolTipWindow();
        }
        if (font) {
            tip->setFont(*font);
            tip->label()->setFont(*font);
        }
        const QFontMetrics metrics(tip->font());
        QLabel* label = tip->label();
        label->resize(metrics.horizontalAdvance(text), metrics.height());
        label->setText(text);
        label->update();
        tip->setOwner(owner);

        int left = cursor.x() - 2;
        int top = cursor.y() + 18;
        const int width = label->width() + 8;
        const int height = label->height() + 5;
        tip->setGeometry(left, top, width, height);
        tip->watchTimer().stop();
        tip->watchTimer().start();

        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->geometry();
            if (left + width > area.x() + area.width()) {
                left = area.x() + area.width() - width;
            }
            if (top + height > area.y() + area.height()) {
                top = area.y() + area.height() - height;
            }
        }
        tip->move(left, top);
        // A tooltip window stays on top and never takes the focus.
        tip->show();
    } catch (...) {
        // The tooltip is a hint; nothing about it may break the caller.
    }
    return true;
}

void HideToolTip() {
    QPointer<ToolTipWindow>& tip = sharedTip();
    if (tip) {
        // Deleted at once, as unloading a window does, so a new tooltip starts afresh.
        ToolTipWindow* window = tip;
        tip = nullptr;
        window->watchTimer().stop();
        window->hide();
        delete window;
    }
}

ToolTipWindow* CurrentToolTip() {
    return sharedTip();
}

} // namespace pelmora
