#pragma once
// The name of today's default log file, built from the clock independently of the
// program's own code.

#include <string>

namespace pelmora::test {

/// Today's log file name, the date written year first: "2026-12-08.log".
std::string DayLogName();

} // namespace pelmora::test
