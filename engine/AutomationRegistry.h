#pragma once
// Maps automation names such as "Word.Application" to factories, so tests can put
// a fake converter in place of the real one.

#include "engine/WordAutomation.h"

#include <functional>
#include <memory>
#include <string>

namespace pelmora {

/// Makes a new application object; throws AutomationError when it cannot.
using AutomationFactory = std::function<std::unique_ptr<AutomationApplication>()>;

/// Registers factory under progId (compared without regard to case), replacing any
/// earlier one; an empty factory removes the entry.
void RegisterAutomationFactory(const std::string& progId, AutomationFactory factory);

/// Creates the object registered as progId; throws AutomationError when no factory
/// is registered or the factory fails.
std::unique_ptr<AutomationApplication> CreateObject(const std::string& progId);

} // namespace pelmora
