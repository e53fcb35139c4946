#include "app/WindowHelpers.h"

#include "app/DesktopSeam.h"
#include "controls/design/Twips.h"
#include "engine/PathHelpers.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <cmath>

namespace pelmora {

QHBoxLayout* MakeOkCancelRow(QWidget* dialog, QPushButton*& ok, QPushButton*& cancel) {
    ok = new QPushButton(QStringLiteral("&OK"), dialog);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    cancel = new QPushButton(QStringLiteral("&Cancel"), dialog);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    return buttons;
}

int TwipsToPixels(int twips, const QWidget* widget) {
    return TwipsToPixelsY(twips, widget);
}

QString BrowseForFolder(DesktopSeam& seam, QWidget* owner, const QString& title, int extraFlags) {
    const QString chosen = seam.ChooseFolder(owner, title, (extraFlags & 64) != 0);
    return QString::fromStdString(TrimAtNul(chosen.toStdString()));
}

QString FilterForQt(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            // Documents copied from Windows often carry upper-case extensions, and
            // Linux file dialogs match patterns case-sensitively.
            for (const QString& variant : {pattern.trimmed(), pattern.trimmed().toUpper()}) {
                if (!variant.isEmpty() && !patterns.contains(variant)) {
                    patterns.push_back(variant);
                }
            }
        }
        if (patterns.contains(QStringLiteral("*.*"))) {
            patterns = {QStringLiteral("*")};
        }
        entries.push_back(parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                          QLatin1Char(')'));
    }
    return entries.join(QStringLiteral(";;"));
}

bool ShowOpenFilesDialog(DesktopSeam& seam, QString& files, bool fileMustExist, bool multiSelect,
                         const QString& filter, const QString& initialFolder, const QString& title,
                         const QString&, QWidget* owner) {
    const QStringList chosen = seam.ChooseOpenFiles(
        owner, title, initialFolder, FilterForQt(filter), multiSelect, fileMustExist);
    files.clear();
    if (chosen.isEmpty()) {
        return false;
    }
    if (chosen.size() == 1) {
        files = chosen.front().trimmed();
        return true;
    }
    // Several files: their common folder, then each name relative to it, the way
    // the multiple-selection buffer is laid out.
    QString folder = QFileInfo(chosen.front()).path();
    for (const QString& path : chosen) {
        while (!(path.startsWith(folder + QLatin1Char(kPathSeparator)) ||
                 (folder.endsWith(QLatin1Char(kPathSeparator)) && path.startsWith(folder)))) {
            const qsizetype cut = folder.lastIndexOf(QLatin1Char(kPathSeparator));
            if (cut <= 0) {
                folder = QString(QLatin1Char(kPathSeparator));
                break;
            }
            folder.truncate(cut);
        }
    }
    files = folder + QChar(0);
    const qsizetype skip =
        folder.endsWith(QLatin1Char(kPathSeparator)) ? folder.size() : folder.size() + 1;
    for (const QString& path : chosen) {
        files += path.mid(skip) + QChar(0);
    }
    files += QChar(0);
    return true;
}

void OpenWithShell(DesktopSeam& seam, const QString& target) {
    seam.OpenWithDesktop(target);
}

void SetListCheckStyle(QTreeWidget* list) {
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setAllColumnsShowFocus(true);
}

void SetItemChecked(QTreeWidget* list, int row, bool checked) {
    QTreeWidgetItem* item = list->topLevelItem(row - 1);
    if (item != nullptr) {
        item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    }
}

bool IsItemChecked(const QTreeWidget* list, int row) {
    const QTreeWidgetItem* item = list->topLevelItem(row - 1);
    return item != nullptr && item->checkState(0) != Qt::Unchecked;
}

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
