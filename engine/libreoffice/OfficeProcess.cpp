#include "engine/libreoffice/OfficeProcess.h"

#include "engine/Converter.h"
#include "engine/ProcessMemory.h"
#include "engine/libreoffice/OfficeSandbox.h"

#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>

extern char** environ;

namespace pelmora {

namespace fs = std::filesystem;

namespace {

// The offices of this program, readable from a signal handler: plain atomics in a
// fixed array, never allocated or freed.
std::array<std::atomic<pid_t>, 64> gOfficePids{};

int RegisterPid(pid_t pid) {
    for (std::size_t i = 0; i < gOfficePids.size(); ++i) {
        pid_t none = 0;
        if (gOfficePids[i].compare_exchange_strong(none, pid)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void UnregisterPid(int slot) {
    if (slot >= 0) {
        gOfficePids[static_cast<std::size_t>(slot)].store(0);
    }
}

// What an emergency stop leaves for RemoveOfficeLeftovers(): the folders and pipes
// of every office object that exists.
struct Leftovers {
    std::mutex lock_;
    std::map<const OfficeProcess*, std::vector<std::string>> paths_;
};

Leftovers& TheLeftovers() {
    static Leftovers leftovers;
    return leftovers;
}

void RecordLeftovers(const OfficeProcess* owner, std::vector<std::string> paths) {
    Leftovers& leftovers = TheLeftovers();
    std::lock_guard<std::mutex> guard(leftovers.lock_);
    if (paths.empty()) {
        leftovers.paths_.erase(owner);
    } else {
        leftovers.paths_[owner] = std::move(paths);
    }
}

void RemovePaths(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
}

std::string PipePath(const std::string& pipeName) {
    return "/tmp/OSL_PIPE_" + std::to_string(getuid()) + "_" + pipeName;
}

bool Utf8Locale() {
    const char* value = nullptr;
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            break;
        }
    }
    std::string text = value == nullptr ? "" : value;
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text.find("utf-8") != std::string::npos || text.find("utf8") != std::string::npos;
}

// Names that carry the id of the program that made them, so that what a killed
// program left behind can be recognised and removed by the next one.
const std::string kFolderPrefix = "pelmora-office-";
const std::string kPipePrefix = "pelmora_";

// The program id in name after prefix, or 0.
pid_t OwnerOf(const std::string& name, const std::string& prefix) {
    if (name.rfind(prefix, 0) != 0) {
        return 0;
    }
    return static_cast<pid_t>(std::strtol(name.c_str() + prefix.size(), nullptr, 10));
}

bool ProgramEnded(pid_t pid) {
    return pid > 0 && kill(pid, 0) != 0 && errno == ESRCH;
}

// Folders and pipes of offices whose program ended without cleaning up (it was
// killed or crashed; its offices died with it).
void RemoveLeftoversOfEndedPrograms() {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(fs::temp_directory_path(error), error)) {
        struct stat info {};
        const std::string name = entry.path().filename().string();
        if (ProgramEnded(OwnerOf(name, kFolderPrefix)) && lstat(entry.path().c_str(), &info) == 0 &&
            info.st_uid == getuid() && S_ISDIR(info.st_mode)) {
            RemovePaths({entry.path().string()});
        }
    }
    const std::string pipePrefix = "OSL_PIPE_" + std::to_string(getuid()) + "_" + kPipePrefix;
    // The office's own instance pipe is named by a hash of its profile, so it can
    // only be recognised as abandoned: a socket file of ours that no process holds.
    // Only old ones: a starting office creates the file a moment before it binds.
    const std::string instancePrefix = "OSL_PIPE_" + std::to_string(getuid()) + "_SingleOfficeIPC_";
    std::set<std::string> bound;
    std::ifstream table("/proc/net/unix");
    const bool known = table.is_open();
    for (std::string line; std::getline(table, line);) {
        const std::size_t path = line.find(" /");
        if (path != std::string::npos) {
            bound.insert(line.substr(path + 1));
        }
    }
    for (const auto& entry : fs::directory_iterator("/tmp", error)) {
        const std::string name = entry.path().filename().string();
        struct stat info {};
        const bool abandoned = name.rfind(instancePrefix, 0) == 0 && known &&
                               lstat(entry.path().c_str(), &info) == 0 && S_ISSOCK(info.st_mode) &&
                               info.st_uid == getuid() && time(nullptr) - info.st_mtime > 60 &&
                               !bound.count(entry.path().string());
        if (abandoned || ProgramEnded(OwnerOf(name, pipePrefix))) {
            RemovePaths({entry.path().string()});
        }
    }
}

// The bridge writes to the office's pipe from threads of its own: when the office
// dies mid-call, that write must fail with EPIPE rather than end our whole process
// (and every document after it). A handler the program installed itself is kept.
void IgnoreBrokenPipes() {
    struct sigaction current {};
    if (sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        sigaction(SIGPIPE, &ignore, nullptr);
    }
}

// The null-terminated array exec wants, pointing into texts.
std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// The processes parent has started from its main thread, as the kernel lists them now.
std::vector<pid_t> ChildrenOf(pid_t parent) {
    std::ifstream list("/proc/" + std::to_string(parent) + "/task/" + std::to_string(parent) +
                       "/children");
    std::vector<pid_t> children;
    for (pid_t child = 0; list >> child;) {
        children.push_back(child);
    }
    return children;
}

// A pidfd of child while it is still parent's child, so that it names that very
// process whatever becomes of its id; -1 when it is gone or pidfds are missing.
int OpenChild(pid_t parent, pid_t child) {
#ifdef SYS_pidfd_open
    const int fd = static_cast<int>(syscall(SYS_pidfd_open, child, 0));
    if (fd < 0) {
        return -1;
    }
    const std::vector<pid_t> children = ChildrenOf(parent);
    if (std::find(children.begin(), children.end(), child) != children.end()) {
        return fd; // pidfds are close-on-exec
    }
    close(fd);
#else
    (void)parent;
    (void)child;
#endif
    return -1;
}

std::string Describe(int status) {
    if (WIFSIGNALED(status)) {
        return "signal " + std::to_string(WTERMSIG(status));
    }
    return "exit code " + std::to_string(WEXITSTATUS(status));
}

} // namespace

OfficeProcess::OfficeProcess(const std::string& programFolder,
                             std::chrono::milliseconds startTimeLimit, const std::string& bwrap,
                             std::uint64_t memoryCeiling)
    : program_(programFolder + "/soffice.bin"), bwrap_(bwrap), memoryCeiling_(memoryCeiling) {
    if (access(program_.c_str(), X_OK) != 0) {
        throw ConverterError("LibreOffice is not installed: " + program_ + " is missing");
    }
    IgnoreBrokenPipes();
    RemoveLeftoversOfEndedPrograms();
    if (Sandboxed()) {
        // Nothing of a sandboxed office is on this machine's disk: its folders and
        // pipes are in the sandbox's own tmpfs.
        pipeName_ =
            kPipePrefix + std::to_string(getpid()) + "_" + std::to_string(std::random_device{}());
        Spawn(false);
        return;
    }
    const std::string prefix = kFolderPrefix + std::to_string(getpid()) + "-";
    std::string pattern = (fs::temp_directory_path() / (prefix + "XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw ConverterError("cannot create a temporary folder for LibreOffice: " +
                             std::string(std::strerror(errno)));
    }
    root_ = pattern;
    pipeName_ = kPipePrefix + std::to_string(getpid()) + "_" +
                fs::path(root_).filename().string().substr(prefix.size());
    RecordLeftovers(this, {root_, PipePath(pipeName_)});
    std::error_code error;
    fs::create_directories(root_ + "/tmp", error);
    fs::create_directories(root_ + "/home", error);
    fs::create_directories(WorkFolder(), error);
    try {
        // A fresh profile makes the office set itself up and then exit asking for a
        // restart; a client connected meanwhile would lose its bridge. So the
        // profile is prepared by a run of its own first.
        Spawn(true);
        const auto until = Clock::now() + startTimeLimit;
        while (Running()) {
            if (Clock::now() >= until) {
                Kill();
                throw ConverterError("LibreOffice did not prepare its profile in time");
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (endDescription_ != "exit code 0") {
            throw ConverterError("LibreOffice could not prepare its profile (" + endDescription_ +
                                 ")");
        }
        endDescription_.clear();
        Spawn(false);
    } catch (...) {
        RemoveLeftovers();
        RemovePaths({root_});
        RecordLeftovers(this, {});
        throw;
    }
}

std::string OfficeProcess::WorkFolder() const {
    if (!Sandboxed()) {
        return root_ + "/work";
    }
    return sandboxRoot_ < 0 ? std::string()
                            : "/proc/self/fd/" + std::to_string(sandboxRoot_) + "/tmp/work";
}

std::string OfficeProcess::OfficePath(const std::string& hostPath) const {
    const std::string root = "/proc/self/fd/" + std::to_string(sandboxRoot_);
    if (Sandboxed() && sandboxRoot_ >= 0 && hostPath.rfind(root + "/", 0) == 0) {
        return hostPath.substr(root.size());
    }
    return hostPath;
}

std::string OfficeProcess::SandboxPipePath() {
    if (sandboxRoot_ >= 0) {
        return "/proc/self/fd/" + std::to_string(sandboxRoot_) + "/tmp/" + sandboxPipe_;
    }
    if (pid_ == 0) {
        return {};
    }
    // bwrap's one child is the sandbox's first process.
    const std::vector<pid_t> children = ChildrenOf(pid_);
    if (children.empty()) {
        return {};
    }
    const pid_t child = children.front();
    if (sandboxInit_ < 0) {
        sandboxInit_ = OpenChild(pid_, child);
    }
    // Its root is the sandbox's only once the pipe is in it (before, it may still be
    // this machine's); a descriptor keeps it, whatever becomes of the process id.
    const std::string root = "/proc/" + std::to_string(child) + "/root";
    const std::string uid = std::to_string(getuid());
    for (const std::string& name : {"OSL_PIPE_" + pipeName_, "OSL_PIPE_" + uid + "_" + pipeName_}) {
        struct stat info {};
        if (lstat((root + "/tmp/" + name).c_str(), &info) != 0 || !S_ISSOCK(info.st_mode)) {
            continue;
        }
        const int fd = open(root.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        const std::string path = "/proc/self/fd/" + std::to_string(fd) + "/tmp/" + name;
        if (fd >= 0 && lstat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode)) {
            sandboxRoot_ = fd;
            sandboxPipe_ = name;
            return path;
        }
        if (fd >= 0) {
            close(fd);
        }
    }
    return {};
}

OfficeProcess::~OfficeProcess() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        quitting_ = true;
    }
    wake_.notify_all();
    if (watchdog_.joinable()) {
        watchdog_.join();
    }
    Kill();
    if (sandboxInit_ >= 0) {
        close(sandboxInit_);
    }
    if (!root_.empty()) {
        RemovePaths({root_});
    }
    RecordLeftovers(this, {});
}

std::vector<std::string> OfficeProcess::Arguments(bool prepareProfile) const {
    const std::string root = Sandboxed() ? kSandboxPrivateFolder : root_;
    std::vector<std::string> args = {
        program_,      "-env:UserInstallation=" + FileUrl(root + "/profile"),
        "--headless",  "--invisible",
        "--norestore", "--nologo",
        "--nodefault", "--nolockcheck",
    };
    const std::string accept =
        "--accept=pipe,name=" + pipeName_ + ";urp;StarOffice.ComponentContext";
    if (Sandboxed()) {
        args = SandboxCommand(bwrap_, fs::path(program_).parent_path().string(),
                              RunTwiceCommand(args, "--terminate_after_init", accept));
    } else {
        args.push_back(prepareProfile ? "--terminate_after_init" : accept);
    }
    return args;
}

std::vector<std::string> OfficeProcess::Environment() const {
    // The office's own temporary files and whatever it keeps in HOME (dconf, ~/.config)
    // go into its private folder: the user's own HOME is never written. (The sandbox
    // sets them for the office itself.)
    std::vector<std::string> env;
    if (!Sandboxed()) {
        env = {"TMPDIR=" + root_ + "/tmp", "HOME=" + root_ + "/home"};
    }
    // The office turns file URLs into names with its locale's character set: without
    // UTF-8 there, "Bericht für 2024.doc" could be neither read nor written.
    const bool utf8 = Utf8Locale();
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        const bool ownFolder = entry.rfind("TMPDIR=", 0) == 0 || entry.rfind("HOME=", 0) == 0 ||
                               entry.rfind("XDG_CONFIG_HOME=", 0) == 0 ||
                               entry.rfind("XDG_CACHE_HOME=", 0) == 0;
        if ((ownFolder && !Sandboxed()) || (!utf8 && entry.rfind("LC_CTYPE=", 0) == 0)) {
            continue;
        }
        if (!utf8 && entry.rfind("LC_ALL=", 0) == 0) {
            env.push_back("LANG=" + entry.substr(7)); // keeps the rest of the locale
            continue;
        }
        if (!utf8 && entry.rfind("LANG=", 0) == 0 && std::getenv("LC_ALL") != nullptr) {
            continue;
        }
        env.push_back(entry);
    }
    if (!utf8) {
        env.emplace_back("LC_CTYPE=C.UTF-8");
    }
    return env;
}

void OfficeProcess::Spawn(bool prepareProfile) {
    std::vector<std::string> args = Arguments(prepareProfile);
    std::vector<std::string> env = Environment();
    std::vector<char*> argv = Pointers(args);
    std::vector<char*> envp = Pointers(env);

    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        throw ConverterError("cannot start LibreOffice: " + std::string(std::strerror(errno)));
    }
    // Ctrl+C between fork and registration must not leave an unknown office behind.
    sigset_t all;
    sigset_t previous;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &previous);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        // Only async-signal-safe calls until exec.
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) {
            _exit(127);
        }
        int null = open("/dev/null", O_RDWR);
        if (null >= 0) {
            dup2(null, 0);
            dup2(null, 1);
            dup2(null, 2);
        }
        sigprocmask(SIG_SETMASK, &previous, nullptr);
        execve(argv[0], argv.data(), envp.data());
        int code = errno;
        (void)!write(report[1], &code, sizeof code);
        _exit(127);
    }
    const int forkError = errno;
    if (pid > 0) {
        setpgid(pid, pid);
        std::lock_guard<std::mutex> guard(lock_);
        pid_ = pid;
        slot_ = RegisterPid(pid);
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    close(report[1]);
    if (pid < 0) {
        close(report[0]);
        throw ConverterError("cannot start LibreOffice: " + std::string(std::strerror(forkError)));
    }
    int execError = 0;
    const ssize_t got = read(report[0], &execError, sizeof execError);
    close(report[0]);
    if (got == static_cast<ssize_t>(sizeof execError)) {
        Kill();
        throw ConverterError("cannot start LibreOffice " + program_ + ": " +
                             std::strerror(execError));
    }
}

pid_t OfficeProcess::Release() {
    std::lock_guard<std::mutex> guard(lock_);
    const pid_t pid = pid_;
    pid_ = 0;
    if (sandboxRoot_ >= 0) {
        close(sandboxRoot_);
        sandboxRoot_ = -1;
    }
    UnregisterPid(slot_);
    slot_ = -1;
    return pid;
}

void OfficeProcess::Reap(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    endDescription_ = Describe(status);
    // The sandbox's first process and the office below it are in a session of their
    // own, out of a kill's reach: they die with bwrap, a moment later. An office has
    // only ended once they are gone.
    int sandboxInit = -1;
    {
        std::lock_guard<std::mutex> guard(lock_);
        std::swap(sandboxInit, sandboxInit_);
    }
    if (sandboxInit >= 0) {
        pollfd ended{sandboxInit, POLLIN, 0};
        poll(&ended, 1, 2000);
        close(sandboxInit);
    }
}

bool OfficeProcess::Running() {
    if (pid_ == 0) {
        return false;
    }
    // Look without reaping, so the pid stays ours (and safe to kill from a signal
    // handler) until it has left the registry.
    siginfo_t info{};
    if (waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0 ||
        info.si_pid == 0) {
        return true;
    }
    Reap(Release());
    RemoveLeftovers();
    return false;
}

void OfficeProcess::NoteSockets() {
    if (pid_ == 0 || Sandboxed()) {
        return;
    }
    std::set<std::string> inodes;
    std::error_code error;
    const std::string fdFolder = "/proc/" + std::to_string(pid_) + "/fd";
    for (const auto& entry : fs::directory_iterator(fdFolder, error)) {
        std::error_code linkError;
        const std::string target = fs::read_symlink(entry.path(), linkError).string();
        if (!linkError && target.rfind("socket:[", 0) == 0) {
            inodes.insert(target.substr(8, target.size() - 9));
        }
    }
    std::ifstream table("/proc/net/unix");
    std::string line;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string num, refs, protocol, flags, type, state, inode, path;
        fields >> num >> refs >> protocol >> flags >> type >> state >> inode >> path;
        // Only the office's own named pipes: nothing else may ever be removed.
        if (inodes.count(inode) && path.rfind("/tmp/OSL_PIPE_", 0) == 0 &&
            std::find(sockets_.begin(), sockets_.end(), path) == sockets_.end()) {
            sockets_.push_back(path);
        }
    }
    std::vector<std::string> paths = {root_, PipePath(pipeName_)};
    paths.insert(paths.end(), sockets_.begin(), sockets_.end());
    RecordLeftovers(this, paths);
}

void OfficeProcess::RemoveLeftovers() {
    if (Sandboxed()) {
        return; // everything went with the sandbox
    }
    std::vector<std::string> paths = sockets_;
    paths.push_back(PipePath(pipeName_));
    RemovePaths(paths);
    RemovePaths({root_ + "/tmp"});
    std::error_code ignored;
    fs::create_directories(root_ + "/tmp", ignored);
}

void OfficeProcess::Stop(std::chrono::milliseconds grace) {
    const auto until = Clock::now() + grace;
    while (Running()) {
        if (Clock::now() >= until) {
            Kill();
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void OfficeProcess::Kill() {
    NoteSockets(); // those of a process killed while starting are not known yet
    const pid_t pid = Release();
    if (pid == 0) {
        return;
    }
    // Still a zombie at worst, so the id cannot have been reused yet.
    killpg(pid, SIGKILL);
    kill(pid, SIGKILL);
    Reap(pid);
    RemoveLeftovers();
}

void OfficeProcess::Arm(Clock::time_point deadline) {
    std::lock_guard<std::mutex> guard(lock_);
    deadline_ = deadline;
    armed_ = true;
    if (!watchdog_.joinable()) {
        watchdog_ = std::thread([this] { WatchLoop(); });
    }
    wake_.notify_all();
}

void OfficeProcess::Disarm() {
    std::lock_guard<std::mutex> guard(lock_);
    armed_ = false;
    wake_.notify_all();
}

bool OfficeProcess::TimedOut() const {
    std::lock_guard<std::mutex> guard(lock_);
    return timedOut_;
}

bool OfficeProcess::MemoryExceeded() const {
    std::lock_guard<std::mutex> guard(lock_);
    return memoryExceeded_;
}

void OfficeProcess::WatchLoop() {
    // A ceiling is overshot by one sampling step's growth at most before the office
    // is ended; far below it, the office is read less often.
    auto sampling = NextMemorySample(memoryCeiling_, memoryCeiling_); // unknown: one step
    auto nextSample = Clock::now();
    std::unique_lock<std::mutex> guard(lock_);
    while (!quitting_) {
        if (!armed_) {
            wake_.wait(guard);
            nextSample = Clock::now() + sampling;
            continue;
        }
        const auto wake = memoryCeiling_ > 0 ? std::min(deadline_, nextSample) : deadline_;
        wake_.wait_until(guard, wake);
        if (!armed_ || quitting_ || pid_ == 0) {
            continue;
        }
        const bool late = Clock::now() >= deadline_;
        bool big = false;
        if (!late && memoryCeiling_ > 0 && Clock::now() >= nextSample) {
            const std::uint64_t used = ProcessTreeMemory(pid_);
            big = used > memoryCeiling_;
            sampling = NextMemorySample(used, memoryCeiling_);
            nextSample = Clock::now() + sampling;
        }
        if (late || big) {
            // Killing ends the call: the bridge breaks and the waiting thread gets
            // its error. Reaping stays with that thread.
            killpg(pid_, SIGKILL);
            kill(pid_, SIGKILL);
            (late ? timedOut_ : memoryExceeded_) = true;
            armed_ = false;
        }
    }
}

std::string FileUrl(const std::string& path) {
    static const char* hex = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : path) {
        if (std::isalnum(c) || std::strchr("/-._~", c)) {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += hex[c >> 4];
            url += hex[c & 15];
        }
    }
    return url;
}

void EmergencyStopOffices() noexcept {
    for (auto& slot : gOfficePids) {
        const pid_t pid = slot.load();
        if (pid > 0) {
            killpg(pid, SIGKILL);
            kill(pid, SIGKILL);
        }
    }
}

void RemoveOfficeLeftovers() {
    Leftovers& leftovers = TheLeftovers();
    std::lock_guard<std::mutex> guard(leftovers.lock_);
    for (const auto& [owner, paths] : leftovers.paths_) {
        RemovePaths(paths);
    }
}

} // namespace pelmora
