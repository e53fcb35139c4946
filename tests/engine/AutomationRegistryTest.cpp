#include "engine/AutomationRegistry.h"

#include "tests/support/RecordingConverter.h"

#include <gtest/gtest.h>

namespace pelmora {
namespace {

TEST(AutomationRegistry, CreatesRegisteredObjectByNameWithoutRegardToCase) {
    {
        test::RecordingConverter converter("Test.Registry");
        EXPECT_NE(CreateObject("TEST.registry"), nullptr);
        EXPECT_EQ(converter.Script().Started(), 1);
    }
    // The converter put back what was there before it: nothing.
    EXPECT_THROW(CreateObject("Test.Registry"), AutomationError);
}

TEST(AutomationRegistry, KnowsNoConverterOfItsOwnAndHandsBackWhatItReplaces) {
    const AutomationFactory before = RegisterAutomationFactory("Word.Application", {});
    EXPECT_THROW(CreateObject("Word.Application"), AutomationError);

    int made = 0;
    const AutomationFactory counting = [&made]() -> std::unique_ptr<AutomationApplication> {
        ++made;
        throw AutomationError("counted");
    };
    EXPECT_FALSE(RegisterAutomationFactory("Word.Application", counting));
    const AutomationFactory replaced = RegisterAutomationFactory("WORD.APPLICATION", {});
    ASSERT_TRUE(replaced);
    EXPECT_THROW(replaced(), AutomationError);
    EXPECT_EQ(made, 1);
    RegisterAutomationFactory("Word.Application", before);
}

TEST(AutomationRegistry, FactoryThatReturnsNothingOrThrowsIsAnAutomationError) {
    RegisterAutomationFactory("Test.Empty",
                              [] { return std::unique_ptr<AutomationApplication>(); });
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
