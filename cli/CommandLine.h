#pragma once
// The command-line batch run: the converter sessions, every source file of the command
// line converted, the run's log lines appended to the log file as they are final.

#include "engine/Conversion.h"
#include "engine/Converter.h"

#include <iosfwd>
#include <string>

namespace pelmora {

class CommandLineArguments;

/// The extension of the pages the command line writes.
inline constexpr const char* kCommandLinePageExtension = ".htm";

/// Exit statuses of a command-line run.
enum CommandLineStatus : int {
    kRunSucceeded = 0,         ///< every file converted or skipped (100, 101); usage shown
    kRunHadFailures = 1,       ///< some file failed (102, 103)
    kConverterUnavailable = 2, ///< the converter could not be started (104)
    kBadOptions = 64,          ///< a bad option or value, or no files first; nothing converted
    kNoDisplay = 69,           ///< no arguments and no graphical session for the window
    kNoSandbox = 69,           ///< "--sandbox=on" where the offices' sandbox cannot be used
    kOutputFailed = 74,        ///< standard output could not be written; the run was stopped
    kRunInterrupted = 130,     ///< stopped by Ctrl+C or a termination signal
};

/// Runs the batch the arguments describe (ReadRunChoices) with converter; a bad command line is one
/// line on err and kBadOptions. Each log line is written to out, and appended to the
/// log file, when its file is done; err gets one line when the log file cannot be
/// written. Ctrl+C or a termination signal during the run stops the converter at once
/// and gives kRunInterrupted; out that cannot be written stops it the same way and
/// gives kOutputFailed.
int RunCommandLine(const CommandLineArguments& arguments, ConverterFactory& converter,
                   std::ostream& out, std::ostream& err);

} // namespace pelmora
