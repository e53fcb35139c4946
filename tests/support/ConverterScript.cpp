#include "tests/support/ConverterScript.h"

#include "engine/WordAutomation.h"

#include <algorithm>

namespace pelmora::test {

void ConverterScript::SetFailStart(bool fail) {
    std::lock_guard lock(mutex_);
    failStart_ = fail;
}

void ConverterScript::SetRefuse(const std::string& call) {
    std::lock_guard lock(mutex_);
    refuse_ = call;
}

void ConverterScript::SetFailOpen(const std::string& message) {
    std::lock_guard lock(mutex_);
    failOpen_ = message;
}

void ConverterScript::SetFailSave(const std::string& message) {
    std::lock_guard lock(mutex_);
    failSave_ = message;
}

void ConverterScript::SetWritePage(bool write) {
    std::lock_guard lock(mutex_);
    writePage_ = write;
}

void ConverterScript::SetPage(const std::string& page) {
    std::lock_guard lock(mutex_);
    page_ = page;
}

void ConverterScript::SetPicture(const std::string& content) {
    std::lock_guard lock(mutex_);
    picture_ = content;
}

void ConverterScript::SetOnOpen(std::function<void(const std::string&)> onOpen) {
    std::lock_guard lock(mutex_);
    onOpen_ = std::move(onOpen);
}

std::vector<std::string> ConverterScript::Calls() {
    std::lock_guard lock(mutex_);
    return calls_;
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
    std::lock_guard lock(mutex_);
    return opened_;
}

std::vector<std::string> ConverterScript::Passwords() {
    std::lock_guard lock(mutex_);
    return passwords_;
}

std::string ConverterScript::Folder() {
    std::lock_guard lock(mutex_);
    return folder_;
}

int ConverterScript::Started() {
    std::lock_guard lock(mutex_);
    return started_;
}

void ConverterScript::Record(const std::string& call) {
    calls_.push_back(call);
    if (!refuse_.empty() && call.rfind(refuse_, 0) == 0) {
        throw AutomationError("refused " + call);
    }
}

} // namespace pelmora::test
