#include "cli/CommandLine.h"

#include "cli/Arguments.h"
#include "engine/BatchRunner.h"
#include "engine/Conversion.h"
#include "engine/PathHelpers.h"
#include "engine/WordSession.h"

#include <array>
#include <cctype>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <exception>
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

// "--jobs N", "--jobs=N", "-j N" or "-jN": the number of offices at once. False, with
// one line on err, when the value is not a whole number from 1 up.
bool ReadJobs(const CommandLineArguments& arguments, std::size_t& jobs, std::ostream& err) {
    for (int index = 1; index <= arguments.ArgumentCount(); ++index) {
        const std::string token = arguments.GetArgument(index, true);
        std::string value;
        // The arguments read "--jobs" as "-jobs".
        if (token == "--jobs" || token == "-jobs" || token == "-j") {
            value = arguments.GetArgument(index + 1, true);
        } else if (token.rfind("--jobs=", 0) == 0 || token.rfind("-jobs=", 0) == 0) {
            value = token.substr(token.find('=') + 1);
        } else if (token.size() > 2 && token.rfind("-j", 0) == 0) {
            value = token.substr(2);
        } else {
            continue;
        }
        char* end = nullptr;
        const unsigned long number =
            value.empty() || !std::isdigit(static_cast<unsigned char>(value[0]))
                ? 0
                : std::strtoul(value.c_str(), &end, 10);
        if (number == 0 || end == nullptr || *end != '\0') {
            err << "pelmora: --jobs needs a whole number from 1 up, not \"" << value << "\"\n"
                << std::flush;
            return false;
        }
        jobs = number;
    }
    return true;
}

// With PELMORA_POOL_STATS set: how the run used its sessions, for the benchmark.
void ReportPoolUse(const BatchRunner& runner, std::chrono::steady_clock::duration wall,
                   std::ostream& err) {
    if (std::getenv("PELMORA_POOL_STATS") == nullptr) {
        return;
    }
    const double seconds = std::chrono::duration<double>(wall).count();
    const double capacity = seconds * static_cast<double>(runner.PoolSize());
    err << "pelmora: pool of " << runner.PoolSize() << ", " << runner.SessionsStarted()
        << " sessions started, " << seconds << " s wall, " << runner.OfficeSeconds()
        << " s in office calls (" << (capacity > 0 ? 100 * runner.OfficeSeconds() / capacity : 0)
        << "% of session time)\n"
        << std::flush;
}

void WriteRunLog(const std::string& logFile, const std::string& text, std::ostream& err) {
    if (!WriteLogFile(logFile, text)) {
        err << "pelmora: could not write the log file " << logFile << '\n' << std::flush;
    }
}

} // namespace

RunSettings ReadRunSettings(const CommandLineArguments& arguments) {
    RunSettings settings;
    settings.outputFolder = arguments.GetSwitchPath("d");
    settings.logFile = arguments.GetSwitchPath("l");
    if (settings.logFile.empty()) {
        settings.logFile = DefaultLogPath();
    }
    settings.includeSubfolders = arguments.HasSwitch("s");
    return settings;
}

DocumentOptions ReadDocumentOptions(const CommandLineArguments& arguments) {
    DocumentOptions options;
    options.overwrite = arguments.HasSwitch("o");
    options.compact = arguments.HasSwitch("c");
    options.keepPictureFolder = arguments.HasSwitch("f", true);
    return options;
}

int RunCommandLine(const CommandLineArguments& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.HasSwitch("?") || arguments.HasSwitch("H")) {
        ShowUsage(out);
        return kRunSucceeded;
    }
    PoolSettings pool;
    if (!ReadJobs(arguments, pool.sessions, err)) {
        return kBadOptions;
    }

    StopSignalScope signals;

    const RunSettings settings = ReadRunSettings(arguments);
    const DocumentOptions options = ReadDocumentOptions(arguments);

    // The offices start as soon as the search has found a first file, not after it.
    BatchRunner runner(pool);
    std::vector<std::string> files;
    try {
        arguments.ExpandFileList(files, settings.includeSubfolders,
                                 [&] { runner.StartSessions(files.size()); });
    } catch (const std::exception&) {
        // The paths found before the failure are still converted.
    }
    std::vector<BatchDocument> documents;
    documents.reserve(files.size());
    for (const std::string& path : files) {
        documents.push_back(
            {path, PagePath(path, settings.outputFolder, kCommandLinePageExtension), options});
    }

    // Each line goes to standard output once it and every line before it are done.
    class LineWriter final : public BatchObserver {
    public:
        explicit LineWriter(std::ostream& out) : out_(out) {}
        void DocumentFinished(std::size_t, const BatchDocument&,
                              const DocumentOutcome& outcome) override {
            if (outcome.result.Failed()) {
                failed = true;
            }
            out_ << outcome.result.line << '\n' << std::flush;
            logText += logText.empty() ? outcome.result.line : "\n" + outcome.result.line;
        }
        std::string logText;
        bool failed = false;

    private:
        std::ostream& out_;
    } writer(out);

    DocumentList source(std::move(documents));
    const auto started = std::chrono::steady_clock::now();
    const RunEnd end = runner.Run(source, files.size(), writer, [&] {
        if (signals.Stopped()) {
            runner.Stop();
        }
    });
    ReportPoolUse(runner, std::chrono::steady_clock::now() - started, err);

    if (end == RunEnd::kConverterUnavailable && !signals.Stopped()) {
        const std::string line = FormatLogLine(ConversionCode::kConverterUnavailable, {}, {});
        out << line << '\n' << std::flush;
        writer.logText += writer.logText.empty() ? line : "\n" + line;
    }
    if (!writer.logText.empty()) {
        WriteRunLog(settings.logFile, writer.logText, err);
    }
    if (signals.Stopped()) {
        // Offices ended at once could not clean up after themselves.
        RemoveWordSessionLeftovers();
        return kRunInterrupted;
    }
    if (end == RunEnd::kConverterUnavailable) {
        return kConverterUnavailable;
    }
    return writer.failed ? kRunHadFailures : kRunSucceeded;
}

} // namespace pelmora
