#include "cli/CommandLine.h"

#include "cli/Arguments.h"
#include "cli/LongOptions.h"
#include "cli/RunChoices.h"
#include "engine/Conversion.h"
#include "engine/PathHelpers.h"
#include "engine/Sharding.h"
#include "engine/WordSession.h"

#include <array>
#include <csignal>
#include <exception>
#include <optional>
#include <ostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace pelmora {

namespace {

// The signal that stopped the run, 0 while none came. A signal handler can reach no
// other state, so this flag is the one the run polls between documents.
volatile std::sig_atomic_t gStopSignal = 0;

extern "C" void OnStopSignal(int signal) {
    if (gStopSignal != 0) {
        // A second Ctrl+C while the log is being written: the user wants out now.
        StopWordSessionsNow();
        _exit(kRunInterrupted);
    }
    gStopSignal = signal;
    // Kill the office at once: the document it is working on fails, and the run
    // sees the flag before it starts the next one.
    StopWordSessionsNow();
}

// Catches Ctrl+C and termination signals for the length of one run, and ignores a
// closed standard output (a pipe into "head"), so that no office outlives the run.
class StopSignalScope {
public:
    StopSignalScope() {
        gStopSignal = 0;
        struct sigaction action {};
        action.sa_handler = OnStopSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (std::size_t i = 0; i < kSignals.size(); ++i) {
            sigaction(kSignals[i], nullptr, &saved_[i]);
            // A run started with a signal ignored (nohup, a background job) keeps it so.
            if (saved_[i].sa_handler != SIG_IGN) {
                sigaction(kSignals[i], &action, nullptr);
            }
        }
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        sigaction(SIGPIPE, &ignore, &savedPipe_);
    }
    ~StopSignalScope() {
        for (std::size_t i = 0; i < kSignals.size(); ++i) {
            sigaction(kSignals[i], &saved_[i], nullptr);
        }
        sigaction(SIGPIPE, &savedPipe_, nullptr);
    }
    StopSignalScope(const StopSignalScope&) = delete;
    StopSignalScope& operator=(const StopSignalScope&) = delete;

    bool Stopped() const { return gStopSignal != 0; }

private:
    static constexpr std::array<int, 3> kSignals{SIGINT, SIGTERM, SIGHUP};
    std::array<struct sigaction, 3> saved_{};
    struct sigaction savedPipe_ {};
};

void WriteRunLog(const std::string& logFile, const std::string& text, std::ostream& err) {
    if (!WriteLogFile(logFile, text)) {
        err << "pelmora: could not write the log file " << logFile << '\n' << std::flush;
    }
}

} // namespace

int RunCommandLine(const CommandLineArguments& arguments, std::ostream& out, std::ostream& err) {
    std::string problem;
    const std::optional<RunChoices> choices = ReadRunChoices(arguments, problem);
    if (!choices) {
        err << problem << '\n' << std::flush;
        return kBadOptions;
    }
    if (choices->showHelp) {
        ShowUsage(out);
        ShowLongOptions(out);
        return kRunSucceeded;
    }
    if (choices->showVersion) {
        ShowVersion(out);
        return kRunSucceeded;
    }

    StopSignalScope signals;

    const RunChoices& settings = *choices;
    const DocumentOptions& options = choices->document;

    WordSession session;
    if (!OpenWordSession(session)) {
        CloseWordSession(session);
        if (signals.Stopped()) {
            RemoveWordSessionLeftovers();
            return kRunInterrupted;
        }
        const std::string line = FormatLogLine(ConversionCode::kConverterUnavailable, {}, {});
        out << line << '\n' << std::flush;
        WriteRunLog(settings.logFile, line, err);
        return kConverterUnavailable;
    }

    std::vector<std::string> files;
    try {
        arguments.ExpandFileList(files, settings.includeSubfolders);
    } catch (const std::exception&) {
        // The paths found before the failure are still converted.
    }
    files = FilesOfShard(files, settings.shardIndex, settings.shardCount, settings.outputFolder,
                         kCommandLinePageExtension);

    std::string logText;
    int status = kRunSucceeded;
    for (const std::string& path : files) {
        if (signals.Stopped()) {
            break;
        }
        const std::string output = PagePath(path, settings.outputFolder, kCommandLinePageExtension);
        ConversionResult result;
        try {
            result = ConvertDocument(session, path, output, options);
        } catch (const std::exception& e) {
            result = MakeConversionResult(ConversionCode::kFailed, path, output, e.what());
        }
        if (signals.Stopped() && result.code == ConversionCode::kFailed) {
            // The office was killed under this document: it was stopped, not failed.
            break;
        }
        if (result.Failed()) {
            status = kRunHadFailures;
        }
        out << result.line << '\n' << std::flush;
        logText += logText.empty() ? result.line : "\n" + result.line;
    }

    if (!logText.empty()) {
        WriteRunLog(settings.logFile, logText, err);
    }
    CloseWordSession(session);
    if (signals.Stopped()) {
        // The killed office could not clean up after itself.
        RemoveWordSessionLeftovers();
        return kRunInterrupted;
    }
    return status;
}

} // namespace pelmora
