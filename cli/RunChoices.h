#pragma once
// Everything the command line chooses for one run, read once from the switches and
// long options and checked before anything is converted.

#include "engine/Conversion.h"
#include "engine/Converter.h"

#include <optional>
#include <string>
#include <vector>

namespace pelmora {

class CommandLineArguments;

/// The time limit of one document when "--timeout" is not given, in seconds.
inline constexpr int kDefaultTimeoutSeconds = 300;

/// The most offices "--jobs" may start at once.
inline constexpr int kMostJobs = 256;

/// The run's choices as the command line gives them.
struct RunChoices {
    bool showHelp = false;    ///< "-?", "-h", "--help": print the help and do nothing else
    bool showVersion = false; ///< "--version": print the version and do nothing else
    std::string outputFolder; ///< "-d", "--dest": folder of every page; empty: beside each source
    std::string logFile;      ///< "-l", "--log": where the lines are appended (default log if none)
    bool includeSubfolders = false; ///< "-s", "--subfolders": patterns search subfolders too
    DocumentOptions document;       ///< "-o", "-c", "-f1" and their long names
    int jobs = 0;             ///< "-j", "--jobs": offices at once, 1 to kMostJobs; 0: not given
    bool json = false;        ///< "--json": one JSON object per document on standard output
    bool quiet = false;       ///< "--quiet": no progress line on a terminal
    std::string passwordFile; ///< "--password-file": passwords to try; empty: none
    int shardIndex = 1;       ///< "--shard K/N": K, from 1 to shardCount
    int shardCount = 1;       ///< "--shard K/N": N; 1 converts the whole list
    int timeoutSeconds = kDefaultTimeoutSeconds; ///< "--timeout": limit of one document
    int recycleAfter = 0;   ///< "--recycle-after": documents per office; 0: the pool's default
    int officeMemoryMb = 0; ///< "--office-memory": MiB an office may hold; 0: the pool's default
    int memoryLimitMb = 0;  ///< "--memory-limit": MiB an office may reach while converting;
                            ///< 0: twice the office memory
    SandboxMode sandbox = SandboxMode::kAuto; ///< "--sandbox=auto|on|off"
    /// Tokens after the first switch that are neither switches nor values: not converted.
    std::vector<std::string> strayTokens;
};

/// Reads the run's choices. With "--help" or "--version" the other values are not
/// checked. An unknown long option, a command line that begins with a switch (no
/// files), or a value that is missing or bad gives nullopt and problem one line for
/// standard error ("pelmora: --jobs needs a whole number from 1 to 256, not "0"").
std::optional<RunChoices> ReadRunChoices(const CommandLineArguments& arguments,
                                         std::string& problem);

} // namespace pelmora
