#pragma once
// The program started without arguments: prove that the converter can start, then
// show the main window until it closes.

#include <QString>

namespace pelmora {

class ConverterFactory;
class DesktopSeam;

/// Opens and closes one session of converter. When the converter cannot start, tells
/// the user what to install and returns false.
bool ConverterStartsUp(DesktopSeam& seam, ConverterFactory& converter);

/// Puts converter's offices in their sandbox where it works, under twice the default
/// office memory while they convert. The warning for the log pane when they run
/// without the sandbox; empty when they run in it.
QString ConfineConverter(ConverterFactory& converter);

/// Creates the application, runs the start-up test and shows the main window, which
/// converts with converter; the result is the process exit status (0, or 2 when the
/// converter cannot start).
int RunWindowed(int argc, char** argv, ConverterFactory& converter);

} // namespace pelmora
