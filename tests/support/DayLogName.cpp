#include "tests/support/DayLogName.h"

#include <cstdio>
#include <ctime>

namespace pelmora::test {

std::string DayLogNameInCLocale() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char name[32];
    std::snprintf(name, sizeof name, "%02d-%02d-%02d.log", local.tm_mon + 1, local.tm_mday,
                  local.tm_year % 100);
    return name;
}

} // namespace pelmora::test
