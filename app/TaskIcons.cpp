#include "app/TaskIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace pelmora {

namespace {

// A 16 x 16 sheet of paper with a folded corner, the base of both task pictures.
QImage PaperSheet(const QColor& edge) {
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPainterPath sheet;
    sheet.moveTo(2.5, 0.5);
    sheet.lineTo(10.5, 0.5);
    sheet.lineTo(13.5, 3.5);
    sheet.lineTo(13.5, 15.5);
    sheet.lineTo(2.5, 15.5);
    sheet.closeSubpath();
    painter.setPen(edge);
    painter.setBrush(Qt::white);
    painter.drawPath(sheet);
    painter.drawLine(QPointF(10.5, 0.5), QPointF(10.5, 3.5));
    painter.drawLine(QPointF(10.5, 3.5), QPointF(13.5, 3.5));
    return image;
}

} // namespace

QIcon ConvertedPageIcon() {
    QImage image = PaperSheet(QColor(0x40, 0x40, 0x40));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    // A small globe: the page now lives on the web.
    painter.setPen(QPen(QColor(0x00, 0x70, 0x20), 1.0));
    painter.setBrush(QColor(0x60, 0xB0, 0xF0));
    painter.drawEllipse(QRectF(4.5, 6.5, 7, 7));
    painter.drawLine(QPointF(4.5, 10), QPointF(11.5, 10));
    painter.drawLine(QPointF(8, 6.5), QPointF(8, 13.5));
    return QIcon(QPixmap::fromImage(image));
}

QIcon WordDocumentIcon() {
    QImage image = PaperSheet(QColor(0x20, 0x30, 0x80));
    QPainter painter(&image);
    painter.fillRect(QRect(0, 6, 9, 8), QColor(0x2B, 0x57, 0x9A));
    QFont font = painter.font();
    font.setPixelSize(8);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 6, 9, 8), Qt::AlignCenter, QStringLiteral("W"));
    painter.setPen(QColor(0x80, 0x80, 0x80));
    for (int y = 4; y <= 13; y += 3) {
        painter.drawLine(10, y, 12, y);
    }
    return QIcon(QPixmap::fromImage(image));
}

} // namespace pelmora
