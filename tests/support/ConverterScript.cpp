#include "tests/support/ConverterScript.h"

#include "engine/Converter.h"

#include <algorithm>

namespace pelmora::test {

long ConverterScript::Count(const std::string& call) {
    std::lock_guard lock(mutex_);
    return std::count(calls_.begin(), calls_.end(), call);
}

void ConverterScript::ClearCalls() {
    std::lock_guard lock(mutex_);
    calls_.clear();
}

void ConverterScript::Record(const std::string& call) {
    calls_.push_back(call);
    if (!refuse_.empty() && call.rfind(refuse_, 0) == 0) {
        throw ConverterError("refused " + call);
    }
}

} // namespace pelmora::test
