#include "engine/AutomationRegistry.h"

#include "engine/libreoffice/LibreOfficeApplication.h"

#include <algorithm>
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
    std::mutex lock;
    std::map<std::string, AutomationFactory> factories;
};

// The one registry of the process; guarded because the window's run may create
// its session off the window's thread.
Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

} // namespace

void RegisterAutomationFactory(const std::string& progId, AutomationFactory factory) {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> guard(registry.lock);
    if (factory) {
        registry.factories[Folded(progId)] = std::move(factory);
    } else {
        registry.factories.erase(Folded(progId));
    }
}

std::unique_ptr<AutomationApplication> CreateObject(const std::string& progId) {
    AutomationFactory factory;
    {
        Registry& registry = TheRegistry();
        std::lock_guard<std::mutex> guard(registry.lock);
        auto it = registry.factories.find(Folded(progId));
        if (it != registry.factories.end()) {
            factory = it->second;
        }
    }
    if (!factory && Folded(progId) == "word.application") {
        // LibreOffice stands in for Word unless a test has put something else there.
        factory = LibreOfficeFactory();
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

} // namespace pelmora
