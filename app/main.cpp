// The pelmora executable: with arguments the command-line converter, which never
// creates a Qt application so it runs without a display; without arguments the
// window "Quorvel".
#include "app/WindowedStartup.h"
#include "cli/Arguments.h"
#include "cli/CommandLine.h"
#include "engine/libreoffice/LibreOfficeConverter.h"

#include <cstdlib>
#include <iostream>
#include <string>

namespace {

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

// Qt aborts, dumping core, when it finds no display; over ssh or in a container the
// user should learn why and how to convert without the window instead.
bool HasGraphicalSession() {
    return Set("DISPLAY") || Set("WAYLAND_DISPLAY") || Set("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char** argv) {
    // LibreOffice is the converter that stands in for Word, in both front ends.
    pelmora::LibreOfficeConverter converter;
    const pelmora::CommandLineArguments arguments(argc, argv);
    const bool window = argc > 1 && std::string(argv[1]) == pelmora::kWindowOption;
    if (arguments.ArgumentCount() > 0 && !window) {
        return pelmora::RunCommandLine(arguments, converter, std::cout, std::cerr);
    }
    if (!HasGraphicalSession()) {
        std::cerr << "pelmora: the window needs a graphical session (DISPLAY or WAYLAND_DISPLAY); "
                     "give files to convert them without it\n";
        pelmora::ShowUsage(std::cerr);
        return pelmora::kNoDisplay;
    }
    return pelmora::RunWindowed(argc, argv, converter);
}
