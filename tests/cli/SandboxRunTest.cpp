// Runs whose offices are sandboxed: documents that reach for local files or the
// network find nothing, nothing is left behind, and an office over its memory limit
// is ended.
#include "tests/cli/PelmoraRunFixture.h"
#include "tests/support/LongTable.h"
#include "tests/support/Matchers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <thread>

namespace pelmora {
namespace {

using ::testing::SizeIs;

// A web server on 127.0.0.1 that counts the connections made to it.
class Listener {
public:
    Listener() {
        socket_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        bind(socket_, reinterpret_cast<sockaddr*>(&address), size);
        listen(socket_, 16);
        getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] {
            pollfd ready{socket_, POLLIN, 0};
            while (!stop_) {
                if (poll(&ready, 1, 50) > 0) {
                    close(accept(socket_, nullptr, nullptr));
                    ++connections_;
                }
            }
        });
    }
    ~Listener() {
        stop_ = true;
        thread_.join();
        close(socket_);
    }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_); }
    int Connections() const { return connections_; }

private:
    int socket_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    std::thread thread_;
};

std::string Field(const std::string& instruction) {
    return "{\\field{\\*\\fldinst " + instruction + "}{\\fldrslt old}}";
}

// Every file below folder, by its path relative to folder, with its bytes.
std::map<std::string, std::string> Files(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files[fs::relative(entry.path(), folder).string()] = test::ReadFile(entry.path());
        }
    }
    return files;
}

// The pipes this machine's /tmp holds for offices of the program pid.
std::vector<std::string> PipesOf(int pid) {
    std::vector<std::string> pipes;
    for (const std::string& name : test::FolderNames("/tmp")) {
        if (name.find("pelmora_" + std::to_string(pid) + "_") != std::string::npos) {
            pipes.push_back(name);
        }
    }
    return pipes;
}

using SandboxRun = test::PelmoraRun;

TEST_F(SandboxRun, DocumentsThatReachForLocalFilesOrTheNetworkFindNothing) {
    test::TempFolder secret;
    const std::string png = "89504e470d0a1a0a0000000d49484452000000010000000108020000009077"
                            "53de0000000c4944415408d763f8ffff3f0005fe02fe0def46b80000000049"
                            "454e44ae426082";
    std::string bytes;
    for (std::size_t i = 0; i < png.size(); i += 2) {
        bytes += static_cast<char>(std::stoi(png.substr(i, 2), nullptr, 16));
    }
    test::WriteFile(secret / "logo.png", bytes);
    test::WriteFile(secret / "words.txt", "SECRET-WORDS-7731");
    Listener web;
    const std::string rtf = "{\\rtf1\\ansi Before";
    test::WriteFile(dir_ / "picture.rtf",
                    rtf + Field("INCLUDEPICTURE \"" + secret / "logo.png" + "\"") +
                        Field("INCLUDEPICTURE \"" + secret / "logo.png" + "\" \\\\d") +
                        "After\\par}");
    test::WriteFile(dir_ / "text.rtf",
                    rtf + Field("INCLUDETEXT \"" + secret / "words.txt" + "\"") + "After\\par}");
    test::WriteFile(dir_ / "web.rtf",
                    rtf + Field("INCLUDEPICTURE \"" + web.Url() + "/a.png\" \\\\d") +
                        Field("INCLUDEPICTURE \"" + web.Url() + "/b.png\"") +
                        Field("INCLUDETEXT \"" + web.Url() + "/c.txt\"") +
                        Field("HYPERLINK \"" + web.Url() + "/d\"") + "After\\par}");
    test::WriteFile(
        dir_ / "web.xml",
        "<?xml version=\"1.0\"?><?mso-application progid=\"Word.Document\"?>"
        "<w:wordDocument xmlns:w=\"http://schemas.microsoft.com/office/word/2003/wordml\" "
        "xmlns:v=\"urn:schemas-microsoft-com:vml\"><w:body><w:p><w:r><w:t>Before</w:t></w:r>"
        "<w:r><w:pict><v:shape style=\"width:50pt;height:50pt\"><v:imagedata src=\"" +
            web.Url() + "/e.png\"/></v:shape></w:pict></w:r></w:p></w:body></w:wordDocument>");
    const std::vector<std::string> documents = {dir_ / "picture.rtf", dir_ / "text.rtf",
                                                dir_ / "web.rtf", dir_ / "web.xml"};
    std::vector<std::string> arguments = documents;
    arguments.insert(arguments.end(), {"-f1", "-l:" + log_, "--sandbox=on"});
    const auto run = Run(arguments);
    EXPECT_EQ(run.exitStatus, 0) << run.out << run.err;
    EXPECT_THAT(test::Lines(run.out), SizeIs(4));
    for (const auto& [path, content] : Files(dir_.Path())) {
        EXPECT_NE(content, bytes) << path << " is the local picture";
        EXPECT_THAT(content, Not(HasSubstr("SECRET-WORDS"))) << path;
    }
    EXPECT_THAT(test::ReadFile(dir_ / "picture.htm"),
                AllOf(HasSubstr("Before"), HasSubstr("After")));
    EXPECT_EQ(web.Connections(), 0);

    // The local picture is the document's only one: nothing to publish.
    EXPECT_FALSE(fs::exists(dir_ / "picture.files"));

    // The same office outside the sandbox does publish it.
    const auto open = Run({dir_ / "picture.rtf", "-o", "-f1", "-l:" + log_, "--sandbox=off"});
    EXPECT_EQ(open.exitStatus, 0) << open.err;
    EXPECT_THAT(Files(dir_ / "picture.files"), Not(IsEmpty()));
}

TEST_F(SandboxRun, HomeAndTemporaryFolderStayEmptyEvenAfterAKill) {
    test::TempFolder home;
    PlaceDoc("a.doc");
    test::WriteFile(dir_ / "long.rtf", test::LongTableRtf(20000));
    const std::map<std::string, std::string> environment = {{"HOME", home.Path()}};
    const std::vector<std::string> arguments = {dir_ / "a.doc", "-o", "-l:" + log_, "--sandbox=on"};
    const auto expectNothingLeft = [&] {
        EXPECT_THAT(test::FolderNames(home.Path()), IsEmpty());
        EXPECT_THAT(test::FolderNames(tmp_.Path()), IsEmpty());
    };
    const auto first = Run(arguments, environment);
    EXPECT_EQ(first.exitStatus, 0) << first.err;
    expectNothingLeft();

    auto environmentOfKilled = environment;
    environmentOfKilled.merge(Environment());
    test::ChildProcess killed(
        test::PelmoraBinary(),
        {dir_ / "a.doc", dir_ / "long.rtf", "-o", "-l:" + log_, "--sandbox=on"},
        environmentOfKilled);
    ASSERT_TRUE(killed.WaitForOutputLines(1)); // the long document is in its office now
    kill(killed.Pid(), SIGKILL);
    EXPECT_EQ(killed.Finish().exitStatus, 128 + SIGKILL);
    // The sandbox dies with pelmora; the kernel takes a moment to end its processes.
    for (int i = 0; i < 100 && !test::ProcessesUsingTemporaryFolder(tmp_.Path()).empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_THAT(test::ProcessesUsingTemporaryFolder(tmp_.Path()), IsEmpty());
    expectNothingLeft();
    EXPECT_THAT(PipesOf(killed.Pid()), IsEmpty());

    const auto again = Run(arguments, environment);
    EXPECT_EQ(again.exitStatus, 0) << again.err;
    expectNothingLeft();
}

TEST_F(SandboxRun, OnRefusesToRunWithoutBwrapAndAutoWarnsOnce) {
    PlaceDoc("a.doc");
    const std::map<std::string, std::string> noBwrap = {{"PATH", "/nonexistent"}};
    const auto refused = Run({dir_ / "a.doc", "-l:" + log_, "--sandbox=on"}, noBwrap);
    EXPECT_EQ(refused.exitStatus, 69);
    EXPECT_THAT(refused.err, AllOf(HasSubstr("sandbox"), HasSubstr("bwrap")));
    EXPECT_FALSE(fs::exists(dir_ / "a.htm"));

    const auto fellBack = Run({dir_ / "a.doc", "-l:" + log_}, noBwrap);
    EXPECT_EQ(fellBack.exitStatus, 0) << fellBack.err;
    EXPECT_THAT(test::Lines(fellBack.err), ElementsAre(HasSubstr("without the sandbox")));
    EXPECT_TRUE(fs::exists(dir_ / "a.htm"));
}

TEST_F(SandboxRun, AnOfficeOverItsMemoryLimitIsEndedAndOnlyItsDocumentFails) {
    PlaceDoc("a.doc");
    PlaceDoc("c.doc");
    // Each paragraph costs the office about 2 KB: 400,000 of them, well over 400 MB.
    std::string paragraphs = "{\\rtf1\\ansi ";
    for (int i = 0; i < 400000; ++i) {
        paragraphs += "x\\par ";
    }
    test::WriteFile(dir_ / "big.rtf", paragraphs + "}");
    const auto run = Run({dir_ / "a.doc", dir_ / "big.rtf", dir_ / "c.doc", "-j", "1", "-l:" + log_,
                          "--memory-limit=400"});
    EXPECT_EQ(run.exitStatus, 1) << run.err;
    const auto lines = test::Lines(run.out);
    ASSERT_THAT(lines, SizeIs(3)) << run.out;
    EXPECT_THAT(lines[0], HasSubstr("  100, "));
    EXPECT_THAT(lines[1], AllOf(HasSubstr("  103, "), HasSubstr("used more than 400 MB")));
    EXPECT_THAT(lines[2], HasSubstr("  100, "));
}

TEST_F(SandboxRun, CorpusPagesAreTheSameWithAndWithoutTheSandbox) {
    for (const std::string way : {"on", "off"}) {
        fs::create_directories(dir_ / way);
        for (const auto& entry :
             fs::directory_iterator(std::string(PELMORA_TEST_DATA) + "/corpus")) {
            if (entry.path().extension() == ".doc") {
                fs::copy_file(entry.path(), dir_ / (way + "/" + entry.path().filename().string()));
            }
        }
        const auto run = Run({dir_ / (way + "/*.doc"), "-f1", "-l:" + log_, "--sandbox=" + way});
        EXPECT_THAT(run.out, HasSubstr("  100, ")) << way;
    }
    const auto on = Files(dir_ / "on");
    EXPECT_GT(on.size(), 10u);
    EXPECT_EQ(on, Files(dir_ / "off"));
}

} // namespace
} // namespace pelmora
