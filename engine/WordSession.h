#pragma once
// The converter session of one run: opened once, used for every document, closed
// at the end.

#include "engine/WordAutomation.h"

#include <memory>

namespace pelmora {

/// The automation object of one run; empty while no session is open.
struct WordSession {
    std::unique_ptr<AutomationApplication> application;
};

/// Creates "Word.Application" and switches its alerts and prompts off. False when
/// the converter cannot be started; the session is then empty.
bool OpenWordSession(WordSession& session);

/// Quits the converter and empties the session; safe on a session never opened.
void CloseWordSession(WordSession& session);

} // namespace pelmora
