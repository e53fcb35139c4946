#include "cli/Arguments.h"

#include "engine/FileSearch.h"
#include "engine/PathHelpers.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/support/Matchers.h"
#include "tests/support/OutputTable.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <unistd.h>

namespace pelmora {
namespace {

std::vector<std::string> Expanded(const CommandLineArguments& arguments, bool subfolders) {
    std::vector<std::string> list;
    arguments.ExpandFileList(list, subfolders);
    return list;
}

TEST(ParseCommandLine, EmptyAndBlankLinesHaveNoTokens) {
    EXPECT_THAT(ParseCommandLine(""), IsEmpty());
    EXPECT_THAT(ParseCommandLine("    "), IsEmpty());
    EXPECT_EQ(CommandLineArguments::FromRawCommandLine("  ").ArgumentCount(), 0);
}

TEST(ParseCommandLine, QuotesGroupSpacesSlashesAndDashes) {
    EXPECT_THAT(ParseCommandLine("  \"C:\\my docs\\a-b/c.doc\"   /s "),
                ElementsAre("\"C:\\my docs\\a-b/c.doc\"", "/s"));
    // A switch glued to a quoted folder stays one token.
    EXPECT_THAT(ParseCommandLine("/d:\"C:\\out dir\" x.doc"),
                ElementsAre("/d:\"C:\\out dir\"", "x.doc"));
    // An unclosed quote makes the rest of the line one quoted run.
    EXPECT_THAT(ParseCommandLine("a \"b c"), ElementsAre("a", "\"b c \""));
}

TEST(ParseCommandLine, OutsideQuotesEverySlashAndDashBeginsAToken) {
    EXPECT_THAT(ParseCommandLine("C:\\my-file.doc"), ElementsAre("C:\\my", "-file.doc"));
    EXPECT_THAT(ParseCommandLine("a.doc/s"), ElementsAre("a.doc", "/s"));
    EXPECT_THAT(ParseCommandLine("a//b"), ElementsAre("a", "/", "/b"));
}

TEST(ParseCommandLine, DoubledQuotesAreLiteralQuotes) {
    const auto tokens = ParseCommandLine("\"say \"\"hi\"\" now\" x\"\"y");
    EXPECT_THAT(tokens, ElementsAre("\"say \"\"hi\"\" now\"", "x\"\"y"));
    EXPECT_EQ(Unquote(tokens[0]), "say \"hi\" now");
}

TEST(Unquote, OnlyTextBothBeginningAndEndingWithAQuote) {
    test::ExpectOutputs(Unquote, {{"\"a b\"", "a b"},
                                  {"\"a\"\"b\"", "a\"b"},
                                  {"\"\"", ""},
                                  {"\"", "\""},
                                  {"a\"", "a\""},
                                  {"\"a", "\"a"},
                                  {"", ""}});
}

TEST(RawCommandLine, ArgumentsAndSwitches) {
    const auto args =
        CommandLineArguments::FromRawCommandLine("\"C:\\a b.doc\" /O /overwrite -S /fx /help");
    EXPECT_EQ(args.ArgumentCount(), 6);
    EXPECT_EQ(args.GetArgument(1, true), "C:\\a b.doc");
    EXPECT_EQ(args.GetArgument(1, false), "\"C:\\a b.doc\"");
    EXPECT_EQ(args.GetArgument(0, false), "");
    EXPECT_EQ(args.GetArgument(7, false), "");
    EXPECT_TRUE(args.HasSwitch("o"));
    EXPECT_TRUE(args.HasSwitch("s"));
    EXPECT_TRUE(args.HasSwitch("H"));
    EXPECT_TRUE(args.HasSwitch("f", true));
    EXPECT_FALSE(args.HasSwitch("c"));
    EXPECT_FALSE(args.HasSwitch("d"));
}

TEST(RawCommandLine, ValueRequiredLooksOnlyAtTheFirstMatchingSwitch) {
    EXPECT_FALSE(CommandLineArguments::FromRawCommandLine("/f").HasSwitch("f", true));
    EXPECT_TRUE(CommandLineArguments::FromRawCommandLine("/f").HasSwitch("f"));
    EXPECT_TRUE(CommandLineArguments::FromRawCommandLine("/f:").HasSwitch("f", true));
    EXPECT_FALSE(CommandLineArguments::FromRawCommandLine("/f /fx").HasSwitch("f", true));
}

TEST(RawCommandLine, SwitchValues) {
    const auto args = CommandLineArguments::FromRawCommandLine(
        "x /l:c:\\abc.log /d:\"C:\\out dir\" /p= spaced /q=\"v\"");
    EXPECT_EQ(args.GetSwitchValue("l", true), ":c:\\abc.log");
    EXPECT_EQ(args.GetSwitchPath("l"), "c:\\abc.log");
    EXPECT_EQ(args.GetSwitchValue("d", true), ":\"C:\\out dir\"");
    EXPECT_EQ(args.GetSwitchPath("d"), "C:\\out dir");
    EXPECT_EQ(args.GetSwitchValue("p", true), "");
    EXPECT_EQ(args.GetSwitchValue("q", true), "\"v\"");
    EXPECT_EQ(args.GetSwitchValue("z", true), "");
    // A raw command line never takes a value from the next token.
    EXPECT_EQ(CommandLineArguments::FromRawCommandLine("/d out").GetSwitchValue("d", true), "");
}

TEST(RawCommandLine, FileListEndsAtTheFirstSlashTokenButNotAtADash) {
    EXPECT_THAT(Expanded(CommandLineArguments::FromRawCommandLine("C:\\my-file.doc \"x y.rtf\" "
                                                                  "/s later.doc"),
                         false),
                ElementsAre("C:\\my", "-file.doc", "x y.rtf"));
    EXPECT_THAT(Expanded(CommandLineArguments::FromRawCommandLine("/s C:\\*.doc"), true),
                IsEmpty());
}

TEST(ShellArguments, TokensAreTheArgumentsAsGiven) {
    const auto args = test::Shell({"/home/ann/my-file.doc", "\"quoted\".doc", "a b.rtf", ""});
    EXPECT_EQ(args.ArgumentCount(), 4);
    EXPECT_EQ(args.GetArgument(1, true), "/home/ann/my-file.doc");
    // The shell has removed its quotes; what is left belongs to the name.
    EXPECT_EQ(args.GetArgument(2, true), "\"quoted\".doc");
    EXPECT_EQ(args.GetArgument(3, true), "a b.rtf");
    EXPECT_EQ(test::Shell({}).ArgumentCount(), 0);
}

TEST(ShellArguments, OnlyDashBeginsASwitchAndDoubleDashIsOneDash) {
    const auto args = test::Shell({"/s", "--Hello", "-O", "--fx"});
    EXPECT_FALSE(args.HasSwitch("s"));
    EXPECT_TRUE(args.HasSwitch("h"));
    EXPECT_TRUE(args.HasSwitch("o"));
    EXPECT_TRUE(args.HasSwitch("f", true));
    EXPECT_FALSE(test::Shell({"--f"}).HasSwitch("f", true));
    EXPECT_TRUE(test::Shell({"-?"}).HasSwitch("?"));
}

TEST(ShellArguments, ValuesInTheSameOrTheNextToken) {
    EXPECT_EQ(test::Shell({"-d:/out"}).GetSwitchPath("d"), "/out");
    EXPECT_EQ(test::Shell({"-d=/out"}).GetSwitchPath("d"), "/out");
    EXPECT_EQ(test::Shell({"-d", "/my out"}).GetSwitchPath("d"), "/my out");
    EXPECT_EQ(test::Shell({"--logfile", "x"}).GetSwitchValue("l", true), "ogfile");
    EXPECT_EQ(test::Shell({"-l", "-s"}).GetSwitchPath("l"), "");
    EXPECT_EQ(test::Shell({"-l"}).GetSwitchPath("l"), "");
    // "-l:" alone means the default log file, as the usage text shows it; a value in
    // the next token is read as with "-l FILE".
    EXPECT_EQ(test::Shell({"-l:"}).GetSwitchPath("l"), "");
    EXPECT_EQ(test::Shell({"-l:", "x"}).GetSwitchPath("l"), "x");
    EXPECT_EQ(test::Shell({"-d:", "/srv/out"}).GetSwitchPath("d"), "/srv/out");
    EXPECT_EQ(test::Shell({"-d:", "-s"}).GetSwitchPath("d"), "");
    EXPECT_EQ(test::Shell({"-d:/a \"b\""}).GetSwitchPath("d"), "/a \"b\"");
}

TEST(ShellArguments, LongOptionsAreKeptApartFromShortSwitches) {
    const auto args = test::Shell({"a.doc", "--dest=/out", "--log", "--jobs", "4", "--json"});
    EXPECT_TRUE(args.HasLongOption("dest"));
    EXPECT_EQ(args.GetLongOptionValue("dest"), "/out");
    EXPECT_EQ(args.GetLongOptionValue("jobs"), "4");
    // The next token is a switch, so "--log" has no value.
    EXPECT_TRUE(args.HasLongOption("log"));
    EXPECT_EQ(args.GetLongOptionValue("log"), "");
    EXPECT_TRUE(args.HasLongOption("json"));
    EXPECT_FALSE(args.HasLongOption("js"));
    EXPECT_FALSE(args.HasLongOption("quiet"));
    // A long option is no short switch: "--dest" is not "-d" with the value "est".
    EXPECT_FALSE(args.HasSwitch("d"));
    EXPECT_FALSE(args.HasSwitch("j"));
    EXPECT_EQ(args.GetSwitchPath("l"), "");
    EXPECT_THAT(Expanded(args, false), ElementsAre("a.doc"));
    // Only shell arguments have long options.
    EXPECT_FALSE(CommandLineArguments::FromRawCommandLine("a.doc --json").HasLongOption("json"));
}

TEST(ShellArguments, FileListEndsAtTheFirstSwitch) {
    EXPECT_THAT(Expanded(test::Shell({"a.doc", "./-x.doc", "/abs/b.rtf", "-o", "c.doc"}), false),
                ElementsAre("a.doc", "./-x.doc", "/abs/b.rtf"));
    EXPECT_THAT(Expanded(test::Shell({"-s", "a.doc"}), false), IsEmpty());
    // A folder given without a pattern is taken as a file name.
    EXPECT_THAT(Expanded(test::Shell({"/tmp"}), false), ElementsAre("/tmp"));
}

TEST(ShellArguments, PatternsAreSearchedInTheirFolderInArgumentOrder) {
    test::TempFolder dir;
    test::WriteFile(dir / "b.doc", "b");
    test::WriteFile(dir / "A.DOC", "a");
    test::WriteFile(dir / "c.rtf", "c");
    test::WriteFile(dir / "sub/d.doc", "d");
    const auto args = test::Shell({dir / "*.doc", "plain.doc", dir / "?.rtf", dir / "none/*.doc"});
    EXPECT_THAT(Expanded(args, false),
                ElementsAre(dir / "A.DOC", dir / "b.doc", "plain.doc", dir / "c.rtf"));
    EXPECT_THAT(Expanded(args, true), ElementsAre(dir / "A.DOC", dir / "b.doc", dir / "sub/d.doc",
                                                  "plain.doc", dir / "c.rtf"));
    EXPECT_FALSE(SharedSearch().running);
}

TEST(ShellArguments, PatternWithoutFolderSearchesTheWorkingFolderAndReportsEmptyOnes) {
    test::TempFolder dir;
    test::WriteFile(dir / "b.zdoc", "b");
    test::WriteFile(dir / "a.zdoc", "a");
    test::WriteFile(dir / "sub/c.zdoc", "c");
    // A file of the same kind beside the program must not be found.
    const std::string besideProgram = AppFolder() + "cli-wd-" + std::to_string(getpid()) + ".zdoc";
    test::WriteFile(besideProgram, "x");
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    std::vector<std::string> found;
    std::vector<std::string> unmatched;
    test::Shell({"*.zdoc", "*.none", "sub/*.zdoc", "gone/*.doc", "plain.doc"})
        .ExpandFileList(found, false, &unmatched);
    std::vector<std::string> deep;
    test::Shell({"*.zdoc"}).ExpandFileList(deep, true);
    std::filesystem::current_path(before);
    std::filesystem::remove(besideProgram);

    EXPECT_THAT(found, ElementsAre("./a.zdoc", "./b.zdoc", "sub/c.zdoc", "plain.doc"));
    EXPECT_THAT(unmatched, ElementsAre("*.none", "gone/*.doc"));
    EXPECT_THAT(deep, ElementsAre("./a.zdoc", "./b.zdoc", "./sub/c.zdoc"));
    EXPECT_EQ(NothingMatchesLine(unmatched), "pelmora: nothing matches \"*.none\" \"gone/*.doc\"");
}

TEST(ShowUsage, PrintsTheThirteenLines) {
    std::ostringstream out;
    ShowUsage(out);
    const std::string expected =
        "pelmora <File List> [-d:Dest Path] [-s] [-o] [-l:[LogFile]] [-c] [-f] [-?]\n"
        "\n"
        "<File List>\tFile list want to be converted, Example: /home/ann/abc.doc /srv/*.doc\n"
        "[-d:Dest Path]\tDestination path, Default: Same as input file;\n"
        "[-s]\t\tInclude subfolders;\n"
        "[-o]\t\tOverwrite existing output files;\n"
        "[-l:[LogFile]]\tCreate a .log File, if doesn't specify, will be create in app path;"
        "               \n"
        "[-c]\t\tCompress HTML files;\n"
        "[-f]\t\tCreate the XXX.files Dir;\n"
        "[-?]\t\tShow this message box.\n"
        "\n"
        "Example: Convert /home/ann/test.doc and all doc files in /tmp/docs to HTML files, save "
        "logs to /tmp/abc.log\n"
        "pelmora /home/ann/test.doc /tmp/docs/*.doc -l:/tmp/abc.log\n";
    EXPECT_EQ(out.str(), expected);
}

} // namespace
} // namespace pelmora
