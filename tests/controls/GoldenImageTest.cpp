// Every control painted in its looks and states, compared pixel by pixel with pictures kept
// in tests/data/golden. Each sheet stacks the surfaces of one control, one state a row.
// PELMORA_WRITE_GOLDENS=1 writes the sheets anew instead of comparing (then look at them);
// a mismatch leaves the painted sheet beside the build for a look.
#include "controls/hotlink/HotLink.h"
#include "controls/menu/MenuBar.h"
#include "controls/menu/MenuGeometry.h"
#include "controls/menu/MenuItemList.h"
#include "controls/menu/PopupMenu.h"
#include "controls/toolbar/ToolBar.h"

#include <QApplication>
#include <QJsonDocument>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace pelmora {
namespace {

/// Surfaces stacked top to bottom on a grey sheet, 4 pixels apart.
class Sheet {
public:
    void Add(const QImage& image) { rows_.push_back(image.convertToFormat(QImage::Format_RGB32)); }
    QImage Image() const {
        int width = 0, height = 0;
        for (const QImage& row : rows_) {
            width = std::max(width, row.width());
            height += row.height() + 4;
        }
        QImage sheet(width, height, QImage::Format_RGB32);
        sheet.fill(qRgb(128, 128, 128));
        QPainter painter(&sheet);
        int y = 0;
        for (const QImage& row : rows_) {
            painter.drawImage(0, y, row);
            y += row.height() + 4;
        }
        return sheet;
    }

private:
    std::vector<QImage> rows_;
};

void ExpectGolden(const QString& name, const QImage& painted) {
    const QString golden = QStringLiteral(PELMORA_SOURCE_DIR "/tests/data/golden/") + name;
    if (!qEnvironmentVariableIsEmpty("PELMORA_WRITE_GOLDENS")) {
        ASSERT_TRUE(painted.save(golden));
        return;
    }
    const QImage expected = QImage(golden).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(expected.isNull()) << "missing " << golden.toStdString();
    int differing = 0;
    if (expected.size() == painted.size()) {
        for (int y = 0; y < painted.height(); ++y) {
            for (int x = 0; x < painted.width(); ++x) {
                differing += expected.pixel(x, y) != painted.pixel(x, y);
            }
        }
    }
    if (expected.size() != painted.size() || differing != 0) {
        painted.save(QStringLiteral(PELMORA_BINARY_DIR "/") + name);
    }
    EXPECT_EQ(expected.size(), painted.size()) << name.toStdString();
    EXPECT_EQ(differing, 0) << name.toStdString() << ": pixels differ";
}

QFont TestFont() {
    return QFont(QStringLiteral("DejaVu Sans"), 8);
}

// Picture and caption, checked, disabled, a separator, a check button and a placeholder.
const QByteArray kToolbarButtons = R"(
    "ButtonCount": 6,
    "ButtonCaption1": "Add", "ButtonPicture1": ":/toolbar/add.bmp",
    "ButtonCaption2": "Help", "ButtonPicture2": ":/toolbar/help.bmp", "ButtonChecked2": true,
    "ButtonCaption3": "Stop", "ButtonPicture3": ":/toolbar/stop.bmp", "ButtonEnabled3": false,
    "ButtonStyle4": 2,
    "ButtonCaption5": "Mail", "ButtonStyle5": 0, "ButtonPicture5": ":/toolbar/email.bmp",
    "ButtonStyle6": 3, "ButtonWidth6": 10
)";

QImage PaintedToolbar(const QByteArray& controlValues, QSize size, int pressed = 0) {
    QWidget host;
    host.setFont(TestFont());
    ToolBar tb(&host);
    tb.resize(size);
    tb.LoadDesign("{" + controlValues + (controlValues.isEmpty() ? "" : ",") + kToolbarButtons +
                  "}");
    if (pressed != 0) {
        tb.RefreshButton(pressed, true, false);
    }
    return tb.Surface().copy();
}

TEST(GoldenImages, ToolbarLooks) {
    Sheet sheet;
    const QSize bar(330, 44);
    for (int appearance = 0; appearance <= 1; ++appearance) {
        for (int border = 0; border <= 5; ++border) {
            const QByteArray values = "\"BorderStyle\": " + QByteArray::number(border) +
                                      ", \"Appearance\": " + QByteArray::number(appearance);
            sheet.Add(PaintedToolbar(values, bar, border == 2 ? 1 : 0));
        }
        for (int alignment = 0; alignment <= 2; ++alignment) {
            sheet.Add(PaintedToolbar("\"Appearance\": " + QByteArray::number(appearance) +
                                         ", \"CaptionAlignment\": " + QByteArray::number(alignment),
                                     QSize(330, 60)));
        }
    }
    sheet.Add(PaintedToolbar(R"("DockStyle": 1, "DoubleTopBorder": true, "DoubleBottomBorder":
                             true, "ButtonGap": 6, "Appearance": 1, "ShowSeparators": true)",
                             bar));
    sheet.Add(PaintedToolbar(R"("DockStyle": 0, "CaptionOptions": 0, "BoldOnChecked": true,
                             "SolidChecked": true, "Appearance": 1, "DisabledText3D": false)",
                             bar));
    sheet.Add(PaintedToolbar(R"("CaptionOptions": 2, "Style": 1, "FixedSize": 50,
                             "BoldOnChecked": true, "TextColor": 255, "BackColor": 14737632)",
                             bar));
    ExpectGolden(QStringLiteral("toolbar.png"), sheet.Image());

    // Vertical bars, both grippers, side by side.
    QImage vertical(2 * 70 + 4, 360, QImage::Format_RGB32);
    vertical.fill(qRgb(128, 128, 128));
    QPainter painter(&vertical);
    painter.drawImage(0, 0, PaintedToolbar("\"DockStyle\": 1", QSize(70, 360)));
    painter.drawImage(74, 0,
                      PaintedToolbar("\"DockStyle\": 2, \"Appearance\": 1", QSize(70, 360), 1));
    painter.end();
    ExpectGolden(QStringLiteral("toolbar_vertical.png"), vertical);
}

// File: Open (picture), Save (checked), Print (checked, with picture), -, Quit (disabled),
// More > (Sub); then Edit and View on the bar.
const QByteArray kMenu = R"({
    "ItemCount": 9,
    "MenuCaption1": "&File", "MenuName1": "mnuFile",
    "MenuIdent2": 1, "MenuCaption2": "&Open", "MenuName2": "mnuOpen",
    "MenuPicture2": ":/toolbar/add.bmp",
    "MenuIdent3": 1, "MenuCaption3": "Save", "MenuChecked3": true,
    "MenuIdent4": 1, "MenuCaption4": "Print", "MenuChecked4": true,
    "MenuPicture4": ":/toolbar/help.bmp",
    "MenuIdent5": 1, "MenuCaption5": "-",
    "MenuIdent6": 1, "MenuCaption6": "Quit", "MenuEnabled6": false,
    "MenuIdent7": 1, "MenuCaption7": "More",
    "MenuIdent8": 2, "MenuCaption8": "Sub",
    "MenuCaption9": "Edit"
})";

void Mouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons) {
    QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)),
                  type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// The bar at rest, with its first item hot, with it open, the popup, and the popup with
// a row highlighted (each row checked once for every highlight style).
void AddMenuStates(Sheet& sheet, int style, int highLight) {
    QWidget window;
    window.setGeometry(100, 100, 300, 200);
    auto* bar = new MenuBar(&window);
    bar->ReadProperties(QJsonDocument::fromJson(kMenu).object());
    bar->SetItemsFont(TestFont());
    bar->SetStyle(style);
    bar->SetHighLightStyle(highLight);
    bar->setGeometry(0, 0, 300, 24);
    bar->Refresh();
    window.show();
    window.activateWindow();
    QCoreApplication::processEvents();
    const QPoint file(12, 10);
    if (highLight == 1) {
        sheet.Add(bar->Surface());
        Mouse(bar, QEvent::MouseMove, file, Qt::NoButton);
        sheet.Add(bar->Surface());
    }
    Mouse(bar, QEvent::MouseButtonPress, file, Qt::LeftButton);
    Mouse(bar, QEvent::MouseButtonRelease, file, Qt::NoButton);
    PopupMenu* popup = bar->Popup();
    ASSERT_NE(popup, nullptr);
    if (highLight == 1) {
        sheet.Add(bar->Surface());
        sheet.Add(popup->Surface());
    }
    for (int row : {2, 4}) {
        const QRect item = popup->Geometry().Cell(row);
        const QPoint centre((item.left() + item.right()) / 2, (item.top() + item.bottom()) / 2);
        Mouse(popup, QEvent::MouseMove, centre, Qt::NoButton);
        sheet.Add(popup->Surface());
    }
    delete bar;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(GoldenImages, MenuBarAndPopupLooks) {
    for (int style = 0; style <= 3; ++style) {
        Sheet sheet;
        for (int highLight = 0; highLight <= 5; ++highLight) {
            AddMenuStates(sheet, style, highLight);
        }
        ExpectGolden(QStringLiteral("menu_style%1.png").arg(style), sheet.Image());
    }
}

TEST(GoldenImages, HotLinkLooks) {
    QWidget host;
    host.setFont(TestFont());
    host.resize(300, 60);
    auto* link = new HotLink(&host);
    QFont hover = TestFont();
    hover.setUnderline(true);
    link->SetHoverFont(hover);
    host.show();
    QCoreApplication::processEvents();
    Sheet sheet;
    sheet.Add(link->grab().toImage());
    link->HandleMouseMove(0, 0, 30, 30);
    sheet.Add(link->grab().toImage());
    link->HandleMouseMove(0, 0, -30, -30);
    link->SetNormalColor(0xFF);
    link->SetBackColor(0xFFFFFF);
    sheet.Add(link->grab().toImage());
    ExpectGolden(QStringLiteral("hotlink.png"), sheet.Image());
}

} // namespace
} // namespace pelmora
