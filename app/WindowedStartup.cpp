#include "app/WindowedStartup.h"

#include "app/DesktopDialogs.h"
#include "app/MainWindow.h"
#include "app/QtDesktopSeam.h"
#include "engine/WordSession.h"

#include <QApplication>
#include <csignal>

namespace pelmora {

bool ConverterStartsUp(DesktopSeam& seam) {
    WordSession session;
    const bool started = OpenWordSession(session);
    CloseWordSession(session);
    if (!started) {
        seam.ShowMessage(nullptr,
                         QStringLiteral("Can not load LibreOffice Writer, you must install "
                                        "LibreOffice Writer 7.4 or higher, please try again!"),
                         kApplicationTitle, QMessageBox::Information, QMessageBox::Ok,
                         QMessageBox::Ok);
    }
    return started;
}

int RunWindowed(int argc, char** argv) {
    // An office process that dies mid-call must fail that call, not end the window.
    std::signal(SIGPIPE, SIG_IGN);
    QApplication application(argc, argv);
    QApplication::setApplicationName(kApplicationTitle);
    QtDesktopSeam seam;
    if (!ConverterStartsUp(seam)) {
        return 2;
    }
    // The program ends when the main window has closed and a run in progress has
    // finished its current document, not merely when the last window is hidden.
    QApplication::setQuitOnLastWindowClosed(false);
    MainWindow window(seam);
    QObject::connect(&window, &MainWindow::Unloaded, &application, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    window.show();
    return QApplication::exec();
}

} // namespace pelmora
