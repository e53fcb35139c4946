// The batch run in this process, with a recording converter in place of the office:
// what is printed, logged and returned, and when.
#include "cli/CommandLine.h"

#include "cli/Arguments.h"
#include "cli/LongOptions.h"
#include "engine/PathHelpers.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/support/Matchers.h"
#include "tests/support/RecordingConverter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>

namespace pelmora {
namespace {

class CommandLineTest : public ::testing::Test {
protected:
    int Run(std::vector<std::string> tokens) {
        out_.str("");
        err_.str("");
        return RunCommandLine(test::Shell(tokens), converter_, out_, err_);
    }

    std::vector<std::string> LogLines() const { return test::Lines(test::ReadFile(log_)); }

    test::TempFolder dir_;
    std::string log_ = dir_ / "run.log";
    std::ostringstream out_;
    std::ostringstream err_;
    test::RecordingConverter converter_;
    test::ConverterScript& script_ = converter_.Script();
};

TEST_F(CommandLineTest, UsageSwitchAnywhereShowsOnlyTheUsage) {
    for (const char* help : {"-?", "-h", "--help", "-H"}) {
        EXPECT_EQ(Run({dir_ / "a.doc", "-o", help, "-l:" + log_}), 0) << help;
        std::ostringstream usage;
        ShowUsage(usage);
        ShowLongOptions(usage);
        EXPECT_EQ(out_.str(), usage.str());
        EXPECT_EQ(err_.str(), "");
    }
    EXPECT_EQ(script_.Started(), 0);
    EXPECT_FALSE(std::filesystem::exists(log_));
}

TEST_F(CommandLineTest, BadOptionValueIsOneErrorLineAndNothingConverted) {
    test::WriteFile(dir_ / "a.doc", "a");
    for (const std::vector<std::string>& tokens :
         {std::vector<std::string>{dir_ / "a.doc", "--jobs", "0", "-l:" + log_},
          {dir_ / "a.doc", "-l:" + log_, "--shard", "4/3"},
          {dir_ / "a.doc", "-l:" + log_, "--timeout", "x"},
          {dir_ / "a.doc", "-l:" + log_, "--dest"}}) {
        EXPECT_EQ(Run(tokens), kBadOptions);
        EXPECT_EQ(out_.str(), "");
        EXPECT_THAT(test::Lines(err_.str()), ElementsAre(::testing::StartsWith("pelmora: --")));
    }
    // A mistyped long option is not read as the switch of its first letter.
    for (const std::string& typo :
         std::vector<std::string>{"--dry-run", "--dets=" + dir_ / "out", "--output"}) {
        EXPECT_EQ(Run({dir_ / "a.doc", typo, "-l:" + log_}), kBadOptions);
        EXPECT_EQ(err_.str(), "pelmora: unknown option " + typo + "\n");
    }
    // The file list ends at the first switch: a line that begins with one has none.
    EXPECT_EQ(Run({"-d", dir_ / "out", dir_ / "a.doc", "-l:" + log_}), kBadOptions);
    EXPECT_THAT(test::Lines(err_.str()),
                ElementsAre(AllOf(HasSubstr("begins with the option -d"), HasSubstr("./-name"))));
    EXPECT_EQ(script_.Started(), 0);
    EXPECT_FALSE(std::filesystem::exists(log_));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "a.htm"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "out"));
}

TEST_F(CommandLineTest, NamesAfterTheFirstSwitchAreNamedAsNotConverted) {
    test::WriteFile(dir_ / "a.doc", "a");
    test::WriteFile(dir_ / "b.doc", "b");
    EXPECT_EQ(
        Run({dir_ / "a.doc", "-d", dir_ / "out", "-o", dir_ / "b.doc", "-j", "1", "-l:" + log_}),
        kRunSucceeded);
    EXPECT_EQ(err_.str(), "pelmora: not converted, as they follow the first option: \"" +
                              dir_ / "b.doc" + "\" (the files come first)\n");
    EXPECT_THAT(script_.Opened(), ElementsAre(dir_ / "a.doc"));
}

TEST_F(CommandLineTest, OutputThatCannotBeWrittenStopsTheRunAndTheLogKeepsItsLines) {
    for (const char* name : {"a.doc", "b.doc", "c.doc"}) {
        test::WriteFile(dir_ / name, "x");
    }
    // Standard output gone after the first line, as "| head -1" or a full disk leave it.
    script_.SetOnOpen([this](const std::string& path) {
        if (path == dir_ / "b.doc") {
            out_.setstate(std::ios::badbit);
        }
    });
    EXPECT_EQ(RunCommandLine(test::Shell({dir_ / "*.doc", "-l:" + log_, "-j", "1"}), converter_,
                             out_, err_),
              kOutputFailed);
    EXPECT_THAT(test::Lines(err_.str()), ElementsAre(HasSubstr("standard output")));
    EXPECT_THAT(script_.Opened(), ElementsAre(dir_ / "a.doc", dir_ / "b.doc"));
    EXPECT_EQ(LogLines().size(), 2u);
}

TEST_F(CommandLineTest, FoldersTheSearchCannotEnterAreNamedAndFailTheRun) {
    test::WriteFile(dir_ / "a.doc", "a");
    // Deeper than a path may be: the search cannot list the last folder.
    const std::string level(200, 'd');
    std::string deep = dir_.Path();
    while (deep.size() < 4200) {
        deep += "/" + level;
    }
    ASSERT_EQ(std::system(("mkdir -p '" + deep + "'").c_str()), 0);
    EXPECT_EQ(Run({dir_ / "*.doc", "-s", "-l:" + log_}), kRunHadFailures);
    EXPECT_THAT(test::Lines(err_.str()),
                ElementsAre(AllOf(HasSubstr("pelmora: cannot search " + dir_ / level),
                                  HasSubstr("too long"))));
    EXPECT_THAT(script_.Opened(), ElementsAre(dir_ / "a.doc"));
    // The tree is deeper than std::filesystem can remove.
    std::system(("rm -rf '" + dir_ / level + "'").c_str());
}

TEST_F(CommandLineTest, HelpListsTheLongOptionsAndVersionIsTheProjects) {
    EXPECT_EQ(Run({"--help"}), kRunSucceeded);
    std::ostringstream usage;
    ShowUsage(usage);
    const std::string help = out_.str();
    ASSERT_THAT(help, ::testing::StartsWith(usage.str()));
    const std::vector<std::string> extra = test::Lines(help.substr(usage.str().size()));
    for (const char* option :
         {"--dest", "--log", "--subfolders", "--overwrite", "--compact", "--keep-files", "--jobs",
          "--json", "--password-file", "--shard", "--timeout", "--quiet", "--help", "--version"}) {
        EXPECT_EQ(std::count_if(extra.begin(), extra.end(),
                                [&](const std::string& line) {
                                    return line.rfind(std::string("  ") + option, 0) == 0;
                                }),
                  1)
            << option;
    }
    EXPECT_EQ(Run({"--version"}), kRunSucceeded);
    EXPECT_EQ(out_.str(), "pelmora " PELMORA_TEST_VERSION "\n");
    EXPECT_EQ(script_.Started(), 0);
}

TEST_F(CommandLineTest, TimeoutIsTheConvertersLimitOfOneDocument) {
    test::WriteFile(dir_ / "a.doc", "a");
    EXPECT_EQ(Run({dir_ / "a.doc", "-l:" + log_, "--timeout", "7"}), kRunSucceeded);
    EXPECT_EQ(script_.Count("DocumentTimeLimit=7000ms"), 1);
    EXPECT_EQ(Run({dir_ / "a.doc", "-o", "-l:" + log_}), kRunSucceeded);
    EXPECT_EQ(script_.Count("DocumentTimeLimit=300000ms"), 1);
}

TEST_F(CommandLineTest, ConverterThatCannotStartGivesOneLineAndStatusTwo) {
    script_.SetFailStart(true);
    test::WriteFile(dir_ / "a.doc", "x");
    test::WriteFile(log_, "earlier run\n");
    EXPECT_EQ(Run({dir_ / "a.doc", dir_ / "b.doc", "-l", log_}), kConverterUnavailable);
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "earlier run");
    EXPECT_THAT(lines[1],
                MatchesRegex("[0-9][0-9]:[0-9][0-9]:[0-9][0-9]  104, Can not load Microsoft "
                             "Word, Terminate!"));
    EXPECT_EQ(out_.str(), lines[1] + "\n");
}

TEST_F(CommandLineTest, LinesArePrintedAndLoggedInOrderAsSoonAsTheyAreFinal) {
    test::WriteFile(dir_ / "a.doc", "x");
    test::WriteFile(dir_ / "c.rtf", "x");
    script_.SetOnOpen([this](const std::string& path) {
        // The lines before a document are in the log file while it converts.
        EXPECT_EQ(test::Lines(test::ReadFile(log_)).size(), path == dir_ / "a.doc" ? 0u : 2u);
    });
    EXPECT_EQ(Run({dir_ / "a.doc", dir_ / "b.doc", dir_ / "c.rtf", "-l:" + log_, "-j", "1"}),
              kRunHadFailures);
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_THAT(lines[0], EndsWith("  100, Successfully convert " + dir_ / "a.doc" + " to " +
                                   dir_ / "a.htm"));
    EXPECT_THAT(lines[1], EndsWith("  102, Source file " + dir_ / "b.doc" +
                                   " doesn't exist, Convert failure!"));
    EXPECT_THAT(lines[2], HasSubstr("  100, Successfully convert " + dir_ / "c.rtf"));
    EXPECT_EQ(test::Lines(out_.str()), lines);
    EXPECT_EQ(test::ReadFile(log_).back(), '\n');
    EXPECT_EQ(script_.Started(), 1);
    EXPECT_EQ(script_.Count("Quit"), 1);
}

TEST_F(CommandLineTest, EmptyFileListStartsNoConverterAndWritesNoLog) {
    EXPECT_EQ(Run({dir_ / "none/*.doc", "-l:" + log_}), kRunSucceeded);
    EXPECT_EQ(script_.Started(), 0);
    EXPECT_EQ(script_.Count("Quit"), 0);
    EXPECT_EQ(out_.str(), "");
    EXPECT_FALSE(std::filesystem::exists(log_));
}

TEST_F(CommandLineTest, UnwritableLogIsOneErrorLineAndKeepsTheResult) {
    test::WriteFile(dir_ / "a.doc", "x");
    EXPECT_EQ(Run({dir_ / "a.doc", "-l:" + dir_.Path()}), kRunSucceeded);
    EXPECT_EQ(test::Lines(out_.str()).size(), 1u);
    EXPECT_THAT(test::Lines(err_.str()), ElementsAre(HasSubstr(dir_.Path())));
}

TEST_F(CommandLineTest, InterruptStopsAtTheCurrentDocumentAndLogsTheLinesSoFar) {
    for (const char* name : {"a.doc", "b.doc", "c.doc"}) {
        test::WriteFile(dir_ / name, "x");
    }
    script_.SetOnOpen([this](const std::string& path) {
        if (path == dir_ / "b.doc") {
            std::raise(SIGINT);
            throw ConverterError("the office went away");
        }
    });
    struct sigaction before {};
    sigaction(SIGINT, nullptr, &before);
    EXPECT_EQ(Run({dir_ / "*.doc", "-l:" + log_, "-j", "1"}), kRunInterrupted);
    EXPECT_THAT(LogLines(),
                ElementsAre(HasSubstr("  100, Successfully convert " + dir_ / "a.doc")));
    EXPECT_EQ(test::Lines(out_.str()), LogLines());
    EXPECT_THAT(script_.Opened(), ElementsAre(dir_ / "a.doc", dir_ / "b.doc"));
    EXPECT_EQ(script_.Count("Quit"), 1);
    // The signal reached the converter the run was handed, and its leftovers went.
    EXPECT_GE(converter_.Stops(), 1);
    EXPECT_GE(converter_.Removals(), 1);
    struct sigaction after {};
    sigaction(SIGINT, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler);

    // The next run is not taken for stopped.
    script_.SetOnOpen(nullptr);
    EXPECT_EQ(Run({dir_ / "c.doc", "-o", "-l:" + log_}), kRunSucceeded);
}

} // namespace
} // namespace pelmora
