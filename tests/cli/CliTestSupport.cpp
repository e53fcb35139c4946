#include "tests/cli/CliTestSupport.h"

#include <algorithm>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace pelmora::test {

namespace fs = std::filesystem;

CommandLineArguments Shell(const std::vector<std::string>& tokens) {
    std::vector<const char*> argv{"pelmora"};
    for (const std::string& t : tokens) {
        argv.push_back(t.c_str());
    }
    return CommandLineArguments(static_cast<int>(argv.size()), argv.data());
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

std::string RtfWithPicture(const std::string& words) {
    // A 4 x 4 red PNG.
    return "{\\rtf1\\ansi\\deff0 " + words +
           "\\par{\\pict\\pngblip\\picw4\\pich4\\picwgoal600\\pichgoal600 "
           "89504e470d0a1a0a0000000d4948445200000004000000040802000000269309290000001049444154"
           "789c63f8cfc000470cc47100ae930ff1d05f239e0000000049454e44ae426082}\\par}";
}

std::string PelmoraBinary() {
    return std::string(PELMORA_BINARY_DIR) + "/app/pelmora";
}

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const std::map<std::string, std::string>& extraEnvironment,
                           const std::vector<std::string>& removedEnvironment) {
    int outPipe[2];
    int errPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0) {
        throw std::runtime_error("pipe failed");
    }
    std::vector<std::string> environment;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        if (!extraEnvironment.count(name) &&
            std::find(removedEnvironment.begin(), removedEnvironment.end(), name) ==
                removedEnvironment.end()) {
            environment.push_back(entry);
        }
    }
    for (const auto& [name, value] : extraEnvironment) {
        environment.push_back(name + "=" + value);
    }
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : arguments) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& e : environment) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);

    pid_ = fork();
    if (pid_ < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid_ == 0) {
        dup2(outPipe[1], STDOUT_FILENO);
        dup2(errPipe[1], STDERR_FILENO);
        close(outPipe[0]);
        close(outPipe[1]);
        close(errPipe[0]);
        close(errPipe[1]);
        // The test runner may have Ctrl+C ignored; the child must see it as a user's.
        signal(SIGINT, SIG_DFL);
        execve(program.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    outFd_ = outPipe[0];
    errFd_ = errPipe[0];
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        Finish();
    }
}

namespace {

// Reads what is ready on the open descriptors; closes one at its end. Returns false
// when both are closed.
bool Pump(int& outFd, int& errFd, std::string& out, std::string& err, int timeoutMs) {
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    if (outFd < 0 && errFd < 0) {
        return false;
    }
    if (poll(fds, 2, timeoutMs) <= 0) {
        return true;
    }
    int* descriptors[2] = {&outFd, &errFd};
    std::string* texts[2] = {&out, &err};
    for (int i = 0; i < 2; ++i) {
        if (*descriptors[i] >= 0 && (fds[i].revents & (POLLIN | POLLHUP | POLLERR))) {
            char buffer[4096];
            const ssize_t n = read(*descriptors[i], buffer, sizeof buffer);
            if (n > 0) {
                texts[i]->append(buffer, static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                close(*descriptors[i]);
                *descriptors[i] = -1;
            }
        }
    }
    return true;
}

} // namespace

bool ChildProcess::WaitForOutputLines(std::size_t lineCount) {
    while (Lines(out_).size() < lineCount) {
        if (!Pump(outFd_, errFd_, out_, err_, 1000) || outFd_ < 0) {
            return Lines(out_).size() >= lineCount;
        }
    }
    return true;
}

ProcessResult ChildProcess::Finish() {
    ProcessResult result;
    int status = 0;
    bool ended = pid_ <= 0;
    // Wait for the child itself, not for its pipes: an office it left behind would
    // hold them open.
    while (!ended) {
        Pump(outFd_, errFd_, out_, err_, 200);
        const pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            ended = true;
        } else if (done < 0 && errno != EINTR) {
            ended = true;
        }
    }
    for (int i = 0; i < 50 && (outFd_ >= 0 || errFd_ >= 0); ++i) {
        Pump(outFd_, errFd_, out_, err_, 20);
    }
    for (int* fd : {&outFd_, &errFd_}) {
        if (*fd >= 0) {
            close(*fd);
            *fd = -1;
        }
    }
    pid_ = -1;
    result.out = out_;
    result.err = err_;
    return result;
}

ProcessResult RunPelmora(const std::vector<std::string>& arguments,
                         const std::map<std::string, std::string>& extraEnvironment,
                         const std::vector<std::string>& removedEnvironment) {
    ChildProcess child(PelmoraBinary(), arguments, extraEnvironment, removedEnvironment);
    return child.Finish();
}

std::vector<int> ProcessesUsingTemporaryFolder(const std::string& folder) {
    std::vector<int> found;
    const std::string wanted = "TMPDIR=" + folder;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/proc", ec)) {
        const std::string pid = entry.path().filename().string();
        if (pid.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        // A zombie has given up its environment already; it is not running.
        const std::string environment = ReadFile("/proc/" + pid + "/environ");
        std::string::size_type start = 0;
        while (start < environment.size()) {
            auto end = environment.find('\0', start);
            if (end == std::string::npos) {
                end = environment.size();
            }
            // The offices get private folders below the one they inherit.
            const std::string_view variable(environment.data() + start, end - start);
            if (variable.substr(0, wanted.size()) == wanted &&
                (variable.size() == wanted.size() || variable[wanted.size()] == '/')) {
                found.push_back(std::stoi(pid));
                break;
            }
            start = end + 1;
        }
    }
    return found;
}

} // namespace pelmora::test
