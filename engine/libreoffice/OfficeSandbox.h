#pragma once
// The bubblewrap sandbox an office runs in: it sees the LibreOffice installation,
// system libraries, fonts and their configuration read-only, and one private
// folder of its own (a tmpfs that dies with the sandbox). No network, no other
// process, no HOME, no source or output folder; it dies with its parent.

#include "engine/Converter.h"

#include <string>
#include <vector>

namespace pelmora {

/// The sandbox a run uses.
struct SandboxChoice {
    std::string bwrap;   ///< the bwrap program; empty: offices run without the sandbox
    std::string problem; ///< why the sandbox cannot be used; empty when it can (or kOff)
};

/// Looks, unless mode is kOff, whether the sandbox works here for programFolder's
/// office; with kAuto and kOn alike, a problem leaves bwrap empty.
SandboxChoice ChooseSandbox(SandboxMode mode, const std::string& programFolder);

/// The private folder as the office sees it: its profile, temporary files, HOME,
/// the copy of the current document, the page it writes and its UNO pipe.
inline constexpr const char* kSandboxPrivateFolder = "/tmp";
/// The shell the sandbox offers, to run the office's two starts in one sandbox.
inline constexpr const char* kSandboxShell = "/usr/bin/sh";

/// The bwrap program on PATH, or empty when there is none.
std::string FindBubblewrap();

/// The command that runs command (given as the sandbox sees it) under bwrap, with
/// programFolder's installation visible. Host paths that do not exist are left out.
std::vector<std::string> SandboxCommand(const std::string& bwrap, const std::string& programFolder,
                                        const std::vector<std::string>& command);

/// The command, to be wrapped by SandboxCommand, that runs office with its
/// arguments plus prepareArgument to a successful end, then replaces itself by
/// office with its arguments plus serveArgument.
std::vector<std::string> RunTwiceCommand(const std::vector<std::string>& office,
                                         const std::string& prepareArgument,
                                         const std::string& serveArgument);

/// Empty when a sandbox for programFolder can be started here; otherwise why not,
/// in words (bwrap missing, user namespaces refused...). Starts one sandbox.
std::string SandboxProblem(const std::string& bwrap, const std::string& programFolder);

/// The path under which this process reaches path inside the sandbox whose first
/// process is sandboxPid.
std::string HostPathInSandbox(int sandboxPid, const std::string& path);

} // namespace pelmora
