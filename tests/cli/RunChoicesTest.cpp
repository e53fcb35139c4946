// The run's choices read from switches and long options, and the values refused.
#include "cli/RunChoices.h"

#include "cli/Arguments.h"
#include "engine/PathHelpers.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/support/Matchers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace pelmora {
namespace {

RunChoices Read(std::vector<std::string> tokens) {
    std::string problem;
    const auto choices = ReadRunChoices(test::Shell(tokens), problem);
    EXPECT_TRUE(choices.has_value()) << problem;
    EXPECT_EQ(problem, "");
    return choices.value_or(RunChoices{});
}

std::string Refused(std::vector<std::string> tokens) {
    std::string problem;
    const auto choices = ReadRunChoices(test::Shell(tokens), problem);
    EXPECT_FALSE(choices.has_value());
    return problem;
}

// The choices both spellings of the switches below ask for: two paths and every on/off
// switch of the run and of the documents.
void ExpectPathsAndAllSwitches(const RunChoices& choices, const std::string& folder,
                               const std::string& log) {
    EXPECT_EQ(choices.outputFolder, folder);
    EXPECT_EQ(choices.logFile, log);
    EXPECT_TRUE(choices.includeSubfolders);
    EXPECT_TRUE(choices.document.overwrite);
    EXPECT_TRUE(choices.document.compact);
    EXPECT_TRUE(choices.document.keepPictureFolder);
}

TEST(RunChoices, ShortSwitchesSplitIntoRunAndDocumentChoices) {
    const RunChoices choices =
        Read({"/in/*.doc", "-d:/out", "-l", "/tmp/run.log", "-s", "-o", "-c", "-f1"});
    ExpectPathsAndAllSwitches(choices, "/out", "/tmp/run.log");
    EXPECT_EQ(choices.document.password, "");

    const RunChoices few = Read({"/in/a.doc", "-f"});
    EXPECT_EQ(few.outputFolder, "");
    EXPECT_EQ(few.logFile, DefaultLogPath());
    EXPECT_FALSE(few.includeSubfolders);
    EXPECT_FALSE(few.document.overwrite);
    EXPECT_FALSE(few.document.keepPictureFolder);
    EXPECT_FALSE(few.json);
    EXPECT_FALSE(few.quiet);
    EXPECT_EQ(few.jobs, 0);
    EXPECT_EQ(few.passwordFile, "");
    EXPECT_EQ(few.shardIndex, 1);
    EXPECT_EQ(few.shardCount, 1);
    EXPECT_EQ(few.timeoutSeconds, 300);
    EXPECT_FALSE(few.showHelp);
    EXPECT_FALSE(few.showVersion);
}

TEST(RunChoices, LongOptionsWithTheValueAfterEqualsOrInTheNextToken) {
    const RunChoices joined =
        Read({"a.doc", "--dest=/my out", "--log=/tmp/r.log", "--subfolders", "--overwrite",
              "--compact", "--keep-files", "--jobs=3", "--json", "--password-file=/p",
              "--shard=2/5", "--timeout=45", "--quiet"});
    const RunChoices apart =
        Read({"a.doc", "--dest", "/my out", "--log", "/tmp/r.log", "--subfolders", "--overwrite",
              "--compact", "--keep-files", "--jobs", "3", "--json", "--password-file", "/p",
              "--shard", "2/5", "--timeout", "45", "--quiet"});
    for (const RunChoices& choices : {joined, apart}) {
        ExpectPathsAndAllSwitches(choices, "/my out", "/tmp/r.log");
        EXPECT_EQ(choices.jobs, 3);
        EXPECT_TRUE(choices.json);
        EXPECT_EQ(choices.passwordFile, "/p");
        EXPECT_EQ(choices.shardIndex, 2);
        EXPECT_EQ(choices.shardCount, 5);
        EXPECT_EQ(choices.timeoutSeconds, 45);
        EXPECT_TRUE(choices.quiet);
    }
    EXPECT_EQ(Read({"a.doc", "-j", "7"}).jobs, 7);
    const RunChoices recycled = Read({"a.doc", "--recycle-after=20", "--office-memory", "900"});
    EXPECT_EQ(recycled.recycleAfter, 20);
    EXPECT_EQ(recycled.officeMemoryMb, 900);
    EXPECT_EQ(recycled.memoryLimitMb, 0);
    EXPECT_EQ(recycled.sandbox, SandboxMode::kAuto);
    const RunChoices boxed = Read({"a.doc", "--memory-limit=2500", "--sandbox", "off"});
    EXPECT_EQ(boxed.memoryLimitMb, 2500);
    EXPECT_EQ(boxed.sandbox, SandboxMode::kOff);
    EXPECT_EQ(Read({"a.doc", "--sandbox=on"}).sandbox, SandboxMode::kOn);
    EXPECT_EQ(Read({"a.doc", "-j7"}).jobs, 7);
    EXPECT_EQ(Read({"a.doc", "--shard", "5/5"}).shardIndex, 5);
    // "--log" alone, or followed by another option, is the default log.
    EXPECT_EQ(Read({"a.doc", "--log"}).logFile, DefaultLogPath());
    EXPECT_EQ(Read({"a.doc", "--log", "--json"}).logFile, DefaultLogPath());
    // Words that are no long option are refused, not read as their first letter.
    EXPECT_EQ(Refused({"a.doc", "--destination"}), "pelmora: unknown option --destination");
    EXPECT_EQ(Refused({"a.doc", "--ocr"}), "pelmora: unknown option --ocr");
}

TEST(RunChoices, HelpAndVersionSkipTheOtherValues) {
    for (const auto& tokens : std::vector<std::vector<std::string>>{
             {"--help"}, {"-?"}, {"-h"}, {"/a.doc", "--jobs", "0", "--help"}}) {
        const RunChoices choices = Read(tokens);
        EXPECT_TRUE(choices.showHelp);
        EXPECT_FALSE(choices.showVersion);
    }
    const RunChoices version = Read({"--version", "--timeout", "x"});
    EXPECT_TRUE(version.showVersion);
    EXPECT_FALSE(version.showHelp);
}

TEST(RunChoices, MissingAndBadValuesAreOneLineNamingTheOption) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"a.doc", "--jobs", "0"}, "--jobs"},
        {{"a.doc", "--jobs=257"}, "--jobs"},
        {{"a.doc", "--jobs=-2"}, "--jobs"},
        {{"a.doc", "--jobs", "two"}, "--jobs"},
        {{"a.doc", "--jobs"}, "--jobs"},
        {{"a.doc", "-j"}, "--jobs"},
        {{"a.doc", "-j", "0"}, "--jobs"},
        {{"a.doc", "--jobs", "99999999999999999999"}, "--jobs"},
        {{"a.doc", "--shard", "4/3"}, "--shard"},
        {{"a.doc", "--shard", "0/3"}, "--shard"},
        {{"a.doc", "--shard", "3"}, "--shard"},
        {{"a.doc", "--shard=1/0"}, "--shard"},
        {{"a.doc", "--shard=/3"}, "--shard"},
        {{"a.doc", "--timeout", "x"}, "--timeout"},
        {{"a.doc", "--timeout", "0"}, "--timeout"},
        {{"a.doc", "--timeout=1.5"}, "--timeout"},
        {{"a.doc", "--dest"}, "--dest"},
        {{"a.doc", "--dest="}, "--dest"},
        {{"a.doc", "--dest", "-o"}, "--dest"},
        {{"a.doc", "--password-file"}, "--password-file"},
        {{"a.doc", "--recycle-after", "0"}, "--recycle-after"},
        {{"a.doc", "--recycle-after=many"}, "--recycle-after"},
        {{"a.doc", "--office-memory", "-1"}, "--office-memory"},
        {{"a.doc", "--office-memory"}, "--office-memory"},
        {{"a.doc", "--memory-limit=0"}, "--memory-limit"},
        {{"a.doc", "--sandbox=yes"}, "--sandbox"},
        {{"a.doc", "--sandbox"}, "--sandbox"},
    };
    for (const auto& [tokens, option] : cases) {
        const std::string problem = Refused(tokens);
        EXPECT_THAT(problem, StartsWith("pelmora: " + option + " needs")) << tokens.back();
        EXPECT_EQ(problem.find('\n'), std::string::npos);
    }
    EXPECT_THAT(Refused({"a.doc", "--shard", "4/3"}), HasSubstr("\"4/3\""));
    EXPECT_THAT(Refused({"a.doc", "--jobs", "0"}), HasSubstr("\"0\""));
}

} // namespace
} // namespace pelmora
