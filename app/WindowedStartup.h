#pragma once
// The program started without arguments: prove that the converter can start, then
// show the main window until it closes.

namespace pelmora {

class DesktopSeam;

/// Opens and closes one converter session. When the converter cannot start, tells
/// the user what to install and returns false.
bool ConverterStartsUp(DesktopSeam& seam);

/// Creates the application, runs the start-up test and shows the main window; the
/// result is the process exit status (0, or 2 when the converter cannot start).
int RunWindowed(int argc, char** argv);

} // namespace pelmora
