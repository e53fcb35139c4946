// The pelmora executable: with arguments the command-line converter, which never
// creates a Qt application so it runs without a display; without arguments the
// window "Quorvel".
#include "cli/Arguments.h"
#include "cli/CommandLine.h"
#include "app/WindowedStartup.h"

#include <iostream>

int main(int argc, char** argv) {
    const pelmora::CommandLineArguments arguments(argc, argv);
    if (arguments.ArgumentCount() > 0) {
        return pelmora::RunCommandLine(arguments, std::cout, std::cerr);
    }
    return pelmora::RunWindowed(argc, argv);
}
