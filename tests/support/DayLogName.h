#pragma once
// The name of today's default log file, built from the clock independently of the
// program's own code.

#include <string>

namespace pelmora::test {

/// Today's log file name as the C locale writes the short date: "12-08-26.log".
std::string DayLogNameInCLocale();

} // namespace pelmora::test
