#include "engine/libreoffice/OfficeSandbox.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

extern char** environ;

namespace pelmora {

namespace fs = std::filesystem;

namespace {

// What an office needs to read. Everything else of the machine stays unseen: a
// document that names a local file by its path finds nothing there.
constexpr const char* kReadOnlyFolders[] = {
    "/usr/lib",
    "/usr/lib64",
    "/usr/lib32",
    "/usr/share/libreoffice",
    "/usr/share/fonts",
    "/usr/local/share/fonts",
    "/usr/share/fontconfig",
    "/usr/share/zoneinfo",
    "/etc/fonts",
    "/etc/libreoffice",
    "/etc/ld.so.cache",
    "/etc/localtime",
    "/var/cache/fontconfig",
    "/var/lib/libreoffice",
    "/var/spool/libreoffice",
};

// Where the dynamic loader and libraries are found: links into /usr on most
// systems, folders of their own on some.
constexpr const char* kTopLevelLibraries[] = {"/lib", "/lib64", "/lib32"};

bool Exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

bool Covered(const std::string& path, const std::vector<std::string>& folders) {
    for (const std::string& folder : folders) {
        if (path == folder || path.rfind(folder + "/", 0) == 0) {
            return true;
        }
    }
    return false;
}

void Add(std::vector<std::string>& args, std::initializer_list<std::string> more) {
    args.insert(args.end(), more);
}

} // namespace

std::string FindBubblewrap() {
    const char* path = std::getenv("PATH");
    std::string folders = path == nullptr ? "" : path;
    std::size_t start = 0;
    while (start <= folders.size()) {
        const std::size_t end = std::min(folders.find(':', start), folders.size());
        const std::string folder = folders.substr(start, end - start);
        const std::string candidate = (folder.empty() ? "." : folder) + "/bwrap";
        if (access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        start = end + 1;
    }
    return {};
}

std::vector<std::string> SandboxCommand(const std::string& bwrap, const std::string& programFolder,
                                        const std::vector<std::string>& command) {
    // Root keeps every capability in the sandbox unless told otherwise.
    std::vector<std::string> args = {bwrap,           "--unshare-all", "--die-with-parent",
                                     "--new-session", "--cap-drop",    "ALL"};
    std::vector<std::string> bound;
    for (const char* folder : kReadOnlyFolders) {
        if (Exists(folder)) {
            Add(args, {"--ro-bind", folder, folder});
            bound.emplace_back(folder);
        }
    }
    std::error_code error;
    const std::string installation = fs::canonical(programFolder + "/..", error).string();
    if (!error && !Covered(installation, bound)) {
        Add(args, {"--ro-bind", installation, installation});
    }
    for (const char* top : kTopLevelLibraries) {
        std::error_code linkError;
        const fs::path target = fs::read_symlink(top, linkError);
        if (!linkError) {
            Add(args, {"--symlink", target.string(), top});
        } else if (fs::is_directory(top, linkError)) {
            Add(args, {"--ro-bind", top, top});
        }
    }
    const std::string shell = fs::canonical("/bin/sh", error).string();
    if (!error) {
        Add(args, {"--ro-bind", shell, kSandboxShell});
    }
    const std::string home = std::string(kSandboxPrivateFolder) + "/home";
    Add(args, {"--proc",     "/proc",
               "--dev",      "/dev",
               "--tmpfs",    kSandboxPrivateFolder,
               "--dir",      home,
               "--setenv",   "HOME",
               home,         "--setenv",
               "TMPDIR",     kSandboxPrivateFolder,
               "--unsetenv", "XDG_CONFIG_HOME",
               "--unsetenv", "XDG_CACHE_HOME",
               "--unsetenv", "XDG_DATA_HOME",
               "--unsetenv", "XDG_RUNTIME_DIR",
               "--chdir",    kSandboxPrivateFolder,
               "--"});
    args.insert(args.end(), command.begin(), command.end());
    return args;
}

std::vector<std::string> RunTwiceCommand(const std::vector<std::string>& office,
                                         const std::string& prepareArgument,
                                         const std::string& serveArgument) {
    std::vector<std::string> args = {
        kSandboxShell,
        "-c",
        R"(prepare=$1 serve=$2; shift 2; "$@" "$prepare" || exit; exec "$@" "$serve")",
        "sh",
        prepareArgument,
        serveArgument};
    args.insert(args.end(), office.begin(), office.end());
    return args;
}

std::string SandboxProblem(const std::string& bwrap, const std::string& programFolder) {
    if (bwrap.empty()) {
        return "bwrap (bubblewrap) is not installed or not on PATH";
    }
    std::vector<std::string> args =
        SandboxCommand(bwrap, programFolder, {kSandboxShell, "-c", ":"});
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    int errors[2];
    if (pipe2(errors, O_CLOEXEC) != 0) {
        return "cannot start bwrap";
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, errors[1], 2);
    pid_t pid = 0;
    const int spawnError = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(errors[1]);
    if (spawnError != 0) {
        close(errors[0]);
        return "cannot start " + bwrap;
    }
    // A sandbox starts in milliseconds; one that hangs is as unusable as one that fails.
    std::string message;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    pollfd readable{errors[0], POLLIN, 0};
    char buffer[512];
    bool ended = false; // bwrap holds the pipe until it exits
    while (!ended && std::chrono::steady_clock::now() < until && poll(&readable, 1, 100) >= 0) {
        if (readable.revents != 0) {
            const ssize_t got = read(errors[0], buffer, sizeof buffer);
            ended = got <= 0;
            message.append(buffer, static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
        }
    }
    close(errors[0]);
    if (!ended) {
        kill(pid, SIGKILL);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        return {};
    }
    message = message.substr(0, message.find('\n'));
    return message.empty() ? bwrap + " could not start a sandbox" : message;
}

SandboxChoice ChooseSandbox(SandboxMode mode, const std::string& programFolder) {
    if (mode == SandboxMode::kOff) {
        return {};
    }
    const std::string bwrap = FindBubblewrap();
    std::string problem = SandboxProblem(bwrap, programFolder);
    return {problem.empty() ? bwrap : std::string(), std::move(problem)};
}

std::string HostPathInSandbox(int sandboxPid, const std::string& path) {
    return "/proc/" + std::to_string(sandboxPid) + "/root" + path;
}

} // namespace pelmora
