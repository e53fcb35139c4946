#include "bench/BenchApplication.h"

#include <QApplication>
#include <string>

namespace pelmora::bench {

QApplication& BenchApplication(const char* programName) {
    static int argc = 1;
    // QApplication keeps argv for its whole life.
    static std::string name = programName;
    static char* argv[] = {name.data(), nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: at exit it would go after Qt's own globals, and the input devices
    // a sent mouse event made would crash it on the way out.
    static QApplication* const instance = new QApplication(argc, argv);
    return *instance;
}

} // namespace pelmora::bench
