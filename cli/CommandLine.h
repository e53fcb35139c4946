#pragma once
// The command-line batch run: one converter session, every source file of the command
// line converted in order, the run's log lines appended to the log file in one write.

#include "engine/Conversion.h"
#include "engine/Converter.h"

#include <iosfwd>
#include <string>

namespace pelmora {

class CommandLineArguments;

/// Exit statuses of a command-line run.
enum CommandLineStatus : int {
    kRunSucceeded = 0,         ///< every file converted or skipped (100, 101); usage shown
    kRunHadFailures = 1,       ///< some file failed (102, 103)
    kConverterUnavailable = 2, ///< the converter could not be started (104)
    kBadOptions = 64,          ///< an option's value is missing or bad; nothing converted
    kNoDisplay = 69,           ///< no arguments and no graphical session for the window
    kRunInterrupted = 130,     ///< stopped by Ctrl+C or a termination signal
};

/// Runs the batch the arguments describe (ReadRunChoices) with converter; a missing or bad option
/// value is one line on err and kBadOptions. Each log line is also written to out when
/// its file is done; err gets one line when the log file cannot be written. Ctrl+C or
/// a termination signal during the run stops the converter at once, still appends the
/// lines of the files done so far, and gives kRunInterrupted.
int RunCommandLine(const CommandLineArguments& arguments, ConverterFactory& converter,
                   std::ostream& out, std::ostream& err);

} // namespace pelmora
