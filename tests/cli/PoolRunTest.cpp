// Whole runs with several offices at once: crashes and hangs, pages shared by two
// sources, Ctrl+C, and offices started afresh.
#include "engine/BatchRunner.h"
#include "tests/cli/PelmoraRunFixture.h"
#include "tests/support/LongTable.h"
#include "tests/support/Matchers.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>

namespace pelmora {
namespace {

using test::PelmoraRun;

// A damaged, a protected and three plain samples.
constexpr const char* kMixedSamples[] = {"Fuzzed.doc", "password_password_cryptoapi.doc",
                                         "simple.doc", "Word95.doc", "table-merges.doc"};

// Two offices at once: Ctrl+C ends both, and the lines written are those of a run of
// the list up to some document, in list order, with nothing left behind.
TEST_F(PelmoraRun, CtrlCStopsEveryOfficeAndKeepsTheLinesSoFarInListOrder) {
    std::vector<std::string> arguments = PlaceNumberedDocs("n", 60);
    arguments.push_back("--jobs");
    arguments.push_back("2");
    test::ChildProcess child(test::PelmoraBinary(), arguments, Environment());
    ASSERT_TRUE(child.WaitForOutputLines(3));
    kill(child.Pid(), SIGINT);
    const auto result = child.Finish();
    EXPECT_EQ(result.exitStatus, 130) << result.err;
    const auto printed = test::Lines(result.out);
    const auto logged = test::Lines(test::ReadFile(log_));
    EXPECT_EQ(logged, printed);
    EXPECT_GE(logged.size(), 3u);
    EXPECT_LT(logged.size(), 60u);
    // A document the stop ended in its office has no line; one the other office
    // finished after it still has its own, in its place.
    const std::string converted = "  100, Successfully convert " + dir_ / "n";
    int previous = 99;
    int skipped = 0;
    for (const std::string& line : logged) {
        ASSERT_THAT(line, HasSubstr(converted));
        const int number = std::stoi(line.substr(line.find(converted) + converted.size(), 3));
        EXPECT_GT(number, previous) << line;
        skipped += number - previous - 1;
        previous = number;
    }
    EXPECT_LE(skipped, 1);
    EXPECT_THAT(test::ProcessesUsingTemporaryFolder(tmp_.Path()), IsEmpty());
    EXPECT_TRUE(fs::is_empty(tmp_.Path()));
    for (const auto& entry : fs::directory_iterator(dir_.Path())) {
        EXPECT_EQ(entry.path().filename().string().rfind(".pelmora-", 0), std::string::npos)
            << entry.path();
    }
}

// Two offices give the lines, in the order, of one: a damaged file, a protected one,
// two sources of one page, two folders into one output folder and plain documents.
// The later source of a page waits for the earlier and follows the overwrite rule.
TEST_F(PelmoraRun, TwoOfficesGiveTheLinesAndPagesOfOne) {
    for (const char* name : kMixedSamples) {
        PlaceCorpusFile(name);
    }
    PlaceDoc("page.doc");
    PlaceRtf("page.rtf", "same page");
    PlaceDoc("a/twin.doc");
    PlaceRtf("b/twin.rtf", "second twin");
    const std::vector<std::string> files{
        dir_ / "Fuzzed.doc", dir_ / "page.doc",   dir_ / "password_password_cryptoapi.doc",
        dir_ / "page.rtf",   dir_ / "a/twin.doc", dir_ / "simple.doc",
        dir_ / "b/twin.rtf", dir_ / "Word95.doc", dir_ / "table-merges.doc"};
    // The lines without their time, the output folder written as OUT.
    auto lines = [&](const std::string& jobs, bool overwrite) {
        const std::string out = dir_ / ("out-" + jobs + (overwrite ? "-o" : ""));
        std::vector<std::string> arguments = files;
        arguments.insert(arguments.end(), {"-d", out, "-l", log_, "--jobs", jobs});
        if (overwrite) {
            arguments.push_back("-o");
        }
        const auto result = Run(arguments);
        std::vector<std::string> found;
        for (std::string line : test::Lines(result.out)) {
            for (auto at = line.find(out); at != std::string::npos; at = line.find(out)) {
                line.replace(at, out.size(), "OUT");
            }
            found.push_back(line.substr(8));
        }
        return std::pair{found, out};
    };
    for (const bool overwrite : {false, true}) {
        SCOPED_TRACE(overwrite ? "-o" : "without -o");
        const auto [one, oneOut] = lines("1", overwrite);
        const auto [two, twoOut] = lines("2", overwrite);
        ASSERT_EQ(one.size(), files.size());
        EXPECT_EQ(two, one);
        const std::string second = overwrite ? "  100, " : "  101, ";
        EXPECT_THAT(one[1], HasSubstr("  100, "));
        EXPECT_THAT(one[3], HasSubstr(second));
        EXPECT_THAT(one[4], HasSubstr("  100, "));
        EXPECT_THAT(one[6], HasSubstr(second));
        EXPECT_THAT(one[2], HasSubstr("  103, "));
        for (const char* page : {"simple.htm", "Word95.htm", "table-merges.htm"}) {
            EXPECT_TRUE(fs::exists(fs::path(twoOut) / page)) << page;
        }
        for (const auto& [page, words] : std::vector<std::pair<std::string, std::string>>{
                 {"page.htm", overwrite ? "same page" : "Hello picture"},
                 {"twin.htm", overwrite ? "second twin" : "Hello picture"}}) {
            EXPECT_THAT(test::ReadFile(oneOut + "/" + page), HasSubstr(words)) << page;
            EXPECT_THAT(test::ReadFile(twoOut + "/" + page), HasSubstr(words)) << page;
        }
    }
}

// The offices among pids working on a document called name: the office's private copy
// of it is in its work folder, beside the profile its command line names, from before
// loading until the document is closed. (An open file would show only while the office
// reads it, a moment a poll can miss.) Only an office may be killed, never the run.
std::vector<int> OfficesWorkingOn(const std::vector<int>& pids, const std::string& name) {
    std::vector<int> found;
    for (const int pid : pids) {
        const std::string proc = "/proc/" + std::to_string(pid);
        if (test::ReadFile(proc + "/comm").rfind("soffice", 0) != 0) {
            continue;
        }
        const std::string commandLine = test::ReadFile(proc + "/cmdline");
        const std::string key = "-env:UserInstallation=file://";
        const std::size_t at = commandLine.find(key);
        if (at == std::string::npos) {
            continue;
        }
        const std::string profile = commandLine.substr(at + key.size()).c_str();
        std::error_code ec;
        const fs::path work = fs::path(profile).parent_path() / "work";
        for (auto it = fs::recursive_directory_iterator(work, ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
            if (it->path().filename() == name) {
                found.push_back(pid);
                break;
            }
        }
    }
    return found;
}

// One office crashes under a document (killed as a crash would end it) and another
// hangs past the time limit, among damaged, protected and plain documents: two
// offices give the codes, in the order, of one, and every plain document converts.
TEST_F(PelmoraRun, AnOfficeThatCrashesOrHangsFailsOnlyItsDocument) {
    for (const char* name : kMixedSamples) {
        PlaceCorpusFile(name);
    }
    test::WriteFile(dir_ / "hangs.rtf", test::LongTableRtf(20000));
    test::WriteFile(dir_ / "crashes.rtf", test::LongTableRtf(20000));
    PlaceRtf("after1.rtf", "first after");
    PlaceRtf("after2.rtf", "second after");
    const std::vector<std::string> files{
        dir_ / "Fuzzed.doc", dir_ / "simple.doc",       dir_ / "hangs.rtf",
        dir_ / "Word95.doc", dir_ / "crashes.rtf",      dir_ / "password_password_cryptoapi.doc",
        dir_ / "after1.rtf", dir_ / "table-merges.doc", dir_ / "after2.rtf"};
    auto run = [&](const std::string& jobs) {
        std::vector<std::string> arguments = files;
        // The offices are found by their files in the temporary folder, which a
        // sandboxed office does not use.
        arguments.insert(arguments.end(), {"-d", dir_ / ("out" + jobs), "-l", log_, "--jobs", jobs,
                                           "--timeout", "6", "--sandbox=off"});
        test::ChildProcess child(test::PelmoraBinary(), arguments, Environment());
        // The office that opened crashes.rtf dies under it, once.
        bool killed = false;
        for (int round = 0; !killed && round < 3000; ++round) {
            const auto running = test::ProcessesUsingTemporaryFolder(tmp_.Path());
            if (running.empty() && round > 100) {
                break; // the run is over
            }
            for (const int pid : OfficesWorkingOn(running, "crashes.rtf")) {
                killed = kill(pid, SIGKILL) == 0 || killed;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        EXPECT_TRUE(killed);
        const auto result = child.Finish();
        EXPECT_EQ(result.exitStatus, 1) << result.err;
        EXPECT_THAT(test::ProcessesUsingTemporaryFolder(tmp_.Path()), IsEmpty());
        return test::Lines(result.out);
    };
    const auto one = run("1");
    const auto two = run("2");
    ASSERT_EQ(one.size(), files.size());
    ASSERT_EQ(two.size(), files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(two[i].substr(10, 5), one[i].substr(10, 5)) << two[i];
        EXPECT_THAT(two[i], HasSubstr(" " + files[i] + " ")) << i;
    }
    for (const auto* lines : {&one, &two}) {
        EXPECT_THAT((*lines)[2],
                    HasSubstr("  103, Convert " + dir_ / "hangs.rtf" +
                              " failure, the error message is the converter took longer than 6 "
                              "seconds while opening the document and was stopped"));
        EXPECT_THAT((*lines)[4], AllOf(HasSubstr("  103, Convert " + dir_ / "crashes.rtf"),
                                       HasSubstr("signal 9")));
        for (const std::size_t plain : {1, 3, 6, 7, 8}) {
            EXPECT_THAT((*lines)[plain], HasSubstr("  100, Successfully convert ")) << plain;
        }
    }
    EXPECT_THAT(test::ReadFile(dir_ / "out2/after2.htm"), HasSubstr("second after"));
}

// An office is started afresh after --recycle-after documents, and the run goes on
// converting with the new one; the help names the pool's own limits as the defaults.
TEST_F(PelmoraRun, RecycledOfficesGoOnConverting) {
    std::vector<std::string> arguments = PlaceNumberedDocs("c", 5);
    arguments.insert(arguments.end(), {"-j", "1", "--recycle-after", "2"});
    const auto result = Run(arguments, {{"PELMORA_POOL_STATS", "1"}});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    const auto lines = test::Lines(result.out);
    ASSERT_EQ(lines.size(), 5u);
    for (const std::string& line : lines) {
        EXPECT_THAT(line, HasSubstr("  100, Successfully convert "));
    }
    EXPECT_THAT(result.err, HasSubstr("pool of 1, 3 sessions started"));

    const std::string help = Run({"--help"}).out;
    const PoolSettings pool;
    EXPECT_THAT(help, HasSubstr("(default: " + std::to_string(pool.documentsPerSession) + ")"));
    EXPECT_THAT(help, HasSubstr("(default: " + std::to_string(pool.officeMemoryLimit >> 20) + ")"));
}

} // namespace
} // namespace pelmora
