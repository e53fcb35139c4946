#pragma once
// Helpers of the command-line tests: scratch folders, small files, and running the
// built pelmora as a child process.

#include "cli/Arguments.h"
#include "tests/support/TempFolder.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace pelmora::test {

/// text cut at "\n", without empty pieces.
std::vector<std::string> Lines(const std::string& text);

/// A small RTF document with a picture in it (so its page gets a ".files" folder) and
/// the given words as its text.
std::string RtfWithPicture(const std::string& words);

/// pelmora's arguments as a shell hands them over: the program name, then tokens.
CommandLineArguments Shell(const std::vector<std::string>& tokens);

/// The built pelmora executable.
std::string PelmoraBinary();

/// What a finished child process left.
struct ProcessResult {
    int exitStatus = -1; ///< exit status, or 128 + signal when killed by one
    std::string out;
    std::string err;
};

/// A child process whose standard output and error are collected.
class ChildProcess {
public:
    /// Starts program with arguments; extraEnvironment is added to this process's,
    /// the variables named in removedEnvironment are left out.
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                 const std::map<std::string, std::string>& extraEnvironment = {},
                 const std::vector<std::string>& removedEnvironment = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    int Pid() const { return pid_; }
    /// Reads standard output until it holds at least lineCount lines or ends; true
    /// when it does.
    bool WaitForOutputLines(std::size_t lineCount);
    /// Waits for the end of the child and returns what it left.
    ProcessResult Finish();

private:
    int pid_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
    std::string out_;
    std::string err_;
};

/// Runs pelmora with arguments to its end.
ProcessResult RunPelmora(const std::vector<std::string>& arguments,
                         const std::map<std::string, std::string>& extraEnvironment = {},
                         const std::vector<std::string>& removedEnvironment = {});

/// Process ids of living processes whose TMPDIR is folder or a folder below it: a run
/// started with that TMPDIR, and the offices it started.
std::vector<int> ProcessesUsingTemporaryFolder(const std::string& folder);

} // namespace pelmora::test
