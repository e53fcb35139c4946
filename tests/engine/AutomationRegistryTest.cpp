#include "engine/AutomationRegistry.h"

#include <gtest/gtest.h>

namespace pelmora {
namespace {

class NullApplication : public AutomationApplication {
public:
    void SetDisplayAlerts(std::int16_t) override {}
    AutomationOptions& Options() override { throw AutomationError("no options"); }
    AutomationDocuments& Documents() override { throw AutomationError("no documents"); }
    void ChangeFileOpenDirectory(const std::string&) override {}
    void Quit() override {}
};

TEST(AutomationRegistry, CreatesRegisteredObjectByNameWithoutRegardToCase) {
    int made = 0;
    RegisterAutomationFactory("Test.Registry", [&made] {
        ++made;
        return std::make_unique<NullApplication>();
    });
    EXPECT_NE(CreateObject("TEST.registry"), nullptr);
    EXPECT_EQ(made, 1);
    RegisterAutomationFactory("Test.Registry", {});
    EXPECT_THROW(CreateObject("Test.Registry"), AutomationError);
}

TEST(AutomationRegistry, FactoryThatReturnsNothingOrThrowsIsAnAutomationError) {
    RegisterAutomationFactory("Test.Empty", [] { return std::unique_ptr<AutomationApplication>(); });
    EXPECT_THROW(CreateObject("Test.Empty"), AutomationError);
    RegisterAutomationFactory("Test.Empty", []() -> std::unique_ptr<AutomationApplication> {
        throw AutomationError("converter missing");
    });
    try {
        CreateObject("Test.Empty");
        FAIL() << "expected an AutomationError";
    } catch (const AutomationError& e) {
        EXPECT_STREQ(e.what(), "converter missing");
    }
    RegisterAutomationFactory("Test.Empty", {});
}

} // namespace
} // namespace pelmora
