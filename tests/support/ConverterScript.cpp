#include "tests/support/ConverterScript.h"

#include "engine/WordAutomation.h"

#include <algorithm>

namespace pelmora::test {

void ConverterScript::SetFailStart(bool fail) {
    Locked([&] { failStart_ = fail; });
}

void ConverterScript::FailNextStarts(int count) {
    Locked([&] { failNextStarts_ = count; });
}

void ConverterScript::SetRefuse(const std::string& call) {
    Locked([&] { refuse_ = call; });
}

void ConverterScript::SetFailOpen(const std::string& message) {
    Locked([&] { failOpen_ = message; });
}

void ConverterScript::SetFailSave(const std::string& message) {
    Locked([&] { failSave_ = message; });
}

void ConverterScript::SetWritePage(bool write) {
    Locked([&] { writePage_ = write; });
}

void ConverterScript::SetPage(const std::string& page) {
    Locked([&] { page_ = page; });
}

void ConverterScript::SetPicture(const std::string& content) {
    Locked([&] { picture_ = content; });
}

void ConverterScript::SetOnOpen(std::function<void(const std::string&)> onOpen) {
    std::lock_guard lock(mutex_);
    onOpen_ = std::move(onOpen);
}

std::vector<std::string> ConverterScript::Calls() {
    return Locked([&] { return calls_; });
}

long ConverterScript::Count(const std::string& call) {
    std::lock_guard lock(mutex_);
    return std::count(calls_.begin(), calls_.end(), call);
}

void ConverterScript::ClearCalls() {
    std::lock_guard lock(mutex_);
    calls_.clear();
}

std::vector<std::string> ConverterScript::Opened() {
    return Locked([&] { return opened_; });
}

std::vector<std::string> ConverterScript::Passwords() {
    return Locked([&] { return passwords_; });
}

std::string ConverterScript::Folder() {
    return Locked([&] { return folder_; });
}

int ConverterScript::Started() {
    return Locked([&] { return started_; });
}

void ConverterScript::Record(const std::string& call) {
    calls_.push_back(call);
    if (!refuse_.empty() && call.rfind(refuse_, 0) == 0) {
        throw AutomationError("refused " + call);
    }
}

} // namespace pelmora::test
