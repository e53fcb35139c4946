#pragma once
// The default log name expected in the C locale, built from the calendar fields rather
// than from any date formatting, so a test compares against an independent name.

#include <cstdio>
#include <ctime>
#include <string>

namespace pelmora::test {

/// "MM-DD-YY.log" for the local date of when: the C locale's short date with its "/"
/// made "-".
inline std::string CLocaleLogName(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char name[32] = {};
    std::snprintf(name, sizeof name, "%02d-%02d-%02d.log", local.tm_mon + 1, local.tm_mday,
                  local.tm_year % 100);
    return name;
}

} // namespace pelmora::test
