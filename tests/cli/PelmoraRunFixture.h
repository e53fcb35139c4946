#pragma once
// The fixture of whole runs of the built pelmora executable: a private folder for the
// documents, a private temporary folder the offices must leave empty, no display, and
// one Word 97 document made by the office itself.

#include "tests/cli/CliTestSupport.h"
#include "tests/support/Matchers.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace pelmora::test {

/// Runs of pelmora over documents in dir_, with tmp_ as their temporary folder.
class PelmoraRun : public ::testing::Test {
protected:
    // One Word 97 document for all tests, made from RTF by the office itself.
    static void SetUpTestSuite() {
        fixtures_ = new test::TempFolder;
        test::WriteFile(*fixtures_ / "pictured.rtf", test::RtfWithPicture("Hello picture"));
        const std::string profile = "-env:UserInstallation=file://" + *fixtures_ / "profile";
        const auto made =
            test::ChildProcess("/usr/bin/env",
                               {"soffice", profile, "--headless", "--convert-to", "doc", "--outdir",
                                fixtures_->Path(), *fixtures_ / "pictured.rtf"})
                .Finish();
        ASSERT_EQ(made.exitStatus, 0) << made.err;
        ASSERT_TRUE(fs::exists(*fixtures_ / "pictured.doc"));
    }
    static void TearDownTestSuite() {
        delete fixtures_;
        fixtures_ = nullptr;
    }

    // The sample document name from the test corpus, as dir_/as (default: its own name).
    void PlaceCorpusFile(const std::string& name, const std::string& as = {}) {
        fs::copy_file(std::string(PELMORA_TEST_DATA) + "/corpus/" + name,
                      dir_ / (as.empty() ? name : as));
    }
    void PlaceDoc(const std::string& relative) {
        fs::create_directories(fs::path(dir_ / relative).parent_path());
        fs::copy_file(*fixtures_ / "pictured.doc", dir_ / relative);
    }
    // count copies of the Word document named prefix100.doc, prefix101.doc, ..., as
    // the arguments of a run that logs into log_.
    std::vector<std::string> PlaceNumberedDocs(const std::string& prefix, int count) {
        std::vector<std::string> arguments;
        for (int i = 0; i < count; ++i) {
            const std::string name = prefix + std::to_string(100 + i) + ".doc";
            PlaceDoc(name);
            arguments.push_back(dir_ / name);
        }
        arguments.push_back("-l:" + log_);
        return arguments;
    }
    void PlaceRtf(const std::string& relative, const std::string& words) {
        test::WriteFile(dir_ / relative, test::RtfWithPicture(words));
    }

    // Its own temporary folder, which the office must leave empty, and no display: a
    // Qt application object would end the run with a platform error.
    std::map<std::string, std::string> Environment() const {
        // The default log goes to the test's own state folder, not the user's.
        return {{"TMPDIR", tmp_.Path()},
                {"XDG_STATE_HOME", tmp_ / "state"},
                {"QT_QPA_PLATFORM", "no-such-platform"},
                {"DISPLAY", ""},
                {"WAYLAND_DISPLAY", ""}};
    }

    test::ProcessResult Run(std::vector<std::string> arguments,
                            std::map<std::string, std::string> environment = {},
                            const std::vector<std::string>& removed = {}) {
        environment.merge(Environment());
        for (const std::string& name : removed) {
            environment.erase(name);
        }
        const auto result = test::RunPelmora(arguments, environment, removed);
        EXPECT_THAT(test::ProcessesUsingTemporaryFolder(tmp_.Path()), IsEmpty());
        return result;
    }

    static inline test::TempFolder* fixtures_ = nullptr;
    test::TempFolder dir_;
    test::TempFolder tmp_;
    std::string log_ = dir_ / "run.log";
};

} // namespace pelmora::test
