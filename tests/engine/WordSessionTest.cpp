// The session's calls into the converter, checked on a recording fake.

#include "engine/WordSession.h"
#include "engine/AutomationRegistry.h"
#include "tests/support/RecordingConverter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace pelmora {
namespace {

class WordSessionTest : public ::testing::Test {
protected:
    test::RecordingConverter converter_;
    test::ConverterScript& script_ = converter_.Script();
};

TEST_F(WordSessionTest, OpenSwitchesAlertsThenThePromptsOffInOrder) {
    WordSession session;
    ASSERT_TRUE(OpenWordSession(session));
    EXPECT_NE(session.application, nullptr);
    EXPECT_EQ(script_.Calls(),
              (std::vector<std::string>{"DisplayAlerts=0", "ConfirmConversions=false",
                                        "SaveNormalPrompt=false", "SavePropertiesPrompt=false"}));
    CloseWordSession(session);
    EXPECT_EQ(script_.Calls().back(), "Quit");
    EXPECT_EQ(session.application, nullptr);
}

TEST_F(WordSessionTest, RefusedSettingFailsTheOpenAndQuitsTheConverter) {
    script_.SetRefuse("SaveNormalPrompt");
    WordSession session;
    EXPECT_FALSE(OpenWordSession(session));
    EXPECT_EQ(session.application, nullptr);
    EXPECT_EQ(script_.Calls().back(), "Quit");
}

TEST_F(WordSessionTest, ConverterThatCannotBeCreatedFailsTheOpen) {
    script_.SetFailStart(true);
    WordSession session;
    EXPECT_FALSE(OpenWordSession(session));
    EXPECT_EQ(session.application, nullptr);
}

TEST_F(WordSessionTest, CloseToleratesAnUnopenedSessionAndAFailingQuit) {
    WordSession never;
    CloseWordSession(never);
    EXPECT_TRUE(script_.Calls().empty());

    script_.SetRefuse("Quit");
    WordSession session;
    ASSERT_TRUE(OpenWordSession(session));
    CloseWordSession(session);
    EXPECT_EQ(script_.Calls().back(), "Quit");
    EXPECT_EQ(session.application, nullptr);
    CloseWordSession(session);
    EXPECT_EQ(script_.Count("Quit"), 1);
}

// What a Ctrl+C handler reaches: the cleanup the converter implementation registered.
int gStops = 0;
int gRemovals = 0;
void CountStop() noexcept {
    ++gStops;
}
void CountRemoval() {
    ++gRemovals;
}

TEST(WordSessionCleanup, StopAndRemovalReachTheRegisteredImplementation) {
    const ConverterCleanup before = RegisteredConverterCleanup();
    RegisterConverterCleanup({CountStop, CountRemoval});
    StopWordSessionsNow();
    StopWordSessionsNow();
    RemoveWordSessionLeftovers();
    EXPECT_EQ(gStops, 2);
    EXPECT_EQ(gRemovals, 1);
    // Without an implementation there is nothing to stop.
    RegisterConverterCleanup({});
    StopWordSessionsNow();
    RemoveWordSessionLeftovers();
    EXPECT_EQ(gStops, 2);
    EXPECT_EQ(gRemovals, 1);
    RegisterConverterCleanup(before);
}

} // namespace
} // namespace pelmora
