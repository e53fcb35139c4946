#include "app/WindowedStartup.h"

#include "app/DesktopDialogs.h"
#include "app/MainWindow.h"
#include "app/QtDesktopSeam.h"
#include "engine/Converter.h"

#include <QApplication>
#include <csignal>

namespace pelmora {

bool ConverterStartsUp(DesktopSeam& seam, ConverterFactory& converter) {
    std::unique_ptr<ConverterSession> session = StartSession(converter);
    const bool started = session != nullptr;
    EndSession(session);
    if (!started) {
        seam.ShowMessage(nullptr,
                         QStringLiteral("Can not load LibreOffice Writer, you must install "
                                        "LibreOffice Writer 7.4 or higher, please try again!"),
                         kApplicationTitle, QMessageBox::Information, QMessageBox::Ok,
                         QMessageBox::Ok);
    }
    return started;
}

int RunWindowed(int argc, char** argv, ConverterFactory& converter) {
    // An office process that dies mid-call must fail that call, not end the window.
    std::signal(SIGPIPE, SIG_IGN);
    QApplication application(argc, argv);
    QApplication::setApplicationName(kApplicationTitle);
    QtDesktopSeam seam;
    if (!ConverterStartsUp(seam, converter)) {
        return 2;
    }
    // The program ends when the main window has closed and a run in progress has
    // finished its current document, not merely when the last window is hidden.
    QApplication::setQuitOnLastWindowClosed(false);
    MainWindow window(seam, converter);
    QObject::connect(&window, &MainWindow::Unloaded, &application, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    window.show();
    return QApplication::exec();
}

} // namespace pelmora
