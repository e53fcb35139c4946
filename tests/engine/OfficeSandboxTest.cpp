#include "engine/libreoffice/OfficeSandbox.h"

#include "tests/support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>

using namespace pelmora;
using pelmora::test::TempFolder;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

const std::string kProgramFolder = PELMORA_TEST_OFFICE_PROGRAM_DIR;

// Runs a shell script inside the office's sandbox; its exit status.
int RunInSandbox(const std::string& script) {
    std::string line;
    for (const std::string& arg :
         SandboxCommand(FindBubblewrap(), kProgramFolder, {kSandboxShell, "-c", script})) {
        line += "'" + arg + "' ";
    }
    const int status = std::system(line.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(OfficeSandbox, NoHostFolderIsWritableAndTheOfficeIsCutOff) {
    const std::vector<std::string> command =
        SandboxCommand("/usr/bin/bwrap", kProgramFolder, {"soffice.bin"});
    for (const char* writable : {"--bind", "--bind-try", "--dev-bind", "--dev-bind-try"}) {
        EXPECT_THAT(command, Not(Contains(writable)));
    }
    for (const char* cut : {"--unshare-all", "--die-with-parent", "--new-session"}) {
        EXPECT_THAT(command, Contains(cut));
    }
    EXPECT_EQ(command.front(), "/usr/bin/bwrap");
    EXPECT_EQ(command.back(), "soffice.bin");
    const char* home = std::getenv("HOME");
    ASSERT_NE(home, nullptr);
    EXPECT_THAT(command, Not(Contains(std::string(home))));
}

TEST(OfficeSandbox, SeesItsOwnFolderOnlyAndNoNetworkOrProcess) {
    if (const std::string problem = SandboxProblem(FindBubblewrap(), kProgramFolder);
        !problem.empty()) {
        GTEST_SKIP() << "no sandbox here: " << problem;
    }
    TempFolder outside;
    pelmora::test::WriteFile(outside / "secret.txt", "not for the office");
    const std::string home = std::getenv("HOME");
    // Each check its own status, so a failure says which one.
    const std::string script =
        "test ! -e '" + outside.Path() +
        "/secret.txt' || exit 11\n"
        "test ! -e '" +
        home + "' || [ '" + home +
        "' = /tmp ] || exit 12\n"
        "test ! -e /usr/share/pixmaps && test ! -e /etc/passwd || exit 13\n"
        "echo x > /tmp/home/written || exit 14\n"
        "! (echo x > /usr/lib/pelmora-probe) 2>/dev/null || exit 15\n"
        "n=0; while read l; do n=$((n+1)); done < /proc/net/dev; [ $n -eq 3 ] || exit 16\n"
        "n=0; for p in /proc/[0-9]*; do n=$((n+1)); done; [ $n -le 2 ] || exit 17\n"
        "test -r '" +
        kProgramFolder +
        "/soffice.bin' || exit 18\n"
        "[ \"$HOME\" = /tmp/home ] || exit 19\n";
    EXPECT_EQ(RunInSandbox(script), 0);
    // The private folder was a tmpfs of the sandbox: nothing of it reached the host.
    EXPECT_FALSE(std::filesystem::exists("/tmp/home/written"));
}

TEST(OfficeSandbox, SaysWhyItCannotStart) {
    EXPECT_THAT(SandboxProblem("", kProgramFolder), HasSubstr("bwrap"));
    EXPECT_THAT(SandboxProblem("/bin/false", kProgramFolder), HasSubstr("/bin/false"));
    TempFolder folder;
    pelmora::test::WriteFile(folder / "bwrap",
                             "#!/bin/sh\necho 'bwrap: No permissions to create new namespace' >&2\n"
                             "exit 1\n");
    std::filesystem::permissions(folder.Path() + "/bwrap", std::filesystem::perms::owner_all);
    EXPECT_EQ(SandboxProblem(folder.Path() + "/bwrap", kProgramFolder),
              "bwrap: No permissions to create new namespace");
}

TEST(OfficeSandbox, FindsBwrapOnPathOnly) {
    TempFolder folder;
    pelmora::test::WriteFile(folder / "bwrap", "#!/bin/sh\n");
    std::filesystem::permissions(folder.Path() + "/bwrap", std::filesystem::perms::owner_all);
    const std::string saved = std::getenv("PATH");
    setenv("PATH", ("/nonexistent:" + folder.Path()).c_str(), 1);
    const std::string found = FindBubblewrap();
    setenv("PATH", "/nonexistent", 1);
    const std::string missing = FindBubblewrap();
    setenv("PATH", saved.c_str(), 1);
    EXPECT_EQ(found, folder.Path() + "/bwrap");
    EXPECT_EQ(missing, "");
}
