// Shows the main window with a few tasks, one of its popup menus and the About box in
// turn, on whatever display it is given (scripts/screenshots.sh starts it under Xvfb),
// and saves a PNG picture of the screen for each.
#include "app/AboutDialog.h"
#include "app/ConversionRun.h"
#include "app/MainWindow.h"
#include "app/QtDesktopSeam.h"
#include "app/TaskList.h"
#include "app/TaskRow.h"
#include "controls/menu/MenuBar.h"
#include "engine/libreoffice/LibreOfficeConverter.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTreeWidgetItem>
#include <cstdio>

namespace {

// Lets the window system deliver everything for a while: paints, popups, timers.
void Pause(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

bool Save(const QString& folder, const QString& name, const QRect& area) {
    const QString path = QDir(folder).filePath(name);
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(),
                                                                      area.width(), area.height());
    const bool saved = !shot.isNull() && shot.save(path, "PNG");
    QTextStream(stdout) << (saved ? "saved " : "could not save ") << path << '\n';
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER DOCUMENT...\n", argv[0]);
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(output);
    // Copies, so the pages the run writes land in a folder of their own.
    QTemporaryDir work;
    QStringList documents;
    for (int i = 2; i < argc; ++i) {
        const QString source = QString::fromLocal8Bit(argv[i]);
        const QString copy = QDir(work.path()).filePath(QFileInfo(source).fileName());
        if (QFile::copy(source, copy))
            documents.push_back(copy);
    }

    // As the program does at start: the window converts with LibreOffice.
    pelmora::LibreOfficeConverter converter;
    pelmora::QtDesktopSeam seam;
    pelmora::MainWindow window(seam, converter);
    window.move(0, 0);
    window.show();
    for (const QString& document : documents)
        window.AddFile(document);
    // Convert the first two, so the list and the log show finished tasks too; no day's
    // log file is left beside the program.
    window.SetMenuItemChecked(QStringLiteral("mnuLogfile"), false);
    window.SetAllChecks(false);
    for (int row = 1; row <= std::min<int>(2, window.taskList()->RowCount()); ++row)
        window.taskList()->Row(row)->SetChecked(true);
    window.ChangeFilesState();
    window.RunConversion();
    // The run works on a thread of its own; the window shows its end.
    QElapsedTimer running;
    running.start();
    while (window.run() != nullptr && running.elapsed() < 180000) {
        Pause(100);
    }
    window.SetMenuItemChecked(QStringLiteral("mnuLogfile"), true);
    if (window.taskList()->RowCount() > 2)
        window.taskList()->Row(3)->SetChecked(true);
    window.ChangeFilesState();
    Pause(500);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    bool ok = Save(output, QStringLiteral("main-window.png"), window.frameGeometry());

    pelmora::MenuBar* menu = window.menuBar();
    menu->ShowMenu(menu->KeyToIndex(QStringLiteral("mnuOptions")));
    Pause(500);
    ok = Save(output, QStringLiteral("options-menu.png"), window.frameGeometry()) && ok;
    menu->CloseOpenMenu();
    Pause(200);

    pelmora::AboutDialog about(&window);
    about.show();
    about.move(window.frameGeometry().center() - about.rect().center());
    Pause(500);
    ok = Save(output, QStringLiteral("about-box.png"), about.frameGeometry().intersected(screen)) &&
         ok;
    about.close();
    return ok ? 0 : 1;
}
