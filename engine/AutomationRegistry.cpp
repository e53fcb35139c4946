#include "engine/AutomationRegistry.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <map>
#include <mutex>

namespace pelmora {

namespace {

std::string Folded(const std::string& text) {
    std::string out = text;
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

struct Registry {
    std::mutex lock_;
    std::map<std::string, AutomationFactory> factories_;
};

// The registry's cleanup part. Signal handlers read it, so it is constant-initialized
// and lock-free rather than a member of the lazily made registry.
std::atomic<void (*)() noexcept> gStopNow{nullptr};
std::atomic<void (*)()> gRemoveLeftovers{nullptr};

// The one registry of the process; guarded because the window's run may create
// its session off the window's thread.
Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

} // namespace

AutomationFactory RegisterAutomationFactory(const std::string& progId, AutomationFactory factory) {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> guard(registry.lock_);
    AutomationFactory replaced;
    auto it = registry.factories_.find(Folded(progId));
    if (it != registry.factories_.end()) {
        replaced = std::move(it->second);
        registry.factories_.erase(it);
    }
    if (factory) {
        registry.factories_[Folded(progId)] = std::move(factory);
    }
    return replaced;
}

std::unique_ptr<AutomationApplication> CreateObject(const std::string& progId) {
    AutomationFactory factory;
    {
        Registry& registry = TheRegistry();
        std::lock_guard<std::mutex> guard(registry.lock_);
        auto it = registry.factories_.find(Folded(progId));
        if (it != registry.factories_.end()) {
            factory = it->second;
        }
    }
    if (!factory) {
        throw AutomationError("ActiveX component can't create object: " + progId);
    }
    std::unique_ptr<AutomationApplication> app = factory();
    if (!app) {
        throw AutomationError("ActiveX component can't create object: " + progId);
    }
    return app;
}

void RegisterConverterCleanup(ConverterCleanup cleanup) {
    gStopNow = cleanup.stopNow;
    gRemoveLeftovers = cleanup.removeLeftovers;
}

ConverterCleanup RegisteredConverterCleanup() noexcept {
    return ConverterCleanup{gStopNow.load(), gRemoveLeftovers.load()};
}

} // namespace pelmora
