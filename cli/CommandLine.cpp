#include "cli/CommandLine.h"

#include "cli/Arguments.h"
#include "cli/JsonReport.h"
#include "cli/LongOptions.h"
#include "cli/PasswordFile.h"
#include "cli/ProgressLine.h"
#include "cli/RunChoices.h"
#include "cli/TextReport.h"
#include "engine/BatchObserver.h"
#include "engine/Conversion.h"
#include "engine/PathHelpers.h"
#include "engine/Sharding.h"
#include "engine/WordSession.h"

#include <array>
#include <chrono>
#include <csignal>
#include <exception>
#include <iostream>
#include <optional>
#include <ostream>
#include <set>
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

double SteadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The front ends of one run: the report on standard output (text lines or JSON) and,
// when standard error is a terminal, the progress line, which goes first so that it
// can take itself away before a report line is written under it.
class RunReports {
public:
    RunReports(std::ostream& out, std::ostream& err, bool json, bool quiet)
        : text_(out), json_(out),
          progress_(
              err, SteadySeconds, [] { return ProgressLine::TerminalWidth(STDERR_FILENO); },
              &out == &std::cout && ::isatty(STDOUT_FILENO)),
          useJson_(json) {
        // Only the process's own standard error can be a terminal; a stream of a test
        // or a pipe gets the log lines alone.
        if (!quiet && &err == &std::cerr && ::isatty(STDERR_FILENO)) {
            observers_.push_back(&progress_);
        }
        observers_.push_back(json ? static_cast<BatchObserver*>(&json_) : &text_);
    }

    const std::vector<BatchObserver*>& Observers() const { return observers_; }

    // The one line of a run whose converter could not start.
    void ReportUnavailable(const std::string& line) {
        if (useJson_) {
            json_.WriteObject({}, {}, static_cast<int>(ConversionCode::kConverterUnavailable),
                              JsonReport::MessageOf(line), 0, 0);
        } else {
            text_.DocumentFinished(0, {},
                                   DocumentOutcome{{ConversionCode::kConverterUnavailable, line}});
        }
    }

private:
    TextReport text_;
    JsonReport json_;
    ProgressLine progress_;
    bool useJson_ = false;
    std::vector<BatchObserver*> observers_;
};

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
    DocumentOptions options = choices->document;
    if (!choices->passwordFile.empty()) {
        std::vector<std::string> passwords;
        if (!ReadPasswordFile(choices->passwordFile, passwords, err, problem)) {
            err << problem << '\n' << std::flush;
            return kBadOptions;
        }
        if (!passwords.empty()) {
            options.password = passwords.front();
            options.otherPasswords.assign(passwords.begin() + 1, passwords.end());
        }
    }
    RunReports reports(out, err, choices->json, choices->quiet);

    WordSession session;
    if (!OpenWordSession(session, std::chrono::seconds(settings.timeoutSeconds))) {
        CloseWordSession(session);
        if (signals.Stopped()) {
            RemoveWordSessionLeftovers();
            return kRunInterrupted;
        }
        const std::string line = FormatLogLine(ConversionCode::kConverterUnavailable, {}, {});
        reports.ReportUnavailable(line);
        WriteRunLog(settings.logFile, line, err);
        return kConverterUnavailable;
    }

    std::vector<std::string> files;
    std::vector<std::string> unmatched;
    try {
        arguments.ExpandFileList(files, settings.includeSubfolders, &unmatched);
    } catch (const std::exception&) {
        // The paths found before the failure are still converted.
    }
    if (files.empty() && !unmatched.empty()) {
        err << NothingMatchesLine(unmatched) << '\n' << std::flush;
    }
    files = FilesOfShard(files, settings.shardIndex, settings.shardCount, settings.outputFolder,
                         kCommandLinePageExtension);

    std::string logText;
    int status = kRunSucceeded;
    for (BatchObserver* observer : reports.Observers()) {
        observer->RunStarted(files.size());
    }
    std::set<std::string> sweptFolders;
    for (std::size_t index = 0; index < files.size(); ++index) {
        const std::string& path = files[index];
        if (signals.Stopped()) {
            break;
        }
        const std::string output = PagePath(path, settings.outputFolder, kCommandLinePageExtension);
        // Staging folders left by a killed run go before this run writes beside them;
        // each output folder is looked at once.
        const std::string outputFolder = output.substr(0, output.rfind(kPathSeparator) + 1);
        if (sweptFolders.insert(outputFolder).second) {
            RemoveStaleStagingFolders(outputFolder);
        }
        const BatchDocument document{path, output, options};
        for (BatchObserver* observer : reports.Observers()) {
            observer->DocumentStarted(index, document);
        }
        const double started = SteadySeconds();
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
        const DocumentOutcome outcome{result, SteadySeconds() - started};
        for (BatchObserver* observer : reports.Observers()) {
            observer->DocumentFinished(index, document, outcome);
        }
        logText += logText.empty() ? result.line : "\n" + result.line;
    }

    for (BatchObserver* observer : reports.Observers()) {
        observer->RunFinished();
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
