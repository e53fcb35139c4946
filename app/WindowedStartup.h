#pragma once
// The program started without arguments (or with --window and files, as the desktop
// opens documents with it): prove that the converter can start, then show the main
// window until it closes.

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
/// The option that opens the window with the files after it as tasks.
inline constexpr char kWindowOption[] = "--window";

/// Creates the application, runs the start-up test and shows the main window, which
/// converts with converter; with kWindowOption as the first argument, the documents
/// (.doc, .rtf, .xml) among the arguments after it become tasks. The result is the
/// process exit status (0, or 2 when the converter cannot start).
int RunWindowed(int argc, char** argv, ConverterFactory& converter);

} // namespace pelmora
