#include "cli/CommandLine.h"

#include "cli/Arguments.h"
#include "cli/JsonReport.h"
#include "cli/LongOptions.h"
#include "cli/PasswordFile.h"
#include "cli/ProgressLine.h"
#include "cli/RunChoices.h"
#include "cli/RunLog.h"
#include "cli/TemporaryFolder.h"
#include "cli/TextReport.h"
#include "engine/BatchObserver.h"
#include "engine/BatchRunner.h"
#include "engine/Conversion.h"
#include "engine/PathHelpers.h"
#include "engine/Sharding.h"
#include "engine/TextLines.h"

#include <array>
#include <atomic>
#include <cctype>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace pelmora {

namespace {

// Set once a stop signal came. A signal handler can reach no other state, so the run
// looks at this flag while it waits for its offices; lock-free, as a handler needs.
std::atomic<bool> gStopSignalled{false};
static_assert(std::atomic<bool>::is_always_lock_free);
// The converter of the run the signal stops; lock-free, so the handler may read it.
std::atomic<ConverterFactory*> gStopConverter{nullptr};
static_assert(std::atomic<ConverterFactory*>::is_always_lock_free);

void StopConverterNow() noexcept {
    if (ConverterFactory* converter = gStopConverter.load()) {
        converter->StopAllNow();
    }
}

extern "C" void OnStopSignal(int) {
    if (gStopSignalled.exchange(true)) {
        // A second Ctrl+C while the log is being written: the user wants out now.
        StopConverterNow();
        _exit(kRunInterrupted);
    }
    // Kill the offices at once: the run, woken by their end, sees the flag first and
    // takes the documents they were working on as stopped, not failed.
    StopConverterNow();
}

// Catches Ctrl+C and termination signals for the length of one run, and ignores a
// closed standard output (a pipe into "head"), so that no office outlives the run.
class StopSignalScope {
public:
    explicit StopSignalScope(ConverterFactory& converter) {
        gStopSignalled = false;
        gStopConverter = &converter;
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
        gStopConverter = nullptr;
    }
    StopSignalScope(const StopSignalScope&) = delete;
    StopSignalScope& operator=(const StopSignalScope&) = delete;

    bool Stopped() const { return gStopSignalled; }
    /// The flag a stop signal sets, for the run to look at.
    const std::atomic<bool>& Flag() const { return gStopSignalled; }

private:
    static constexpr std::array<int, 3> kSignals{SIGINT, SIGTERM, SIGHUP};
    std::array<struct sigaction, 3> saved_{};
    struct sigaction savedPipe_ {};
};

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

// The one warning about tokens that are not converted, since they follow a switch.
std::string StrayTokensLine(const std::vector<std::string>& tokens) {
    std::string line = "pelmora: not converted, as they follow the first option:";
    for (const std::string& token : tokens) {
        line += " \"" + EscapeControlCharacters(token) + "\"";
    }
    return line + " (the files come first)";
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
        : report_(json ? std::unique_ptr<DocumentReport>(std::make_unique<JsonReport>(out))
                       : std::make_unique<TextReport>(out)),
          progress_(
              err, SteadySeconds, [] { return ProgressLine::TerminalWidth(STDERR_FILENO); },
              &out == &std::cout && ::isatty(STDOUT_FILENO)) {
        // Only the process's own standard error can be a terminal; a stream of a test
        // or a pipe gets the log lines alone.
        if (!quiet && &err == &std::cerr && ::isatty(STDERR_FILENO)) {
            observers_.push_back(&progress_);
        }
        observers_.push_back(report_.get());
    }

    const std::vector<BatchObserver*>& Observers() const { return observers_; }
    /// Adds an observer told after the reports; it must outlive the run.
    void Add(BatchObserver& observer) { observers_.push_back(&observer); }

    // The one line of a run whose converter could not start.
    void ReportUnavailable(const std::string& line) { report_->ReportUnavailable(line); }

private:
    std::unique_ptr<DocumentReport> report_;
    ProgressLine progress_;
    std::vector<BatchObserver*> observers_;
};

// Puts the offices in their sandbox and under their memory ceiling, before anything
// starts. A status to end the run with when "--sandbox=on" cannot be honoured.
std::optional<int> ConfineOffices(ConverterFactory& converter, const RunChoices& choices,
                                  std::uint64_t officeMemory, std::ostream& err) {
    const std::uint64_t ceiling = choices.memoryLimitMb > 0
                                      ? static_cast<std::uint64_t>(choices.memoryLimitMb) << 20
                                      : 2 * officeMemory;
    const std::string problem = converter.Confine(choices.sandbox, ceiling);
    if (problem.empty()) {
        return std::nullopt;
    }
    if (choices.sandbox == SandboxMode::kOn) {
        err << "pelmora: --sandbox=on, but the offices' sandbox cannot be used: " << problem << '\n'
            << std::flush;
        return kNoSandbox;
    }
    err << "pelmora: warning: converting without the sandbox: " << problem << '\n' << std::flush;
    return std::nullopt;
}

// The password file's passwords: the first as the password, the rest to try after it.
// False, with the problem on err, when the file cannot be read.
bool ReadPasswords(const RunChoices& choices, DocumentOptions& options, std::ostream& err) {
    if (choices.passwordFile.empty()) {
        return true;
    }
    std::vector<std::string> passwords;
    std::string problem;
    if (!ReadPasswordFile(choices.passwordFile, passwords, err, problem)) {
        err << problem << '\n' << std::flush;
        return false;
    }
    if (!passwords.empty()) {
        options.password = passwords.front();
        options.otherPasswords.assign(passwords.begin() + 1, passwords.end());
    }
    return true;
}

PoolSettings PoolOf(const RunChoices& choices) {
    PoolSettings pool;
    pool.sessions = static_cast<std::size_t>(choices.jobs);
    pool.documentTimeLimit = std::chrono::seconds(choices.timeoutSeconds);
    if (choices.recycleAfter > 0) {
        pool.documentsPerSession = static_cast<std::size_t>(choices.recycleAfter);
    }
    if (choices.officeMemoryMb > 0) {
        pool.officeMemoryLimit = static_cast<std::uint64_t>(choices.officeMemoryMb) << 20;
    }
    return pool;
}

// The documents of one run, and whether the search missed some.
struct DocumentListing {
    std::vector<BatchDocument> documents;
    bool foldersSkipped = false; // a folder could not be searched
};

// The files the arguments name, this machine's shard of them, each with its page. The
// offices start as soon as the search has found a first file, not after it.
DocumentListing ListDocuments(const CommandLineArguments& arguments, const RunChoices& choices,
                              const DocumentOptions& options, BatchRunner& runner,
                              std::ostream& err) {
    std::vector<std::string> files;
    std::vector<std::string> unmatched;
    std::vector<SkippedFolder> skipped;
    try {
        arguments.ExpandFileList(
            files, choices.includeSubfolders, &unmatched,
            [&] { runner.StartSessions(files.size()); }, &skipped);
    } catch (const std::exception&) {
        // The paths found before the failure are still converted.
    }
    // Documents in a folder the search could not enter are missed, as a failed one is.
    for (const SkippedFolder& folder : skipped) {
        err << "pelmora: cannot search " << EscapeControlCharacters(folder.folder) << ": "
            << folder.reason << '\n'
            << std::flush;
    }
    if (files.empty() && !unmatched.empty()) {
        err << NothingMatchesLine(unmatched) << '\n' << std::flush;
    }
    files = FilesOfShard(files, choices.shardIndex, choices.shardCount, choices.outputFolder,
                         kCommandLinePageExtension);
    DocumentListing listing{{}, !skipped.empty()};
    listing.documents.reserve(files.size());
    for (const std::string& path : files) {
        listing.documents.push_back(
            {path, PagePath(path, choices.outputFolder, kCommandLinePageExtension), options});
    }
    return listing;
}

// Output nobody can read ends the run as a stop does: "| head -1" wants no more. Told
// each line after the report has written it, on the run's thread.
class StopWhenUnread final : public BatchObserver {
public:
    StopWhenUnread(std::ostream& out, BatchRunner& runner) : out_(out), runner_(runner) {}
    void DocumentFinished(std::size_t, const BatchDocument&, const DocumentOutcome&) override {
        if (out_.fail()) {
            runner_.Stop();
        }
    }

private:
    std::ostream& out_;
    BatchRunner& runner_;
};

RunEnd RunDocuments(BatchRunner& runner, std::vector<BatchDocument> documents, RunLog& log,
                    const StopSignalScope& signals, std::ostream& err) {
    const std::size_t count = documents.size();
    DocumentList source(std::move(documents));
    const auto started = std::chrono::steady_clock::now();
    const RunEnd end = runner.Run(source, count, log, &signals.Flag());
    ReportPoolUse(runner, std::chrono::steady_clock::now() - started, err);
    return end;
}

// The end of the run: the line of a converter that could not start, and the exit status.
int FinishRun(RunEnd end, bool foldersSkipped, RunReports& reports, RunLog& log,
              ConverterFactory& converter, const StopSignalScope& signals, std::ostream& out,
              std::ostream& err) {
    if (end == RunEnd::kConverterUnavailable && !signals.Stopped()) {
        const std::string line = FormatLogLine(ConversionCode::kConverterUnavailable, {}, {});
        reports.ReportUnavailable(line);
        log.Append(line);
        // The line above is all the log may say; the user learns the real cause here.
        if (const std::string problem = TemporaryFolderProblem(); !problem.empty()) {
            err << EscapeControlCharacters(problem) << '\n' << std::flush;
        }
    }
    if (signals.Stopped()) {
        // Offices ended at once could not clean up after themselves.
        converter.RemoveLeftovers();
        return kRunInterrupted;
    }
    if (out.fail()) {
        err << "pelmora: standard output cannot be written; the run was stopped\n" << std::flush;
        return kOutputFailed;
    }
    if (end == RunEnd::kConverterUnavailable) {
        return kConverterUnavailable;
    }
    return log.Failed() || foldersSkipped ? kRunHadFailures : kRunSucceeded;
}

} // namespace

int RunCommandLine(const CommandLineArguments& arguments, ConverterFactory& converter,
                   std::ostream& out, std::ostream& err) {
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
    if (!choices->strayTokens.empty()) {
        err << StrayTokensLine(choices->strayTokens) << '\n' << std::flush;
    }

    StopSignalScope signals(converter);
    DocumentOptions options = choices->document;
    if (!ReadPasswords(*choices, options, err)) {
        return kBadOptions;
    }
    RunReports reports(out, err, choices->json, choices->quiet);
    const PoolSettings pool = PoolOf(*choices);
    if (const auto refused = ConfineOffices(converter, *choices, pool.officeMemoryLimit, err)) {
        return *refused;
    }
    BatchRunner runner(converter, pool);
    StopWhenUnread unread(out, runner);
    reports.Add(unread);
    DocumentListing listing = ListDocuments(arguments, *choices, options, runner, err);
    RunLog log(reports.Observers(), choices->logFile, err);
    const RunEnd end = RunDocuments(runner, std::move(listing.documents), log, signals, err);
    return FinishRun(end, listing.foldersSkipped, reports, log, converter, signals, out, err);
}

} // namespace pelmora
