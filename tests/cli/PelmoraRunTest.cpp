// Whole runs of the built pelmora executable against the real office.
#include "cli/Arguments.h"
#include "cli/LongOptions.h"
#include "engine/PathHelpers.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/cli/JsonReader.h"
#include "tests/cli/PelmoraRunFixture.h"
#include "tests/support/DayLogName.h"
#include "tests/support/Matchers.h"
#include "tests/support/Pages.h"
#include "tests/support/StagingRecord.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <pty.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace pelmora {
namespace {

using test::PelmoraRun;

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
    // Clean HTML5: the run's language stays, the office's markup goes.
    EXPECT_THAT(compact,
                AllOf(HasSubstr("<meta charset=utf-8>"), HasSubstr("<span lang=de-DE>Wort"),
                      Not(HasSubstr("<font")), Not(HasSubstr("generator"))));
    // "-f" alone does not keep the folder.
    EXPECT_FALSE(fs::exists(dir_ / "w.files"));
}

TEST_F(PelmoraRun, UsageAndStatuses) {
    auto result = Run({"--help"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_THAT(result.out, HasSubstr("[-d:Dest Path]\tDestination path"));
    // The eleven lines of the usage text, a heading, one line per long option.
    EXPECT_EQ(test::Lines(result.out).size(), 11u + 1u + LongOptions().size());
    EXPECT_EQ(result.err, "");

    result = Run({dir_ / "a.doc", "--jobs", "0", "-l:" + log_});
    EXPECT_EQ(result.exitStatus, 64);
    EXPECT_EQ(result.out, "");
    EXPECT_THAT(test::Lines(result.err), ElementsAre(HasSubstr("--jobs")));
    EXPECT_FALSE(fs::exists(log_));

    // Nothing to convert: no log, success.
    result = Run({dir_ / "nothing/*.doc", "-l:" + log_});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_FALSE(fs::exists(log_));

    // A protected document without its password is a failure of that file only.
    PlaceCorpusFile("password_password_cryptoapi.doc", "bad.doc");
    PlaceRtf("good.rtf", "fine");
    result = Run({dir_ / "bad.doc", dir_ / "good.rtf", "-l:" + log_});
    EXPECT_EQ(result.exitStatus, 1) << result.err;
    EXPECT_THAT(test::Lines(result.out),
                ElementsAre(HasSubstr("  103, Convert " + dir_ / "bad.doc" + " failure"),
                            HasSubstr("  100, ")));

    // A temporary folder the offices cannot use: the 104 line, and the reason beside it.
    // Only an office outside the sandbox keeps its files there.
    test::WriteFile(dir_ / "plain", "a file");
    for (const auto& [folder, reason] :
         {std::pair<std::string, std::string>{dir_ / "gone", "No such file or directory"},
          {dir_ / "plain", "Not a directory"}}) {
        result =
            Run({dir_ / "good.rtf", "-o", "-l:" + log_, "--sandbox=off"}, {{"TMPDIR", folder}});
        EXPECT_EQ(result.exitStatus, 2);
        EXPECT_THAT(test::Lines(result.out),
                    ElementsAre(HasSubstr("  104, Can not load Microsoft Word, Terminate!")));
        EXPECT_EQ(result.err, "pelmora: the temporary folder " + folder +
                                  " (TMPDIR) cannot be used: " + reason + "\n");
    }
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

TEST_F(PelmoraRun, NamesTheOfficeCannotTakeConvertUnderTheirOwnBytes) {
    // Latin-1 names, in a Latin-1 output folder, and a name near the file system's limit.
    const std::string latin1 = "Bericht_M\xe4rz";
    const std::string longName(246, 'L');
    PlaceDoc(latin1 + ".doc");
    PlaceDoc(longName + ".doc");
    const std::string out = dir_ / "Ausgabe_f\xfcr";
    auto result = Run({dir_ / (latin1 + ".doc"), dir_ / (longName + ".doc"), "-f1", "-l:" + log_});
    EXPECT_EQ(result.exitStatus, 0) << result.out;
    result = Run({dir_ / (latin1 + ".doc"), "-d", out, "-f1", "-l:" + log_});
    EXPECT_EQ(result.exitStatus, 0) << result.out;
    for (const std::string& page :
         {dir_ / (latin1 + ".htm"), dir_ / (longName + ".htm"), out + "/" + latin1 + ".htm"}) {
        EXPECT_THAT(test::ReadFile(page), HasSubstr("Hello picture")) << page;
        const auto pictures = test::PictureReferences(page);
        EXPECT_EQ(pictures.size(), 1u) << page;
        for (const std::string& picture : pictures) {
            EXPECT_TRUE(fs::is_regular_file(fs::path(page).parent_path() / picture)) << picture;
        }
    }
}

TEST_F(PelmoraRun, RelativeLinksLeadFromThePageToTheFileTheyLedToFromTheDocument) {
    test::WriteFile(dir_ / "in/pics/dot.png", test::RedPng());
    test::WriteFile(dir_ / "in/linked.html",
                    "<html><body><p><img src=\"pics/dot.png\" width=\"8\" height=\"8\"></p>"
                    "</body></html>");
    const auto made =
        test::ChildProcess("/usr/bin/env", {"soffice", "-env:UserInstallation=file://" + tmp_ / "p",
                                            "--headless", "--convert-to", "odt:writer8", "--outdir",
                                            dir_ / "in", dir_ / "in/linked.html"})
            .Finish();
    ASSERT_EQ(made.exitStatus, 0) << made.err;
    fs::remove_all(tmp_ / "p");
    auto result = Run({dir_ / "in/linked.odt", "-l:" + log_});
    EXPECT_EQ(result.exitStatus, 0) << result.out;
    EXPECT_THAT(test::PictureReferences(dir_ / "in/linked.htm"), ElementsAre("pics/dot.png"));
    result = Run({dir_ / "in/linked.odt", "-d", dir_ / "out", "-l:" + log_});
    EXPECT_EQ(result.exitStatus, 0) << result.out;
    EXPECT_THAT(test::PictureReferences(dir_ / "out/linked.htm"),
                ElementsAre("../in/pics/dot.png"));
}

TEST_F(PelmoraRun, ControlCharactersInNamesStayOnTheirOneLine) {
    // A line end that forges a success line, and a command that retitles the terminal.
    const std::string name = "nl\nfake  100, Successfully convert y\x1b]0;owned\x07.rtf";
    PlaceRtf(name, "forged");
    const std::string shown = dir_ / "nl\\nfake  100, Successfully convert y\\x1b]0;owned\\x07.rtf";
    auto result = Run({dir_ / name, "-l:" + log_});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_THAT(test::Lines(result.out),
                ElementsAre(HasSubstr("  100, Successfully convert " + shown + " to ")));
    EXPECT_EQ(test::Lines(test::ReadFile(log_)), test::Lines(result.out));
    // JSON gives the name byte for byte.
    result = Run({dir_ / name, "-o", "--json", "-l:" + log_});
    const auto object = test::ReadFlatJsonObject(result.out);
    ASSERT_TRUE(object.has_value()) << result.out;
    EXPECT_EQ(object->at("source").text, dir_ / name);
    EXPECT_EQ(test::Lines(test::ReadFile(log_)).size(), 2u);
}

TEST_F(PelmoraRun, DefaultLogFileInTheStateFolder) {
    PlaceRtf("d.rtf", "default log");
    const std::string name = test::DayLogName();
    // Earlier versions wrote the day's log beside the program.
    const std::string besideProgram = std::string(PELMORA_BINARY_DIR) + "/app/" + name;
    fs::remove(besideProgram);
    // XDG_STATE_HOME set: its pelmora folder, made when missing.
    const std::string state = dir_ / "state";
    auto result =
        Run({dir_ / "d.rtf"}, {{"XDG_STATE_HOME", state}, {"LC_ALL", "C"}, {"HOME", dir_ / "h1"}});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_THAT(test::ReadFile(state + "/pelmora/" + name),
                HasSubstr("  100, Successfully convert " + dir_ / "d.rtf"));
    EXPECT_FALSE(fs::exists(dir_ / "h1/.local/state/pelmora"));

    // Unset, or not an absolute path: ~/.local/state/pelmora.
    for (const std::map<std::string, std::string>& environment :
         {std::map<std::string, std::string>{{"LC_ALL", "C"}, {"HOME", dir_ / "h2"}},
          {{"LC_ALL", "C"}, {"HOME", dir_ / "h2"}, {"XDG_STATE_HOME", "relative/state"}}}) {
        result = Run({dir_ / "d.rtf", "-o"}, environment, {"XDG_STATE_HOME"});
        EXPECT_EQ(result.exitStatus, 0) << result.err;
    }
    EXPECT_EQ(test::Lines(test::ReadFile(dir_ / "h2/.local/state/pelmora/" + name)).size(), 2u);
    EXPECT_FALSE(fs::exists(besideProgram));
}

TEST_F(PelmoraRun, PatternsFromTheWorkingFolderAndTheLineForThoseMatchingNothing) {
    PlaceRtf("w1.rtf", "first");
    PlaceRtf("w2.rtf", "second");
    auto environment = Environment();
    environment["PELMORA"] = test::PelmoraBinary();
    // The shell changes into the folder; the pattern reaches pelmora unexpanded.
    const auto found =
        test::ChildProcess("/bin/sh",
                           {"-c", "cd \"$1\" && exec \"$PELMORA\" '*.rtf' '*.nomatch' -l:run.log",
                            "sh", dir_.Path()},
                           environment)
            .Finish();
    EXPECT_EQ(found.exitStatus, 0) << found.err;
    EXPECT_THAT(test::Lines(found.out),
                ElementsAre(HasSubstr("  100, Successfully convert ./w1.rtf"),
                            HasSubstr("  100, Successfully convert ./w2.rtf")));
    EXPECT_EQ(found.err, "");
    EXPECT_TRUE(fs::exists(dir_ / "w1.htm"));
    EXPECT_TRUE(fs::exists(dir_ / "run.log"));

    const auto none = test::ChildProcess("/bin/sh",
                                         {"-c",
                                          "cd \"$1\" && exec \"$PELMORA\" '*.nomatch' "
                                          "'sub/*.doc' -l:none.log",
                                          "sh", dir_.Path()},
                                         environment)
                          .Finish();
    EXPECT_EQ(none.exitStatus, 0);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(none.err, "pelmora: nothing matches \"*.nomatch\" \"sub/*.doc\"\n");
    EXPECT_FALSE(fs::exists(dir_ / "none.log"));
}

TEST_F(PelmoraRun, WithoutArgumentsOrDisplayTheUsageAndAFailureNotACrash) {
    std::ostringstream usage;
    ShowUsage(usage);
    // No display at all, and one that names no server.
    for (const auto& [display, reason] :
         {std::pair<std::string, std::string>{"", "graphical session"},
          {":7391", "cannot open the display :7391"}}) {
        const auto result = Run({}, {{"DISPLAY", display}}, {"WAYLAND_DISPLAY", "QT_QPA_PLATFORM"});
        // 128 + SIGABRT would be Qt's abort.
        EXPECT_EQ(result.exitStatus, 69) << result.err;
        const auto lines = test::Lines(result.err);
        ASSERT_GE(lines.size(), 2u);
        EXPECT_THAT(lines[0], HasSubstr(reason));
        EXPECT_EQ(result.err.substr(result.err.find('\n') + 1), usage.str());
        EXPECT_EQ(result.out, "");
    }
}

// pelmora run with a pseudo-terminal of 72 columns as its standard input, output and
// error: everything the terminal received, and the exit status.
test::ProcessResult RunOnTerminal(const std::vector<std::string>& arguments,
                                  const std::map<std::string, std::string>& environment) {
    struct winsize size {};
    size.ws_col = 72;
    size.ws_row = 24;
    int master = -1;
    const pid_t pid = forkpty(&master, nullptr, nullptr, &size);
    if (pid == 0) {
        for (const auto& [name, value] : environment) {
            setenv(name.c_str(), value.c_str(), 1);
        }
        // The width must come from the terminal itself.
        unsetenv("COLUMNS");
        const std::string binary = test::PelmoraBinary();
        std::vector<char*> argv{const_cast<char*>(binary.c_str())};
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        execv(binary.c_str(), argv.data());
        _exit(127);
    }
    test::ProcessResult result;
    if (pid < 0) {
        return result;
    }
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(master, buffer, sizeof buffer);
        if (got > 0) {
            result.out.append(buffer, static_cast<std::size_t>(got));
        } else if (got < 0 && errno == EINTR) {
            continue;
        } else {
            break; // EIO: the child closed its side
        }
    }
    close(master);
    int status = 0;
    waitpid(pid, &status, 0);
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

// Lines of the terminal as drawn, each cut at every carriage return into its redraws.
std::vector<std::string> TerminalPieces(const std::string& text) {
    std::vector<std::string> pieces;
    std::string piece;
    for (const char c : text) {
        if (c == '\r' || c == '\n') {
            if (!piece.empty()) {
                pieces.push_back(piece);
            }
            piece.clear();
        } else {
            piece += c;
        }
    }
    if (!piece.empty()) {
        pieces.push_back(piece);
    }
    return pieces;
}

TEST_F(PelmoraRun, ProgressLineOnATerminalOnlyAndNeverWiderThanIt) {
    for (int i = 0; i < 3; ++i) {
        PlaceRtf("progress-file-with-a-rather-long-name-" + std::to_string(i) + ".rtf", "p");
    }
    // One office, so every document starts and ends in turn and each gets its own drawing.
    const std::vector<std::string> arguments{dir_ / "progress-*.rtf", "-j", "1", "-l:" + log_};
    auto result = RunOnTerminal(arguments, Environment());
    EXPECT_EQ(result.exitStatus, 0) << result.out;
    EXPECT_THAT(result.out, HasSubstr("\r\x1b[K"));
    std::size_t progressPieces = 0;
    for (std::string piece : TerminalPieces(result.out)) {
        if (piece.rfind("\x1b[K", 0) == 0) {
            piece.erase(0, 3);
        }
        if (piece.find("doc/s") != std::string::npos) {
            ++progressPieces;
            EXPECT_LE(piece.size(), 71u) << piece;
            EXPECT_THAT(piece, ::testing::MatchesRegex("[0-3]/3 [0-9]+% .* left.*"));
        }
    }
    EXPECT_GE(progressPieces, 3u) << result.out;
    // Each report line is written on a cleared line, so the terminal shows it alone, and
    // no progress is left after the last one.
    EXPECT_EQ(test::Lines(test::ReadFile(log_)).size(), 3u);
    std::size_t reportLines = 0;
    for (const std::string& line : test::Lines(result.out)) {
        if (line.find("Successfully convert") != std::string::npos) {
            ++reportLines;
            // With several offices two lines may come before the progress is drawn again:
            // then there is nothing to clear, and the line stands alone as it is.
            const std::size_t cleared = line.rfind("\x1b[K");
            const std::string shown =
                cleared == std::string::npos ? line : line.substr(cleared + 3);
            EXPECT_THAT(shown, ::testing::MatchesRegex("[0-9:]{8}  100, Successfully convert .*"))
                << line;
        }
    }
    EXPECT_EQ(reportLines, 3u);
    EXPECT_THAT(result.out.substr(result.out.rfind("Successfully convert")),
                Not(HasSubstr("doc/s")));

    // --quiet on a terminal, and a pipe: the report lines alone.
    fs::remove(log_);
    result = RunOnTerminal({dir_ / "progress-*.rtf", "-o", "--quiet", "-l:" + log_}, Environment());
    EXPECT_EQ(result.exitStatus, 0) << result.out;
    EXPECT_THAT(result.out, AllOf(Not(HasSubstr("doc/s")), Not(HasSubstr("\x1b"))));
    EXPECT_EQ(test::Lines(result.out).size(), 3u);
    result = Run({dir_ / "progress-*.rtf", "-o", "-l:" + log_});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_THAT(result.out, Not(HasSubstr("\x1b")));
    EXPECT_EQ(test::Lines(result.out).size(), 3u);
}

TEST_F(PelmoraRun, JsonObjectsForEachCodeAndTheLogUnchanged) {
    PlaceRtf("exists.rtf", "old");
    test::WriteFile(dir_ / "exists.htm", "<html>old page</html>");
    PlaceDoc("new.doc");
    PlaceCorpusFile("password_password_cryptoapi.doc", "locked.doc");
    const auto result = Run({dir_ / "exists.rtf", dir_ / "new.doc", dir_ / "missing.doc",
                             dir_ / "locked.doc", "-f1", "--json", "-l:" + log_});
    EXPECT_EQ(result.exitStatus, 1) << result.err;
    const auto lines = test::Lines(result.out);
    ASSERT_EQ(lines.size(), 4u) << result.out;
    const std::vector<std::pair<std::string, int>> expected{
        {"exists", 101}, {"new", 100}, {"missing", 102}, {"locked", 103}};
    const auto logged = test::Lines(test::ReadFile(log_));
    ASSERT_EQ(logged.size(), 4u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto object = test::ReadFlatJsonObject(lines[i]);
        ASSERT_TRUE(object.has_value()) << lines[i];
        const auto& [stem, code] = expected[i];
        EXPECT_EQ(object->at("code").number, code) << lines[i];
        EXPECT_THAT(object->at("source").text, ::testing::StartsWith(dir_ / stem + "."));
        EXPECT_EQ(object->at("page").text, dir_ / stem + ".htm");
        EXPECT_GE(object->at("seconds").number, 0);
        // The log keeps its text lines: the same message after the time.
        EXPECT_THAT(logged[i], ::testing::EndsWith("  " + object->at("message").text));
    }
    const auto converted = *test::ReadFlatJsonObject(lines[1]);
    const auto pictures = std::distance(fs::directory_iterator(dir_ / "new.files"), {});
    EXPECT_GE(pictures, 1);
    EXPECT_EQ(converted.at("pictures").number, static_cast<double>(pictures));
    EXPECT_THAT(test::ReadFlatJsonObject(lines[3])->at("message").text,
                HasSubstr("password is wrong or missing"));
}

TEST_F(PelmoraRun, PasswordFileTriesEachPasswordAndNeverShowsThem) {
    PlaceCorpusFile("password_password_cryptoapi.doc", "locked.doc");
    const std::string passwords = dir_ / "pw-list";
    test::WriteFile(passwords, "not-it-7q\npassword\n");
    fs::permissions(passwords, fs::perms::owner_read | fs::perms::owner_write);
    auto result = Run({dir_ / "locked.doc", "--password-file", passwords, "-l:" + log_});
    EXPECT_EQ(result.exitStatus, 0) << result.out << result.err;
    EXPECT_THAT(test::Lines(result.out),
                ElementsAre(HasSubstr("  100, Successfully convert " + dir_ / "locked.doc")));
    EXPECT_EQ(result.err, "");
    EXPECT_TRUE(fs::exists(dir_ / "locked.htm"));
    const std::string firstOut = result.out;

    // Readable by others: converted all the same, with a warning. Neither password is
    // ever shown.
    fs::permissions(passwords, fs::perms::others_read, fs::perm_options::add);
    result = Run({dir_ / "locked.doc", "-o", "--password-file=" + passwords, "-l:" + log_});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_THAT(result.err, HasSubstr("other users can read the password file"));
    const std::string log = test::ReadFile(log_);
    EXPECT_THAT(firstOut + result.out + log,
                AllOf(Not(HasSubstr("password")), Not(HasSubstr("not-it-7q"))));
    // The warning says "password file" once, and nothing else of it.
    EXPECT_EQ(result.err.find("password"), result.err.rfind("password")) << result.err;
    EXPECT_THAT(result.err, Not(HasSubstr("not-it-7q")));

    // A password file that cannot be read: one line, the status of a bad option, and
    // nothing converted.
    fs::remove(dir_ / "locked.htm");
    result = Run({dir_ / "locked.doc", "--password-file", dir_ / "no-such-list", "-l:" + log_});
    EXPECT_EQ(result.exitStatus, 64);
    EXPECT_THAT(test::Lines(result.err),
                ElementsAre(HasSubstr("cannot read the password file " + dir_ / "no-such-list")));
    EXPECT_EQ(result.out, "");
    EXPECT_FALSE(fs::exists(dir_ / "locked.htm"));

    // All wrong: the document fails as it does without a password.
    test::WriteFile(passwords, "not-it-7q\nnor-this\n");
    result = Run({dir_ / "locked.doc", "-o", "--password-file", passwords, "-l:" + log_});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_THAT(result.out, HasSubstr("  103, Convert " + dir_ / "locked.doc" +
                                      " failure, the error message is the password is wrong"));
    EXPECT_THAT(result.out + result.err,
                AllOf(Not(HasSubstr("not-it-7q")), Not(HasSubstr("nor-this"))));
}

TEST_F(PelmoraRun, KilledRunResumesWithEveryDocumentConvertedOnceAndWhole) {
    constexpr int kDocuments = 30;
    constexpr int kOffices = 2;
    std::vector<std::string> arguments = PlaceNumberedDocs("r", kDocuments);
    arguments.insert(arguments.end(), {"--jobs", std::to_string(kOffices)});
    test::ChildProcess child(test::PelmoraBinary(), arguments, Environment());
    ASSERT_TRUE(child.WaitForOutputLines(3));
    // Everything of the run at once, office included, as a crash or kill -9 would.
    for (int round = 0; round < 20; ++round) {
        const auto processes = test::ProcessesUsingTemporaryFolder(tmp_.Path());
        if (processes.empty()) {
            break;
        }
        for (const int pid : processes) {
            kill(pid, SIGKILL);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    const auto first = child.Finish();
    EXPECT_EQ(first.exitStatus, 128 + SIGKILL);
    const auto stagingFolders = [this] {
        std::vector<std::string> names;
        for (const std::string& name : test::FolderNames(dir_.Path())) {
            if (name.rfind(".pelmora-", 0) == 0) {
                names.push_back(name);
            }
        }
        return names;
    };
    // Found by a later run, as a folder killed before its record was written would be.
    for (const std::string& name : stagingFolders()) {
        fs::last_write_time(dir_ / name, fs::file_time_type::clock::now() - std::chrono::hours(1));
    }

    // Beside whatever the killed run left: a staging folder of another process that is
    // gone, and one whose maker is unknown (it may be setting it up right now).
    const pid_t gone = fork();
    if (gone == 0) {
        _exit(0);
    }
    waitpid(gone, nullptr, 0);
    fs::create_directories(dir_ / ".pelmora-gone00");
    test::WriteFile(dir_ / ".pelmora-gone00/owner", test::StagingRecord(gone, "12345", "a.htm"));
    fs::create_directories(dir_ / ".pelmora-unknwn");

    const auto second = Run(arguments);
    EXPECT_EQ(second.exitStatus, 0) << second.err;
    std::map<std::string, int> conversions;
    auto printed = test::Lines(first.out);
    for (const std::string& line : test::Lines(second.out)) {
        printed.push_back(line);
    }
    for (const std::string& line : printed) {
        const auto at = line.find("  100, Successfully convert ");
        if (at != std::string::npos) {
            ++conversions[line.substr(at + 28, line.find(" to ") - at - 28)];
        }
    }
    const auto firstLines = test::Lines(first.out);
    EXPECT_GE(firstLines.size(), 3u);
    EXPECT_LT(firstLines.size(), static_cast<std::size_t>(kDocuments));
    EXPECT_EQ(test::Lines(second.out).size(), static_cast<std::size_t>(kDocuments));
    // Only pages whose lines were still held at the kill lack them: a finished page
    // waits for the line of the one before it, so with equal documents one an office.
    EXPECT_GE(conversions.size(), static_cast<std::size_t>(kDocuments - kOffices));
    for (const auto& [source, count] : conversions) {
        EXPECT_EQ(count, 1) << source;
    }
    for (int i = 0; i < kDocuments; ++i) {
        const std::string page = test::ReadFile(dir_ / ("r" + std::to_string(100 + i) + ".htm"));
        EXPECT_THAT(page, HasSubstr("Hello picture")) << i;
        EXPECT_THAT(page.substr(page.rfind('<')), HasSubstr("</html>")) << i;
    }
    // The staging folders of gone processes went; the unknown one stayed.
    EXPECT_THAT(stagingFolders(), ElementsAre(".pelmora-unknwn"));
}

} // namespace
} // namespace pelmora
