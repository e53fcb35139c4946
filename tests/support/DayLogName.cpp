#include "tests/support/DayLogName.h"

#include <cstdio>
#include <ctime>

namespace pelmora::test {

std::string DayLogName() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char name[32];
    std::snprintf(name, sizeof name, "%04d-%02d-%02d.log", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday);
    return name;
}

} // namespace pelmora::test
