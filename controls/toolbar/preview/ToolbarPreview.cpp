// Shows the main window's toolbar on its own, so that it can be looked at before the main
// window exists.
//   toolbar_preview [--design FILE.json] [--size WxH] [--hover KEY] [--out FILE.png]
// With --out the program moves the mouse onto the button KEY if given, saves a picture of
// the toolbar and quits; otherwise it opens a window and prints every ButtonClick.
#include "controls/toolbar/ToolBar.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCursor>
#include <QFile>
#include <QMouseEvent>
#include <cstdio>

using pelmora::ToolBar;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption(
        {"design", "Stored toolbar design to show.", "FILE", ":/toolbar/main_toolbar.json"});
    parser.addOption({"size", "Width and height in pixels.", "WxH", "640x58"});
    parser.addOption({"hover", "Button to draw hot.", "KEY"});
    parser.addOption({"out", "Save a picture and quit.", "FILE"});
    parser.process(app);

    QFile file(parser.value("design"));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(parser.value("design")));
        return 1;
    }
    const QStringList size = parser.value("size").split('x');
    ToolBar toolbar;
    toolbar.resize(size.value(0).toInt(), size.value(1).toInt());
    if (!toolbar.LoadDesign(file.readAll())) {
        std::fprintf(stderr, "the design is no JSON object; defaults shown\n");
    }
    QObject::connect(&toolbar, &ToolBar::ButtonClick, [](int16_t index, const QString& key) {
        std::printf("ButtonClick %d %s\n", index, qPrintable(key));
        std::fflush(stdout);
    });
    toolbar.setWindowTitle(toolbar.Title());
    toolbar.show();
    if (!parser.isSet("out")) {
        return app.exec();
    }

    QCoreApplication::processEvents();
    if (parser.isSet("hover")) {
        const int index = toolbar.KeyToIndex(parser.value("hover"));
        const QPoint at(toolbar.ButtonClientLeft(index) + toolbar.ButtonClientWidth(index) / 2,
                        toolbar.ButtonClientTop(index) + toolbar.ButtonClientHeight(index) / 2);
        QCursor::setPos(toolbar.mapToGlobal(at));
        QMouseEvent move(QEvent::MouseMove, at, toolbar.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&toolbar, &move);
    }
    return toolbar.grab().save(parser.value("out")) ? 0 : 1;
}
