#include "cli/RunChoices.h"

#include "cli/Arguments.h"
#include "engine/PathHelpers.h"
#include "engine/TextLines.h"

#include <algorithm>
#include <charconv>
#include <climits>

namespace pelmora {

namespace {

// A whole number from low to high written with digits only: no sign, no blanks, no
// unit, so "1e3", "+4" and "4 " are refused rather than half read.
std::optional<int> ReadWholeNumber(const std::string& text, int low, int high) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || number < low || number > high) {
        return std::nullopt;
    }
    return number;
}

std::string NotThis(const std::string& value) {
    return value.empty() ? std::string(", and none is given") : ", not \"" + value + "\"";
}

// The value of a long option or, when that is absent, of its short switch; nullopt
// when neither is on the command line.
std::optional<std::string> OptionValue(const CommandLineArguments& arguments,
                                       const std::string& longName, const std::string& shortName) {
    if (arguments.HasLongOption(longName)) {
        return arguments.GetLongOptionValue(longName);
    }
    if (!shortName.empty() && arguments.HasSwitch(shortName)) {
        return arguments.GetSwitchPath(shortName);
    }
    return std::nullopt;
}

bool Flag(const CommandLineArguments& arguments, const std::string& longName,
          const std::string& shortName, bool valueRequired = false) {
    return arguments.HasLongOption(longName) ||
           (!shortName.empty() && arguments.HasSwitch(shortName, valueRequired));
}

// Refuses a command line that would do something else than what was meant.
bool CheckShape(const CommandLineArguments& arguments, std::string& problem) {
    // Read as its first letter, a mistyped "--dry-run" would write into "ry-run/".
    if (!arguments.UnknownLongOptions().empty()) {
        problem = "pelmora: unknown option " +
                  EscapeControlCharacters(arguments.UnknownLongOptions().front());
        return false;
    }
    // The file list ends at the first switch: this line would convert nothing.
    if (arguments.BeginsWithSwitch()) {
        problem = "pelmora: no files to convert, since the command line begins with the option " +
                  EscapeControlCharacters(arguments.GetArgument(1, false)) +
                  "; the files come first (a file whose name begins with \"-\" is ./-name)";
        return false;
    }
    return true;
}

bool ReadOutputAndLog(const CommandLineArguments& arguments, RunChoices& choices,
                      std::string& problem) {
    // A short "-d" with nothing after it keeps its old meaning (pages beside their
    // sources); the long option says what it wants, so nothing after it is a mistake.
    if (arguments.HasLongOption("dest")) {
        choices.outputFolder = arguments.GetLongOptionValue("dest");
        if (choices.outputFolder.empty()) {
            problem = "pelmora: --dest needs a folder" + NotThis({});
            return false;
        }
    } else {
        choices.outputFolder = arguments.GetSwitchPath("d");
    }
    choices.logFile = OptionValue(arguments, "log", "l").value_or(std::string());
    if (choices.logFile.empty()) {
        choices.logFile = DefaultLogPath();
    }
    return true;
}

void ReadFlags(const CommandLineArguments& arguments, RunChoices& choices) {
    choices.includeSubfolders = Flag(arguments, "subfolders", "s");
    choices.document.overwrite = Flag(arguments, "overwrite", "o");
    choices.document.compact = Flag(arguments, "compact", "c");
    choices.document.keepPictureFolder = Flag(arguments, "keep-files", "f", true);
    choices.json = Flag(arguments, "json", "");
    choices.quiet = Flag(arguments, "quiet", "");
}

bool ReadJobsAndPasswordFile(const CommandLineArguments& arguments, RunChoices& choices,
                             std::string& problem) {
    if (const auto jobs = OptionValue(arguments, "jobs", "j")) {
        const auto number = ReadWholeNumber(*jobs, 1, kMostJobs);
        if (!number) {
            problem = "pelmora: --jobs needs a whole number from 1 to " +
                      std::to_string(kMostJobs) + NotThis(*jobs);
            return false;
        }
        choices.jobs = *number;
    }
    if (const auto file = OptionValue(arguments, "password-file", "")) {
        if (file->empty()) {
            problem = "pelmora: --password-file needs a file" + NotThis({});
            return false;
        }
        choices.passwordFile = *file;
    }
    return true;
}

bool ReadShardAndTimeout(const CommandLineArguments& arguments, RunChoices& choices,
                         std::string& problem) {
    if (const auto shard = OptionValue(arguments, "shard", "")) {
        const auto slash = shard->find('/');
        const auto count = slash == std::string::npos
                               ? std::nullopt
                               : ReadWholeNumber(shard->substr(slash + 1), 1, INT_MAX);
        const auto index =
            count ? ReadWholeNumber(shard->substr(0, slash), 1, *count) : std::nullopt;
        if (!index) {
            problem = "pelmora: --shard needs K/N with 1 <= K <= N" + NotThis(*shard);
            return false;
        }
        choices.shardIndex = *index;
        choices.shardCount = *count;
    }
    if (const auto timeout = OptionValue(arguments, "timeout", "")) {
        const auto seconds = ReadWholeNumber(*timeout, 1, INT_MAX / 1000);
        if (!seconds) {
            problem =
                "pelmora: --timeout needs a whole number of seconds above 0" + NotThis(*timeout);
            return false;
        }
        choices.timeoutSeconds = *seconds;
    }
    return true;
}

// How long an office lives (by documents converted and by memory held), how much it
// may reach while converting, and whether it runs in the sandbox.
bool ReadOfficeLimits(const CommandLineArguments& arguments, RunChoices& choices,
                      std::string& problem) {
    for (auto [name, field] : {std::pair{"recycle-after", &choices.recycleAfter},
                               std::pair{"office-memory", &choices.officeMemoryMb},
                               std::pair{"memory-limit", &choices.memoryLimitMb}}) {
        if (const auto value = OptionValue(arguments, name, "")) {
            const auto number = ReadWholeNumber(*value, 1, INT_MAX);
            if (!number) {
                problem = std::string("pelmora: --") + name + " needs a whole number above 0" +
                          NotThis(*value);
                return false;
            }
            *field = *number;
        }
    }
    if (const auto sandbox = OptionValue(arguments, "sandbox", "")) {
        const std::pair<const char*, SandboxMode> modes[] = {
            {"auto", SandboxMode::kAuto}, {"on", SandboxMode::kOn}, {"off", SandboxMode::kOff}};
        const auto mode = std::find_if(std::begin(modes), std::end(modes),
                                       [&](const auto& m) { return *sandbox == m.first; });
        if (mode == std::end(modes)) {
            problem = "pelmora: --sandbox needs auto, on or off" + NotThis(*sandbox);
            return false;
        }
        choices.sandbox = mode->second;
    }
    return true;
}

} // namespace

std::optional<RunChoices> ReadRunChoices(const CommandLineArguments& arguments,
                                         std::string& problem) {
    RunChoices choices;
    if (arguments.HasLongOption("help") || arguments.HasSwitch("?") || arguments.HasSwitch("H")) {
        choices.showHelp = true;
        return choices;
    }
    if (arguments.HasLongOption("version")) {
        choices.showVersion = true;
        return choices;
    }
    if (!CheckShape(arguments, problem)) {
        return std::nullopt;
    }
    choices.strayTokens = arguments.StrayTokens();
    if (!ReadOutputAndLog(arguments, choices, problem)) {
        return std::nullopt;
    }
    ReadFlags(arguments, choices);
    if (!ReadJobsAndPasswordFile(arguments, choices, problem) ||
        !ReadShardAndTimeout(arguments, choices, problem) ||
        !ReadOfficeLimits(arguments, choices, problem)) {
        return std::nullopt;
    }
    return choices;
}

} // namespace pelmora
