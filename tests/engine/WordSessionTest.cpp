// The session's calls into the converter, checked on a recording fake.

#include "engine/WordSession.h"
#include "engine/AutomationRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace pelmora {
namespace {

struct Recording {
    std::vector<std::string> calls;
    std::string refuse; // the call that throws
};

class RecordingApplication : public AutomationApplication, AutomationOptions, AutomationDocuments {
public:
    explicit RecordingApplication(Recording& recording) : recording_(recording) {}

    void SetDisplayAlerts(std::int16_t value) override {
        Record("DisplayAlerts=" + std::to_string(value));
    }
    AutomationOptions& Options() override { return *this; }
    AutomationDocuments& Documents() override { return *this; }
    void ChangeFileOpenDirectory(const std::string& folder) override {
        Record("ChangeFileOpenDirectory " + folder);
    }
    void Quit() override { Record("Quit"); }

    void SetConfirmConversions(bool value) override {
        Record(std::string("ConfirmConversions=") + (value ? "true" : "false"));
    }
    void SetSaveNormalPrompt(bool value) override {
        Record(std::string("SaveNormalPrompt=") + (value ? "true" : "false"));
    }
    void SetSavePropertiesPrompt(bool value) override {
        Record(std::string("SavePropertiesPrompt=") + (value ? "true" : "false"));
    }
    std::unique_ptr<AutomationDocument> Open(const std::string&, std::optional<bool>, bool, bool,
                                             const std::string&) override {
        Record("Open");
        return nullptr;
    }

private:
    void Record(const std::string& call) {
        recording_.calls.push_back(call);
        if (call.rfind(recording_.refuse, 0) == 0 && !recording_.refuse.empty()) {
            throw AutomationError("refused " + call);
        }
    }

    Recording& recording_;
};

class WordSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterAutomationFactory("Word.Application", [this] {
            return std::make_unique<RecordingApplication>(recording_);
        });
    }
    void TearDown() override { RegisterAutomationFactory("Word.Application", {}); }

    Recording recording_;
};

TEST_F(WordSessionTest, OpenSwitchesAlertsThenThePromptsOffInOrder) {
    WordSession session;
    ASSERT_TRUE(OpenWordSession(session));
    EXPECT_NE(session.application, nullptr);
    EXPECT_EQ(recording_.calls,
              (std::vector<std::string>{"DisplayAlerts=0", "ConfirmConversions=false",
                                        "SaveNormalPrompt=false", "SavePropertiesPrompt=false"}));
    CloseWordSession(session);
    EXPECT_EQ(recording_.calls.back(), "Quit");
    EXPECT_EQ(session.application, nullptr);
}

TEST_F(WordSessionTest, RefusedSettingFailsTheOpenAndQuitsTheConverter) {
    recording_.refuse = "SaveNormalPrompt";
    WordSession session;
    EXPECT_FALSE(OpenWordSession(session));
    EXPECT_EQ(session.application, nullptr);
    EXPECT_EQ(recording_.calls.back(), "Quit");
}

TEST_F(WordSessionTest, ConverterThatCannotBeCreatedFailsTheOpen) {
    RegisterAutomationFactory("Word.Application", []() -> std::unique_ptr<AutomationApplication> {
        throw AutomationError("not installed");
    });
    WordSession session;
    EXPECT_FALSE(OpenWordSession(session));
    EXPECT_EQ(session.application, nullptr);
}

TEST_F(WordSessionTest, CloseToleratesAnUnopenedSessionAndAFailingQuit) {
    WordSession never;
    CloseWordSession(never);
    EXPECT_TRUE(recording_.calls.empty());

    recording_.refuse = "Quit";
    WordSession session;
    ASSERT_TRUE(OpenWordSession(session));
    CloseWordSession(session);
    EXPECT_EQ(recording_.calls.back(), "Quit");
    EXPECT_EQ(session.application, nullptr);
    CloseWordSession(session);
    EXPECT_EQ(std::count(recording_.calls.begin(), recording_.calls.end(), "Quit"), 1);
}

} // namespace
} // namespace pelmora
