#include "cli/CommandLine.h"

#include "cli/Arguments.h"
#include "engine/Conversion.h"
#include "engine/libreoffice/OfficeProcess.h"
#include "engine/PathHelpers.h"
#include "engine/WordSession.h"

#include <array>
#include <csignal>
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
        EmergencyStopOffices();
        _exit(kRunInterrupted);
    }
    gStopSignal = signal;
    // Kill the office at once: the document it is working on fails, and the run
    // sees the flag before it starts the next one.
    EmergencyStopOffices();
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

// The numbered code of a log line (100 to 104); 0 when the line has none.
int LogLineCode(const std::string& line) {
    const auto gap = line.find("  ");
    if (gap == std::string::npos || gap + 5 > line.size()) {
        return 0;
    }
    int code = 0;
    for (std::size_t i = gap + 2; i < gap + 5; ++i) {
        if (line[i] < '0' || line[i] > '9') {
            return 0;
        }
        code = code * 10 + (line[i] - '0');
    }
    return code;
}

void WriteRunLog(const std::string& logFile, const std::string& text, std::ostream& err) {
    if (!WriteLogFile(logFile, text)) {
        err << "pelmora: could not write the log file " << logFile << '\n' << std::flush;
    }
}

} // namespace

int RunCommandLine(const CommandLineArguments& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.HasSwitch("?") || arguments.HasSwitch("H")) {
        ShowUsage(out);
        return kRunSucceeded;
    }

    StopSignalScope signals;

    const bool includeSubfolders = arguments.HasSwitch("s");
    ConversionOptions options;
    options.Overwrite = arguments.HasSwitch("o");
    options.Compress = arguments.HasSwitch("c");
    options.CreateFilesDir = arguments.HasSwitch("f", true);
    options.LogFile = arguments.GetSwitchPath("l");
    if (options.LogFile.empty()) {
        options.LogFile = DefaultLogPath();
    }
    options.OutputDir = arguments.GetSwitchPath("d");

    WordSession session;
    if (!OpenWordSession(session)) {
        CloseWordSession(session);
        if (signals.Stopped()) {
            RemoveOfficeLeftovers();
            return kRunInterrupted;
        }
        const std::string line = LogTime() + "  104, Can not load Microsoft Word, Terminate!";
        out << line << '\n' << std::flush;
        WriteRunLog(options.LogFile, line, err);
        return kConverterUnavailable;
    }

    std::vector<std::string> files;
    try {
        arguments.ExpandFileList(files, includeSubfolders);
    } catch (const std::exception&) {
        // The paths found before the failure are still converted.
    }

    std::string logText;
    int status = kRunSucceeded;
    for (const std::string& path : files) {
        if (signals.Stopped()) {
            break;
        }
        std::string output = ChangeExtension(path, ".htm");
        if (!options.OutputDir.empty()) {
            output = ChangeFolder(output, options.OutputDir);
        }
        std::string line;
        try {
            ConvertDocument(session, path, output, line, options);
        } catch (const std::exception& e) {
            line =
                LogTime() + "  103, Convert " + path + " failure, the error message is " + e.what();
        }
        const int code = LogLineCode(line);
        if (signals.Stopped() && code == 103) {
            // The office was killed under this document: it was stopped, not failed.
            break;
        }
        if (code == 102 || code == 103) {
            status = kRunHadFailures;
        }
        out << line << '\n' << std::flush;
        logText += logText.empty() ? line : "\n" + line;
    }

    if (!logText.empty()) {
        WriteRunLog(options.LogFile, logText, err);
    }
    CloseWordSession(session);
    if (signals.Stopped()) {
        // The killed office could not clean up after itself.
        RemoveOfficeLeftovers();
        return kRunInterrupted;
    }
    return status;
}

} // namespace pelmora
