#pragma once
// Maps automation names such as "Word.Application" to factories. The registry knows
// no implementation of its own: the program registers the real converter at start,
// and tests put a fake one in its place.

#include "engine/WordAutomation.h"

#include <functional>
#include <memory>
#include <string>

namespace pelmora {

/// Makes a new application object; throws AutomationError when it cannot.
using AutomationFactory = std::function<std::unique_ptr<AutomationApplication>()>;

/// Registers factory under progId (compared without regard to case), replacing any
/// earlier one; an empty factory removes the entry. Returns the factory it replaced
/// (empty when there was none), so a caller can put it back.
AutomationFactory RegisterAutomationFactory(const std::string& progId, AutomationFactory factory);

/// Creates the object registered as progId; throws AutomationError when no factory
/// is registered or the factory fails.
std::unique_ptr<AutomationApplication> CreateObject(const std::string& progId);

/// How the converters a registered implementation starts are ended when the program
/// must stop at once; either may be empty.
struct ConverterCleanup {
    /// Ends every converter process now; must be async-signal-safe.
    void (*stopNow)() noexcept = nullptr;
    /// Removes the temporary files of converters stopNow ended.
    void (*removeLeftovers)() = nullptr;
};

/// Registers the cleanup of the converter implementation, replacing any earlier one.
void RegisterConverterCleanup(ConverterCleanup cleanup);

/// The cleanup registered last; safe to call from a signal handler.
ConverterCleanup RegisteredConverterCleanup() noexcept;

} // namespace pelmora
