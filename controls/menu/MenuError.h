#pragma once

#include "controls/paint/ControlError.h"

namespace pelmora {

/// Raises one of the menu's numbered errors (6, 35601, 35607) with its standard description and
/// the source text of `typeName` and `method`.
[[noreturn]] void RaiseMenuError(int number, const char* typeName, const char* method);

} // namespace pelmora
