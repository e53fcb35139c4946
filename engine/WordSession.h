#pragma once
// The converter session of one run: opened once, used for every document, closed
// at the end.

#include "engine/WordAutomation.h"

#include <chrono>
#include <memory>
#include <optional>

namespace pelmora {

/// The automation object of one run; empty while no session is open.
struct WordSession {
    std::unique_ptr<AutomationApplication> application;
};

/// Creates "Word.Application" and switches its alerts and prompts off; with
/// documentTimeLimit, also sets how long one document may take (else the
/// converter's own limit stays). False when the converter cannot be started; the
/// session is then empty.
bool OpenWordSession(WordSession& session,
                     std::optional<std::chrono::milliseconds> documentTimeLimit = std::nullopt);

/// Quits the converter and empties the session; safe on a session never opened.
void CloseWordSession(WordSession& session);

/// Ends every converter this program has started, at once: the documents they are
/// converting fail. Async-signal-safe, for a Ctrl+C handler; call
/// RemoveWordSessionLeftovers() once the sessions are closed.
void StopWordSessionsNow() noexcept;

/// Removes what converters ended by StopWordSessionsNow() could not remove
/// themselves; call it only when no session is in use any more.
void RemoveWordSessionLeftovers();

} // namespace pelmora
