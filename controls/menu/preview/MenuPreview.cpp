// Shows the main window's menu bar on its own, so that it can be looked at before the main
// window exists.
//   menu_preview [--style N] [--highlight N] [--open KEY] [--hover KEY] [--out FILE.png]
// With --out the program opens the menu KEY (default mnuFile), moves the mouse onto the item
// --hover if given, saves a picture of the bar with its popup and quits.
#include "menu/wMenu.h"
#include "menu/xMenu.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <cstdio>

using pelmora::wMenu;
using pelmora::xMenu;

namespace {

void hover(wMenu* popup, int index) {
    const pelmora::MenuItem& item = popup->MenuTree->Item(index);
    const QPointF pos((item.Left() + item.Right()) / 2.0, (item.Top() + item.Bottom()) / 2.0);
    QMouseEvent move(QEvent::MouseMove, pos, popup->mapToGlobal(pos), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(popup, &move);
}

QImage snapshot(QWidget* window, xMenu* bar) {
    QRect area = window->frameGeometry();
    for (wMenu* p = bar->Popup(); p; p = p->ChildPopup())
        area |= p->geometry();
    QImage image(area.size(), QImage::Format_RGB32);
    image.fill(Qt::darkGray);
    QPainter painter(&image);
    painter.drawPixmap(window->geometry().topLeft() - area.topLeft(), window->grab());
    for (wMenu* p = bar->Popup(); p; p = p->ChildPopup()) {
        const QPoint at = p->geometry().topLeft() - area.topLeft();
        if (!p->mask().isEmpty())
            painter.setClipRegion(p->mask().translated(at));
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
    parser.addOption({"style", "Paint style 0-3.", "N"});
    parser.addOption({"highlight", "Highlight style 0-5.", "N"});
    parser.addOption({"open", "Menu to open.", "KEY", "mnuFile"});
    parser.addOption({"hover", "Popup item to highlight.", "KEY"});
    parser.addOption({"out", "Save a picture and quit.", "FILE"});
    parser.process(app);

    QWidget window;
    window.setWindowTitle("Quorvel menu");
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new xMenu(&window);
    if (!bar->LoadDesign(":/menu/main_menu.json")) {
        std::fprintf(stderr, "menu design not found\n");
        return 1;
    }
    if (parser.isSet("style"))
        bar->SetStyle(parser.value("style").toInt());
    if (parser.isSet("highlight"))
        bar->SetHighLightStyle(parser.value("highlight").toInt());
    bar->Refresh();
    bar->setFixedHeight(bar->sizeHint().height());
    layout->addWidget(bar);
    layout->addStretch();
    QObject::connect(bar, &xMenu::ItemClick,
                     [](const QString& name) { std::printf("ItemClick %s\n", qPrintable(name)); });
    window.setGeometry(40, 40, 420, 260);
    window.show();

    if (!parser.isSet("out"))
        return app.exec();

    QCoreApplication::processEvents();
    bar->ShowMenu(bar->KeyToIndex(parser.value("open")));
    QCoreApplication::processEvents();
    if (parser.isSet("hover") && bar->Popup())
        hover(bar->Popup(), bar->KeyToIndex(parser.value("hover")));
    const QImage image = snapshot(&window, bar);
    if (!image.save(parser.value("out"))) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(parser.value("out")));
        return 1;
    }
    return 0;
}
