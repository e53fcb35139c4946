// Shows the main window's menu bar on its own, so that it can be looked at before the main
// window exists.
//   menu_preview [--design FILE.json] [--paint-style N] [--highlight N] [--open KEY] [--hover KEY]
//   [--out FILE.png]
// With --out the program opens the menu KEY (default mnuFile), moves the mouse onto the item
// --hover if given, saves a picture of the bar with its popup and quits.
#include "controls/menu/MenuBar.h"
#include "controls/menu/MenuGeometry.h"
#include "controls/menu/PopupMenu.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <cstdio>

using pelmora::MenuBar;
using pelmora::PopupMenu;

namespace {

// Sends the mouse to the middle of an item's cell, as a move or as a left-button press.
void mouse(QWidget* target, const QRect& cell, QEvent::Type type) {
    const QPointF pos((cell.left() + cell.right()) / 2.0, (cell.top() + cell.bottom()) / 2.0);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, pos, target->mapToGlobal(pos), button, button, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

QImage snapshot(QWidget* window, MenuBar* bar) {
    QRect area = window->frameGeometry();
    for (PopupMenu* p = bar->Popup(); p; p = p->ChildPopup()) {
        area |= p->geometry();
    }
    QImage image(area.size(), QImage::Format_RGB32);
    image.fill(Qt::darkGray);
    QPainter painter(&image);
    painter.drawPixmap(window->geometry().topLeft() - area.topLeft(), window->grab());
    for (PopupMenu* p = bar->Popup(); p; p = p->ChildPopup()) {
        const QPoint at = p->geometry().topLeft() - area.topLeft();
        if (!p->mask().isEmpty()) {
            painter.setClipRegion(p->mask().translated(at));
        }
        painter.drawImage(at, p->Surface());
        painter.setClipping(false);
    }
    return image;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({"design", "Stored menu design to show.", "FILE", ":/menu/main_menu.json"});
    parser.addOption({"paint-style", "Paint style 0-3.", "N"});
    parser.addOption({"highlight", "Highlight style 0-5.", "N"});
    parser.addOption({"open", "Menu to open.", "KEY", "mnuFile"});
    parser.addOption({"hover", "Popup item to highlight.", "KEY"});
    parser.addOption({"out", "Save a picture and quit.", "FILE"});
    parser.process(app);

    QWidget window;
    window.setWindowTitle("Quorvel menu");
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new MenuBar(&window);
    if (!bar->LoadDesign(parser.value("design"))) {
        std::fprintf(stderr, "menu design not found\n");
        return 1;
    }
    if (parser.isSet("paint-style")) {
        bar->SetStyle(parser.value("paint-style").toInt());
    }
    if (parser.isSet("highlight")) {
        bar->SetHighLightStyle(parser.value("highlight").toInt());
    }
    bar->Refresh();
    bar->setFixedHeight(bar->sizeHint().height());
    layout->addWidget(bar);
    layout->addStretch();
    QObject::connect(bar, &MenuBar::ItemClick,
                     [](const QString& name) { std::printf("ItemClick %s\n", qPrintable(name)); });
    window.setGeometry(40, 40, 420, 260);
    window.show();

    if (!parser.isSet("out")) {
        return app.exec();
    }

    QCoreApplication::processEvents();
    const auto& tree = bar->MenuTree();
    mouse(bar, bar->Geometry().Cell(bar->KeyToIndex(parser.value("open"))),
          QEvent::MouseButtonPress);
    QCoreApplication::processEvents();
    if (parser.isSet("hover") && bar->Popup()) {
        const int index = bar->KeyToIndex(parser.value("hover"));
        const QRect cell = bar->Popup()->Geometry().Cell(index);
        mouse(bar->Popup(), cell, QEvent::MouseMove);
        if (tree.Item(index).IsRoot()) {
            mouse(bar->Popup(), cell, QEvent::MouseButtonPress);
        }
    }
    const QImage image = snapshot(&window, bar);
    if (!image.save(parser.value("out"))) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(parser.value("out")));
        return 1;
    }
    return 0;
}
