#pragma once
// One private headless LibreOffice process: started with its own temporary profile,
// temporary folder and pipe name, so it never meets the user's own office, and
// killed with everything it left behind when it is no longer wanted.

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pelmora {

/// A headless soffice.bin child process with its private folders and a watchdog.
class OfficeProcess {
public:
    using Clock = std::chrono::steady_clock;

    /// Prepares a fresh profile, then starts programFolder/soffice.bin accepting
    /// connections on PipeName(); throws ConverterError when it cannot. With a bwrap
    /// program, both happen in one sandbox whose private folder dies with it.
    /// memoryCeiling (bytes, 0: none) is the most the office may hold during a call.
    OfficeProcess(const std::string& programFolder, std::chrono::milliseconds startTimeLimit,
                  const std::string& bwrap = {}, std::uint64_t memoryCeiling = 0);
    /// Kills the process if it still runs and removes its folders.
    ~OfficeProcess();
    OfficeProcess(const OfficeProcess&) = delete;
    OfficeProcess& operator=(const OfficeProcess&) = delete;

    /// The name of the pipe the office accepts UNO connections on.
    const std::string& PipeName() const { return pipeName_; }
    /// A private scratch folder (ends without separator) removed with the process,
    /// as this process reaches it; empty while a sandbox is still being made.
    std::string WorkFolder() const;
    /// hostPath, a path in WorkFolder(), as the office sees it.
    std::string OfficePath(const std::string& hostPath) const;
    /// True when the office runs in a sandbox.
    bool Sandboxed() const { return !bwrap_.empty(); }
    /// The sandboxed office's pipe as this process reaches it; empty until known.
    std::string SandboxPipePath();
    /// The process id, 0 once the process has been reaped.
    pid_t Pid() const { return pid_; }

    /// True while the process runs; reaps it when it has ended.
    bool Running();
    /// How the process ended ("exit code N", "signal N"), or empty while it runs.
    const std::string& EndDescription() const { return endDescription_; }

    /// Remembers the listening sockets the office has created, so they can be
    /// removed should it be killed; call once it accepts connections.
    void NoteSockets();

    /// Waits up to grace for the process to end by itself, then kills it.
    void Stop(std::chrono::milliseconds grace);
    /// Kills the process now.
    void Kill();

    /// Kills the process when deadline passes before Disarm() is called.
    void Arm(Clock::time_point deadline);
    void Disarm();

    /// Arms the watchdog for one call, disarming it when the call ends.
    class Watch {
    public:
        Watch(OfficeProcess& process, Clock::time_point deadline) : process_(process) {
            process_.Arm(deadline);
        }
        ~Watch() { process_.Disarm(); }
        Watch(const Watch&) = delete;
        Watch& operator=(const Watch&) = delete;

    private:
        OfficeProcess& process_;
    };
    /// True once the watchdog has killed the process for its time.
    bool TimedOut() const;
    /// True once the watchdog has killed the process for its memory.
    bool MemoryExceeded() const;

private:
    std::vector<std::string> Arguments(bool prepareProfile) const;
    std::vector<std::string> Environment() const;
    void Spawn(bool prepareProfile);
    pid_t Release();
    void Reap(pid_t pid);
    void WatchLoop();
    void RemoveLeftovers();

    std::string program_;
    std::string bwrap_;
    std::uint64_t memoryCeiling_ = 0;
    std::string root_;
    int sandboxRoot_ = -1; // the sandbox's root folder, once its pipe is there
    int sandboxInit_ = -1; // a pidfd of the sandbox's first process, in a session of its own
    std::string sandboxPipe_;
    std::string pipeName_;
    pid_t pid_ = 0;
    int slot_ = -1;
    std::string endDescription_;
    std::vector<std::string> sockets_;

    mutable std::mutex lock_;
    std::condition_variable wake_;
    std::thread watchdog_;
    Clock::time_point deadline_ = Clock::time_point::max();
    bool armed_ = false;
    bool quitting_ = false;
    bool timedOut_ = false;
    bool memoryExceeded_ = false;
};

/// A file:// URL for an absolute path. Every byte outside the unreserved characters
/// is escaped, so names reach the office exactly, whatever the locale.
std::string FileUrl(const std::string& path);

/// Kills every office process this program has started. Async-signal-safe: meant
/// for a Ctrl+C handler; call RemoveOfficeLeftovers() afterwards.
void EmergencyStopOffices() noexcept;

/// Removes the temporary folders and pipes of offices that EmergencyStopOffices()
/// killed (or that are still running: call it only when the offices are no longer
/// used).
void RemoveOfficeLeftovers();

} // namespace pelmora
