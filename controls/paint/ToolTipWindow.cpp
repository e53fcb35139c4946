#include "controls/paint/ToolTipWindow.h"

#include "controls/paint/Drawing.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>

namespace pelmora {

ToolTipWindow::ToolTipWindow() : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::NoFocus);

    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("lblTip"));
    m_label->move(3, 2);
    m_label->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_label->setAutoFillBackground(true);
    QPalette pal = m_label->palette();
    pal.setColor(QPalette::Window, QColor(ColorRefToRgb(TranslateOleColor(SysInfoBackground))));
    pal.setColor(QPalette::WindowText, QColor(ColorRefToRgb(TranslateOleColor(SysInfoText))));
    m_label->setPalette(pal);

    m_timer.setInterval(100);
    connect(&m_timer, &QTimer::timeout, this, &ToolTipWindow::watch);
}

void ToolTipWindow::closeTip() {
    m_timer.stop();
    close();
}

void ToolTipWindow::watch() {
    if (QApplication::activeWindow() != m_owner) {
        closeTip();
    }
}

void ToolTipWindow::resizeEvent(QResizeEvent*) {
    m_surface = QImage(size(), QImage::Format_RGB32);
    const ColorRef back = TranslateOleColor(SysInfoBackground);
    m_surface.fill(ColorRefToRgb(back));
    const int w = width();
    const int h = height();
    DrawLine(m_surface, 0, h - 1, 0, 0, Sys3DLight);
    DrawLine(m_surface, 0, 0, w - 1, 0, Sys3DLight);
    DrawLine(m_surface, w - 1, 0, w - 1, h - 1, Sys3DDarkShadow);
    DrawLine(m_surface, w - 1, h - 1, 0, h - 1, Sys3DDarkShadow);
    update();
}

void ToolTipWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, m_surface);
}

void ToolTipWindow::enterEvent(QEnterEvent*) {
    closeTip();
}

} // namespace pelmora
