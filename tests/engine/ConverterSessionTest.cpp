// Starting and ending converter sessions, and which converter a run reaches, checked on
// recording fakes.

#include "engine/BatchRunner.h"
#include "engine/Converter.h"
#include "tests/support/RecordingConverter.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pelmora {
namespace {

class ConverterSessionTest : public ::testing::Test {
protected:
    test::RecordingConverter converter_;
    test::ConverterScript& script_ = converter_.Script();
};

TEST_F(ConverterSessionTest, StartOpensOneSessionAndEndQuitsIt) {
    std::unique_ptr<ConverterSession> session = StartSession(converter_);
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(script_.Started(), 1);
    // Alerts and prompts are the session's own fixed behaviour: nothing is set on it.
    EXPECT_TRUE(script_.Calls().empty());
    EndSession(session);
    EXPECT_EQ(script_.Calls(), std::vector<std::string>{"Quit"});
    EXPECT_EQ(session, nullptr);
}

TEST_F(ConverterSessionTest, TheTimeLimitGoesToTheNewSessionOnlyWhenGiven) {
    std::unique_ptr<ConverterSession> limited =
        StartSession(converter_, std::chrono::milliseconds(2500));
    std::unique_ptr<ConverterSession> plain = StartSession(converter_);
    EXPECT_EQ(script_.Calls(), std::vector<std::string>{"DocumentTimeLimit=2500ms"});
    EndSession(limited);
    EndSession(plain);
    EXPECT_EQ(script_.Count("Quit"), 2);
}

TEST_F(ConverterSessionTest, ConverterThatCannotBeStartedGivesNoSession) {
    script_.SetFailStart(true);
    EXPECT_EQ(StartSession(converter_), nullptr);
    EXPECT_EQ(script_.Started(), 0);
}

TEST_F(ConverterSessionTest, EndToleratesAnUnopenedSessionAndAFailingQuit) {
    std::unique_ptr<ConverterSession> never;
    EndSession(never);
    EXPECT_TRUE(script_.Calls().empty());

    script_.SetRefuse("Quit");
    std::unique_ptr<ConverterSession> session = StartSession(converter_);
    ASSERT_NE(session, nullptr);
    EndSession(session);
    EXPECT_EQ(script_.Calls().back(), "Quit");
    EXPECT_EQ(session, nullptr);
    EndSession(session);
    EXPECT_EQ(script_.Count("Quit"), 1);
}

// A stop from the run's own thread, when its first document opens.
class StopOnStart final : public BatchObserver {
public:
    explicit StopOnStart(BatchRunner*& runner) : runner_(runner) {}
    void DocumentStarted(std::size_t, const BatchDocument&) override { runner_->Stop(); }

private:
    BatchRunner*& runner_;
};

TEST(ConverterOfARun, OnlyTheGivenConverterIsUsedAndAStopReachesIt) {
    test::RecordingConverter used;
    test::RecordingConverter other;
    test::TempFolder dir;
    test::WriteFile(dir / "a.doc", "a");
    std::vector<BatchDocument> documents{{dir / "a.doc", dir / "a.htm", {}}};
    {
        BatchRunner runner(used);
        DocumentList list(documents);
        BatchObserver nothing;
        EXPECT_EQ(runner.Run(list, 1, nothing), RunEnd::kCompleted);
    }
    EXPECT_EQ(used.Script().Opened().size(), 1u);
    EXPECT_EQ(other.Script().Started(), 0);
    EXPECT_EQ(used.Stops(), 0);
    EXPECT_EQ(used.Removals(), 0);

    // A stop ends the converter's offices at once, and what they left goes after the run.
    BatchRunner runner(used);
    BatchRunner* stopping = &runner;
    StopOnStart observer(stopping);
    DocumentList list(documents);
    EXPECT_EQ(runner.Run(list, 1, observer), RunEnd::kStopped);
    EXPECT_EQ(used.Stops(), 1);
    EXPECT_EQ(used.Removals(), 1);
    EXPECT_EQ(other.Stops(), 0);
}

} // namespace
} // namespace pelmora
