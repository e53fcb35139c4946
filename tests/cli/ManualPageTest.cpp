// The manual page as man renders it, the bash completion, and what cmake --install
// puts where.
#include "cli/LongOptions.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/support/Matchers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace pelmora {
namespace {

TEST(ManualPage, RendersWithEverySectionAndOption) {
    const std::string page = std::string(PELMORA_BINARY_DIR) + "/docs/pelmora.1";
    const auto result =
        test::ChildProcess(
            "/usr/bin/env", {"man", "--warnings", "-l", page},
            {{"MANWIDTH", "80"}, {"MANPAGER", "cat"}, {"PAGER", "cat"}, {"LC_ALL", "C.UTF-8"}})
            .Finish();
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const std::string& text = result.out;
    for (const char* section : {"NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "EXIT STATUS",
                                "FILES", "ENVIRONMENT", "EXAMPLES", "SEE ALSO"}) {
        EXPECT_THAT(text, HasSubstr("\n" + std::string(section) + "\n")) << section;
    }
    EXPECT_THAT(text, HasSubstr("pelmora " PELMORA_TEST_VERSION));
    EXPECT_THAT(text, HasSubstr(".local/state"));
    EXPECT_THAT(text, Not(HasSubstr("@PROJECT_VERSION@")));
    for (const LongOption& option : LongOptions()) {
        EXPECT_THAT(text, HasSubstr(std::string("--") + option.name)) << option.name;
    }
}

// Completion as bash runs it: words in COMP_WORDS, and compopt (which works only in a
// real completion) recorded, so that how bash will quote the answers can be checked.
struct Completion {
    std::vector<std::string> answers;
    std::string options; ///< what compopt was asked to set, and the "complete" line
};

Completion Complete(const std::string& folder, const std::string& words) {
    const std::string script =
        std::string(PELMORA_SOURCE_DIR) + "/resources/completion/pelmora.bash";
    const auto result =
        test::ChildProcess("/bin/bash",
                           {"-c",
                            "cd \"$2\" && source \"$1\" && compopt() { options+=\" $1 $2\"; } && "
                            "COMP_WORDS=(" +
                                words +
                                ") && COMP_CWORD=$((${#COMP_WORDS[@]}-1)) && _pelmora "
                                "2>/dev/null; printf '%s\\n' \"${COMPREPLY[@]}\"; "
                                "printf '%s|' \"$options\" \"$(complete -p pelmora)\" >&2",
                            "bash", script, folder})
            .Finish();
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    return {test::Lines(result.out), result.err};
}

TEST(BashCompletion, CompletesLongOptionsAndFoldersAfterDest) {
    test::TempFolder dir;
    fs::create_directories(dir / "outdir");
    test::WriteFile(dir / "outfile", "x");
    const auto complete = [&](const std::string& words) {
        return Complete(dir.Path(), words).answers;
    };
    EXPECT_THAT(complete("pelmora a.doc --ti"), ::testing::ElementsAre("--timeout="));
    EXPECT_THAT(complete("pelmora a.doc --pass"), ::testing::ElementsAre("--password-file="));
    EXPECT_THAT(complete("pelmora a.doc --dest out"), ::testing::ElementsAre("outdir"));
    EXPECT_THAT(complete("pelmora a.doc --log out"),
                ::testing::UnorderedElementsAre("outdir", "outfile"));
}

TEST(BashCompletion, NamesWithBlanksStayWholeAndOnlyFileNamesAreQuoted) {
    test::TempFolder dir;
    fs::create_directories(dir / "my dir");
    test::WriteFile(dir / "a file.doc", "x");
    test::WriteFile(dir / "a2.doc", "x");
    const auto files = Complete(dir.Path(), "pelmora a");
    EXPECT_THAT(files.answers, ::testing::UnorderedElementsAre("a file.doc", "a2.doc"));
    EXPECT_THAT(files.options, HasSubstr("-o filenames"));
    // Bash splits "--dest=my" at the "="; the value is completed as a folder.
    const auto folder = Complete(dir.Path(), "pelmora a.doc --dest = my");
    EXPECT_THAT(folder.answers, ::testing::ElementsAre("my dir"));
    EXPECT_THAT(folder.options, HasSubstr("-o filenames"));
    // An option is no file name: quoted as one, "--dest=" became "--dest\\=".
    const auto option = Complete(dir.Path(), "pelmora a.doc --de");
    EXPECT_THAT(option.answers, ::testing::ElementsAre("--dest="));
    EXPECT_THAT(option.options, Not(HasSubstr("filenames")));
}

TEST(Install, PutsManualsAndCompletionInShare) {
    test::TempFolder prefix;
    const auto result =
        test::ChildProcess("/usr/bin/env",
                           {"cmake", "--install", PELMORA_BINARY_DIR, "--prefix", prefix.Path()})
            .Finish();
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_TRUE(fs::exists(prefix / "bin/pelmora"));
    EXPECT_TRUE(fs::exists(prefix / "share/doc/pelmora/help.html"));
    EXPECT_FALSE(fs::exists(prefix / "bin/help.html"));
    EXPECT_TRUE(fs::exists(prefix / "share/man/man1/pelmora.1"));
    EXPECT_TRUE(fs::exists(prefix / "share/bash-completion/completions/pelmora"));
    const auto version = test::ChildProcess(prefix / "bin/pelmora", {"--version"}).Finish();
    EXPECT_EQ(version.out, "pelmora " PELMORA_TEST_VERSION "\n");
}

} // namespace
} // namespace pelmora
