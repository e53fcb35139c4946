// Whole runs of the built pelmora executable against the real office.
#include "engine/PathHelpers.h"
#include "tests/cli/CliTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>
#include <unistd.h>

namespace pelmora {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

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

    void PlaceDoc(const std::string& relative) {
        fs::create_directories(fs::path(dir_ / relative).parent_path());
        fs::copy_file(*fixtures_ / "pictured.doc", dir_ / relative);
    }
    void PlaceRtf(const std::string& relative, const std::string& words) {
        test::WriteFile(dir_ / relative, test::RtfWithPicture(words));
    }

    // Its own temporary folder, which the office must leave empty, and no display: a
    // Qt application object would end the run with a platform error.
    std::map<std::string, std::string> Environment() const {
        return {{"TMPDIR", tmp_.Path()},
                {"QT_QPA_PLATFORM", "no-such-platform"},
                {"DISPLAY", ""},
                {"WAYLAND_DISPLAY", ""}};
    }

    test::ProcessResult Run(std::vector<std::string> arguments) {
        const auto result = test::RunPelmora(arguments, Environment());
        EXPECT_THAT(test::ProcessesWithEnvironment("TMPDIR", tmp_.Path()), IsEmpty());
        return result;
    }

    static test::TempFolder* fixtures_;
    test::TempFolder dir_;
    test::TempFolder tmp_;
    std::string log_ = dir_ / "run.log";
};

test::TempFolder* PelmoraRun::fixtures_ = nullptr;

TEST_F(PelmoraRun, ThreeFilesTheSecondMissing) {
    PlaceDoc("a.doc");
    PlaceRtf("c.rtf", "third");
    test::WriteFile(log_, "before\n");
    const auto result = Run({dir_ / "a.doc", dir_ / "b.doc", dir_ / "c.rtf", "-l:" + log_});
    EXPECT_EQ(result.exitStatus, 1) << result.err;
    const auto lines = test::Lines(test::ReadFile(log_));
    ASSERT_EQ(lines.size(), 4u) << result.out << result.err;
    EXPECT_EQ(lines[0], "before");
    EXPECT_THAT(lines[1], HasSubstr("  100, Successfully convert " + dir_ / "a.doc" + " to " +
                                    dir_ / "a.htm"));
    EXPECT_THAT(lines[2], HasSubstr("  102, Source file " + dir_ / "b.doc"));
    EXPECT_THAT(lines[3], HasSubstr("  100, Successfully convert " + dir_ / "c.rtf"));
    EXPECT_EQ(test::Lines(result.out), std::vector<std::string>(lines.begin() + 1, lines.end()));
    EXPECT_THAT(test::ReadFile(dir_ / "a.htm"), HasSubstr("Hello picture"));
    EXPECT_THAT(test::ReadFile(dir_ / "c.htm"), HasSubstr("third"));
    // Without -f the picture folders are gone.
    EXPECT_FALSE(fs::exists(dir_ / "a.files"));
    EXPECT_FALSE(fs::exists(dir_ / "c.files"));
}

TEST_F(PelmoraRun, OutputFolderWithSubfoldersAndSameNamedSources) {
    PlaceDoc("in/x.doc");
    PlaceRtf("in/sub/x.rtf", "second x");
    const std::string out = dir_ / "out dir";

    auto result = Run({dir_ / "in/*.doc", "-d:" + out, "-l", log_});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_THAT(test::Lines(result.out), ElementsAre(HasSubstr(" to " + out + "/x.htm")));

    fs::remove_all(out);
    result = Run({dir_ / "in/x.*", "-s", "-d", out, "-l:" + log_});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_THAT(test::Lines(result.out),
                ElementsAre(HasSubstr("  100, Successfully convert " + dir_ / "in/x.doc"),
                            HasSubstr("  101, Output file " + out + "/x.htm exists, Ignore!")));
    EXPECT_FALSE(fs::exists(dir_ / "in/sub/out dir"));

    result = Run({dir_ / "in/x.*", "-s", "-o", "-d:" + out, "-l:" + log_});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_THAT(test::Lines(result.out),
                ElementsAre(HasSubstr("  100, Successfully convert " + dir_ / "in/x.doc"),
                            HasSubstr("  100, Successfully convert " + dir_ / "in/sub/x.rtf")));
    EXPECT_THAT(test::ReadFile(out + "/x.htm"), HasSubstr("second x"));
}

TEST_F(PelmoraRun, KeepsPictureFolderAndCompactsOnRequest) {
    test::WriteFile(dir_ / "w.rtf",
                    "{\\rtf1\\ansi\\deff0\\lang1033 Hello {\\lang1031 Wort} end\\par"
                    "{\\pict\\pngblip\\picw4\\pich4 "
                    "89504e470d0a1a0a0000000d4948445200000004000000040802000000269309290000"
                    "001049444154789c63f8cfc000470cc47100ae930ff1d05f239e0000000049454e44ae"
                    "426082}\\par}");
    auto result = Run({dir_ / "w.rtf", "-f1", "-l:" + log_});
    EXPECT_EQ(result.exitStatus, 0) << result.out << result.err;
    const std::string plain = test::ReadFile(dir_ / "w.htm");
    EXPECT_THAT(plain, HasSubstr("<span lang="));
    ASSERT_TRUE(fs::is_directory(dir_ / "w.files"));
    EXPECT_FALSE(fs::is_empty(dir_ / "w.files"));
    EXPECT_THAT(plain, HasSubstr("w.files/"));

    result = Run({dir_ / "w.rtf", "-o", "-c", "-f", "-l:" + log_});
    EXPECT_EQ(result.exitStatus, 0) << result.out << result.err;
    const std::string compact = test::ReadFile(dir_ / "w.htm");
    EXPECT_THAT(compact,
                AllOf(HasSubstr("Wort"), Not(HasSubstr("<span")), Not(HasSubstr("</span>"))));
    // "-f" alone does not keep the folder.
    EXPECT_FALSE(fs::exists(dir_ / "w.files"));
}

TEST_F(PelmoraRun, UsageAndStatuses) {
    auto result = Run({"--help"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_THAT(result.out, HasSubstr("[-d:Dest Path]\tDestination path"));
    EXPECT_EQ(test::Lines(result.out).size(), 11u);
    EXPECT_EQ(result.err, "");

    // Nothing to convert: no log, success.
    result = Run({dir_ / "nothing/*.doc", "-l:" + log_});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_FALSE(fs::exists(log_));

    // A protected document without its password is a failure of that file only.
    fs::copy_file(std::string(PELMORA_TEST_DATA) + "/corpus/password_password_cryptoapi.doc",
                  dir_ / "bad.doc");
    PlaceRtf("good.rtf", "fine");
    result = Run({dir_ / "bad.doc", dir_ / "good.rtf", "-l:" + log_});
    EXPECT_EQ(result.exitStatus, 1) << result.err;
    EXPECT_THAT(test::Lines(result.out),
                ElementsAre(HasSubstr("  103, Convert " + dir_ / "bad.doc" + " failure"),
                            HasSubstr("  100, ")));
}

TEST_F(PelmoraRun, OddFileNames) {
    const std::string name = "-x \"q\" \xC3\xBC ber.rtf";
    PlaceRtf(name, "odd");
    const auto result = test::ChildProcess("/bin/sh",
                                           {"-c", "cd \"$1\" && exec \"$2\" \"./$3\" -l:run.log",
                                            "sh", dir_.Path(), test::PelmoraBinary(), name},
                                           Environment())
                            .Finish();
    EXPECT_EQ(result.exitStatus, 0) << result.out << result.err;
    EXPECT_THAT(test::ReadFile(dir_ / "-x \"q\" \xC3\xBC ber.htm"), HasSubstr("odd"));
    EXPECT_THAT(test::ReadFile(log_), HasSubstr("  100, Successfully convert ./" + name));
}

TEST_F(PelmoraRun, DefaultLogFileBesideTheProgram) {
    PlaceRtf("d.rtf", "default log");
    // The helper names the file as the program would, from the program's folder.
    const std::string name = fs::path(DefaultLogPath()).filename().string();
    const std::string logPath = std::string(PELMORA_BINARY_DIR) + "/app/" + name;
    const auto result = Run({dir_ / "d.rtf"});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_THAT(name, ::testing::EndsWith(".log"));
    EXPECT_THAT(name, Not(HasSubstr("/")));
    EXPECT_THAT(test::ReadFile(logPath),
                HasSubstr("  100, Successfully convert " + dir_ / "d.rtf"));
}

TEST_F(PelmoraRun, CtrlCStopsTheOfficeAndKeepsTheLinesSoFar) {
    std::vector<std::string> arguments;
    for (int i = 0; i < 60; ++i) {
        const std::string name = "n" + std::to_string(100 + i) + ".doc";
        PlaceDoc(name);
        arguments.push_back(dir_ / name);
    }
    arguments.push_back("-l:" + log_);
    test::ChildProcess child(test::PelmoraBinary(), arguments, Environment());
    ASSERT_TRUE(child.WaitForOutputLines(2));
    kill(child.Pid(), SIGINT);
    const auto result = child.Finish();
    EXPECT_EQ(result.exitStatus, 130) << result.err;
    const auto printed = test::Lines(result.out);
    const auto logged = test::Lines(test::ReadFile(log_));
    EXPECT_EQ(logged, printed);
    EXPECT_GE(logged.size(), 2u);
    EXPECT_LT(logged.size(), 60u);
    for (const std::string& line : logged) {
        EXPECT_THAT(line, HasSubstr("  100, "));
    }
    EXPECT_THAT(test::ProcessesWithEnvironment("TMPDIR", tmp_.Path()), IsEmpty());
    EXPECT_TRUE(fs::is_empty(tmp_.Path()));
}

// Two offices give the codes, in the order, of one: a damaged file, a protected one, two
// sources of one page (the second follows the overwrite rule) and plain documents.
TEST_F(PelmoraRun, TwoOfficesGiveTheCodesOfOne) {
    for (const char* name : {"Fuzzed.doc", "password_password_cryptoapi.doc", "simple.doc",
                             "Word95.doc", "table-merges.doc"}) {
        fs::copy_file(std::string(PELMORA_TEST_DATA) + "/corpus/" + name, dir_ / name);
    }
    PlaceDoc("page.doc");
    PlaceRtf("page.rtf", "same page");
    const std::vector<std::string> files{
        dir_ / "Fuzzed.doc",      dir_ / "page.doc",   dir_ / "password_password_cryptoapi.doc",
        dir_ / "page.rtf",        dir_ / "simple.doc", dir_ / "Word95.doc",
        dir_ / "table-merges.doc"};
    auto codes = [&](const std::string& jobs, const std::string& out) {
        std::vector<std::string> arguments = files;
        for (const std::string& a :
             std::vector<std::string>{"-d", out, "-l", log_, "--jobs", jobs}) {
            arguments.push_back(a);
        }
        const auto result = Run(arguments);
        std::vector<std::string> found;
        for (const std::string& line : test::Lines(result.out)) {
            found.push_back(line.substr(10, 3));
        }
        return found;
    };
    const auto one = codes("1", dir_ / "one");
    const auto two = codes("2", dir_ / "two");
    ASSERT_EQ(one.size(), files.size());
    EXPECT_EQ(two, one);
    EXPECT_EQ(one[1], "100");
    EXPECT_EQ(one[3], "101");
    EXPECT_EQ(one[2], "103");
    for (const char* page : {"simple.htm", "Word95.htm", "table-merges.htm", "page.htm"}) {
        EXPECT_TRUE(fs::exists(fs::path(dir_ / "two") / page)) << page;
    }
}

} // namespace
} // namespace pelmora
