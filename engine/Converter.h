#pragma once
// The document converter the engine drives: the front ends hand the engine a factory,
// the engine opens sessions from it, and a session converts one open document at a
// time. The real converter drives LibreOffice; tests use a recording one.

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace pelmora {

/// A failed converter call; what() is the description that log line 103 repeats.
class ConverterError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// An open refused because the password is wrong or missing; another password may work.
class ConverterPasswordError : public ConverterError {
public:
    using ConverterError::ConverterError;
};

/// One document a session has open.
class ConverterDocument {
public:
    virtual ~ConverterDocument() = default;
    /// Writes the document as the HTML page fileName (no folder) into folder.
    virtual void SaveAsPage(const std::string& folder, const std::string& fileName) = 0;
    /// Closes the document without saving.
    virtual void Close() = 0;
};

/// One started converter. It shows no alerts and never prompts: whatever it would ask
/// is answered for a run that has nobody to answer.
class ConverterSession {
public:
    virtual ~ConverterSession() = default;
    /// Opens fileName read-only; an empty password means none. A wrong or missing
    /// password throws ConverterPasswordError, any other failure ConverterError.
    virtual std::unique_ptr<ConverterDocument> Open(const std::string& fileName,
                                                    const std::string& password) = 0;
    /// Ends the converter; the session is unusable afterwards.
    virtual void Quit() = 0;
    /// The process id of the converter's office now running; 0 when none runs or the
    /// converter has no process of its own.
    virtual int OfficeProcessId() const { return 0; }
};

/// Whether converters run in a sandbox: where it works (falling back with a
/// warning), always (refusing to run without it) or never.
enum class SandboxMode { kAuto, kOn, kOff };

/// Starts converter sessions: what a front end hands the engine.
class ConverterFactory {
public:
    virtual ~ConverterFactory() = default;
    /// Starts a session; with documentTimeLimit, one document may take that long from
    /// Open to Close (else the converter's own limit holds). Throws ConverterError when
    /// the converter cannot be started.
    virtual std::unique_ptr<ConverterSession>
    OpenSession(std::optional<std::chrono::milliseconds> documentTimeLimit) = 0;
    /// Ends every converter this factory's sessions started, at once: the documents
    /// they are converting fail. Async-signal-safe, for a Ctrl+C handler.
    virtual void StopAllNow() noexcept {}
    /// Removes what converters ended by StopAllNow() could not remove themselves; call
    /// it only when no session is in use any more.
    virtual void RemoveLeftovers() {}
    /// Confines the converters started from now on: in a sandbox as mode says, and
    /// ended when one holds more than memoryCeiling bytes while it converts (0: never).
    /// Returns why the sandbox cannot be used; empty when it is used or mode is kOff.
    virtual std::string Confine(SandboxMode mode, std::uint64_t memoryCeiling) {
        (void)mode;
        (void)memoryCeiling;
        return {};
    }
};

/// Starts a session of converter; empty when the converter cannot be started.
std::unique_ptr<ConverterSession>
StartSession(ConverterFactory& converter,
             std::optional<std::chrono::milliseconds> documentTimeLimit = std::nullopt);

/// Quits the converter of session and empties it; safe on an empty session.
void EndSession(std::unique_ptr<ConverterSession>& session);

} // namespace pelmora
