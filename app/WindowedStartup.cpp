#include "app/WindowedStartup.h"

#include "app/DesktopDialogs.h"
#include "app/MainWindow.h"
#include "app/QtDesktopSeam.h"
#include "app/RunView.h"
#include "app/TaskList.h"
#include "engine/BatchRunner.h"
#include "engine/Converter.h"

#include "cli/Arguments.h"
#include "cli/CommandLine.h"

#include <QApplication>
#include <QFileInfo>
#include <csignal>
#include <cstdlib>
#include <iostream>

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

namespace {

// Qt ends the process with abort() when it cannot open the display it is given
// (DISPLAY=:99 with no server there). While the application is made, its messages
// stay quiet and that failure ends the run as a missing display does.
void QuietUntilTheDisplayOpens(QtMsgType type, const QMessageLogContext&, const QString&) {
    if (type != QtFatalMsg) {
        return;
    }
    const char* display = std::getenv("WAYLAND_DISPLAY");
    if (display == nullptr || display[0] == '\0') {
        display = std::getenv("DISPLAY");
    }
    std::cerr << "pelmora: the window cannot open the display "
              << (display != nullptr ? display : "") << "; give files to convert them without it\n";
    ShowUsage(std::cerr);
    std::cerr.flush();
    std::_Exit(kNoDisplay);
}

} // namespace

QString ConfineConverter(ConverterFactory& converter) {
    const std::string problem =
        converter.Confine(SandboxMode::kAuto, 2 * PoolSettings{}.officeMemoryLimit);
    return problem.empty() ? QString()
                           : QStringLiteral("Warning: converting without the sandbox: ") +
                                 QString::fromStdString(problem);
}

int RunWindowed(int argc, char** argv, ConverterFactory& converter) {
    // An office process that dies mid-call must fail that call, not end the window.
    std::signal(SIGPIPE, SIG_IGN);
    const QtMessageHandler previous = qInstallMessageHandler(QuietUntilTheDisplayOpens);
    QApplication application(argc, argv);
    qInstallMessageHandler(previous);
    QApplication::setApplicationName(kApplicationTitle);
    QtDesktopSeam seam;
    const QString unsandboxed = ConfineConverter(converter);
    if (!ConverterStartsUp(seam, converter)) {
        return 2;
    }
    // The program ends when the main window has closed and a run in progress has
    // finished its current document, not merely when the last window is hidden.
    QApplication::setQuitOnLastWindowClosed(false);
    MainWindow window(seam, converter);
    QObject::connect(&window, &MainWindow::Unloaded, &application, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    if (!unsandboxed.isEmpty()) {
        window.runView()->AppendLogLine(unsandboxed);
    }
    window.show();
    if (argc > 1 && QString::fromLocal8Bit(argv[1]) == QLatin1String(kWindowOption)) {
        QStringList documents;
        for (int i = 2; i < argc; ++i) {
            const QString path = QFileInfo(QString::fromLocal8Bit(argv[i])).absoluteFilePath();
            if (TaskList::IsDocumentName(path)) {
                documents.push_back(path);
            }
        }
        window.AddFiles(documents);
        window.ChangeFilesState();
    }
    return QApplication::exec();
}

} // namespace pelmora
