// The pelmora executable: with arguments the command-line converter, which never
// creates a Qt application so it runs without a display; without arguments the
// window "Quorvel".
#include "cli/Arguments.h"
#include "cli/CommandLine.h"
#include "app/WindowedStartup.h"
#include "engine/libreoffice/LibreOfficeApplication.h"

#include <iostream>

int main(int argc, char** argv) {
    // LibreOffice is the converter that stands in for Word, in both front ends.
    pelmora::RegisterLibreOffice();
    const pelmora::CommandLineArguments arguments(argc, argv);
    if (arguments.ArgumentCount() > 0) {
        return pelmora::RunCommandLine(arguments, std::cout, std::cerr);
    }
    return pelmora::RunWindowed(argc, argv);
}
