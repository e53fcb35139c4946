#pragma once
// The command-line batch run: one converter session, every source file of the command
// line converted in order, the run's log lines appended to the log file in one write.

#include "engine/Conversion.h"

#include <iosfwd>
#include <string>

namespace pelmora {

class CommandLineArguments;

/// Exit statuses of a command-line run.
enum CommandLineStatus : int {
    kRunSucceeded = 0,         ///< every file converted or skipped (100, 101); usage shown
    kRunHadFailures = 1,       ///< some file failed (102, 103)
    kConverterUnavailable = 2, ///< the converter could not be started (104)
    kBadOptions = 64,          ///< an option's value is bad; nothing converted
    kRunInterrupted = 130,     ///< stopped by Ctrl+C or a termination signal
};

/// What a command-line run does around its documents.
struct RunSettings {
    std::string outputFolder;       ///< folder of every page; empty: beside each source
    std::string logFile;            ///< where the run's lines are appended
    bool includeSubfolders = false; ///< patterns are searched in subfolders too
};

/// The run settings the switches give: "-d", "-l" (the default log file when no
/// file is named) and "-s".
RunSettings ReadRunSettings(const CommandLineArguments& arguments);

/// The options every document of the run is converted with: "-o", "-c" and "-f1".
DocumentOptions ReadDocumentOptions(const CommandLineArguments& arguments);

/// Runs the batch the arguments describe. Each log line is also written to out when
/// its file is done; err gets one line when the log file cannot be written. Ctrl+C or
/// a termination signal during the run stops the converter at once, still appends the
/// lines of the files done so far, and gives kRunInterrupted.
int RunCommandLine(const CommandLineArguments& arguments, std::ostream& out, std::ostream& err);

} // namespace pelmora
