// The LibreOffice converter for real: conversions, bad input, crashes, hangs and
// what is left behind.

#include "engine/libreoffice/LibreOfficeSession.h"
#include "engine/libreoffice/LibreOfficeConverter.h"
#include "engine/libreoffice/OfficeProcess.h"
#include "tests/engine/OfficeCommandLine.h"
#include "tests/support/LongTable.h"
#include "tests/support/Pages.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <set>
#include <thread>

namespace pelmora::test {
namespace {

namespace fs = std::filesystem;

std::string Corpus(const std::string& name) {
    return std::string(PELMORA_TEST_DATA) + "/corpus/" + name;
}

// Every match of pattern's first group in text, in order.
std::vector<std::string> Matches(const std::string& text, const std::string& pattern) {
    const std::regex expression(pattern, std::regex::icase);
    std::vector<std::string> found;
    for (std::sregex_iterator it(text.begin(), text.end(), expression), end; it != end; ++it) {
        found.push_back((*it)[1].str());
    }
    return found;
}

bool ProcessGone(int pid) {
    if (kill(pid, 0) != 0) {
        return errno == ESRCH;
    }
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const std::size_t close = text.rfind(')');
    return close != std::string::npos && text.substr(close + 2, 1) == "Z";
}

// A listening socket bound to path, as an office's pipe is.
int BoundSocket(const std::string& path) {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    EXPECT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0) << path;
    listen(fd, 1);
    return fd;
}

// A killed process takes a moment to die.
void WaitUntilGone(int pid) {
    for (int i = 0; i < 250 && !ProcessGone(pid); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::string ErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const ConverterError& e) {
        return e.what();
    }
    return "(no error)";
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Every test gets its own temporary folder as the system's, so what the office
// leaves behind can be seen.
class LibreOfficeTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("TMPDIR");
        oldTmp_ = old ? old : "";
        hadTmp_ = old != nullptr;
        fs::create_directories(folder_ / "tmp");
        setenv("TMPDIR", (folder_ / "tmp").c_str(), 1);
    }
    void TearDown() override {
        if (hadTmp_) {
            setenv("TMPDIR", oldTmp_.c_str(), 1);
        } else {
            unsetenv("TMPDIR");
        }
    }

    std::unique_ptr<LibreOfficeSession> Start(LibreOfficeSettings settings = {}) {
        settings.documentTimeLimit = std::min(settings.documentTimeLimit,
                                              std::chrono::milliseconds(std::chrono::minutes(2)));
        return std::make_unique<LibreOfficeSession>(settings);
    }

    // The per-document calls as the conversion makes them.
    void Convert(ConverterSession& app, const std::string& source, const std::string& page,
                 const std::string& password = " ") {
        auto document = app.Open(source, password);
        fs::create_directories(fs::path(page).parent_path());
        document->SaveAsPage(fs::path(page).parent_path().string() + "/",
                             fs::path(page).filename().string());
        document->Close();
    }

    bool PrivateTmpEmpty() { return fs::is_empty(folder_ / "tmp"); }

    // Makes in/<stem>.<extension> from in/<source> with LibreOffice's own converter,
    // has it export its own page of that into reference/, converts it into
    // out/<stem>.htm here, and returns the two pages: this converter's, LibreOffice's.
    std::pair<std::string, std::string> ConvertBesideLibreOffice(const std::string& source,
                                                                 const std::string& format,
                                                                 const std::string& extension) {
        const std::string stem = fs::path(source).stem().string();
        const std::string document = folder_ / ("in/" + stem + "." + extension);
        RunOfficeConverter(folder_ / "profile", format, folder_ / "in",
                           ShellQuoted(folder_ / ("in/" + source)));
        RunOfficeConverter(folder_ / "profile", "html", folder_ / "reference",
                           ShellQuoted(document));
        auto app = Start();
        Convert(*app, document, folder_ / ("out/" + stem + ".htm"));
        return {ReadFile(folder_ / ("out/" + stem + ".htm")),
                ReadFile(folder_ / ("reference/" + stem + ".html"))};
    }

    TempFolder folder_;
    std::string oldTmp_;
    bool hadTmp_ = false;
};

TEST_F(LibreOfficeTest, ConvertsPagesWithTheirPicturesInTheCompanionFolder) {
    auto app = Start();
    Convert(*app, Corpus("two_images.doc"), folder_ / "out/two images.htm");
    const auto pictures = PictureReferences(folder_ / "out/two images.htm");
    ASSERT_EQ(pictures.size(), 2u);
    for (const std::string& picture : pictures) {
        EXPECT_EQ(picture.rfind("two images.files/", 0), 0u) << picture;
        EXPECT_TRUE(fs::is_regular_file(folder_ / ("out/" + picture))) << picture;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_ / "out"), fs::directory_iterator()), 2)
        << "only the page and its picture folder";

    Convert(*app, Corpus("simple.doc"), folder_ / "out/simple.htm");
    EXPECT_TRUE(fs::is_regular_file(folder_ / "out/simple.htm"));
    EXPECT_FALSE(fs::exists(folder_ / "out/simple.files")) << "no pictures, no folder";
}

TEST_F(LibreOfficeTest, ReadsRtfAndWord2003Xml) {
    WriteFile(folder_ / "in/letter.rtf", "{\\rtf1\\ansi Dear reader of rich text\\par}");
    WriteFile(folder_ / "in/report.xml",
              "<?xml version=\"1.0\"?><?mso-application progid=\"Word.Document\"?>"
              "<w:wordDocument xmlns:w=\"http://schemas.microsoft.com/office/word/2003/wordml\">"
              "<w:body><w:p><w:r><w:t>Quarterly words in XML</w:t></w:r></w:p></w:body>"
              "</w:wordDocument>");
    auto app = Start();
    Convert(*app, folder_ / "in/letter.rtf", folder_ / "out/letter.htm");
    Convert(*app, folder_ / "in/report.xml", folder_ / "out/report.html");
    EXPECT_TRUE(Contains(ReadFile(folder_ / "out/letter.htm"), "Dear reader of rich text"));
    EXPECT_TRUE(Contains(ReadFile(folder_ / "out/report.html"), "Quarterly words in XML"));
}

// The documents of these tests are made from HTML and RTF by LibreOffice's own
// converter, which also exports the pages they are compared with, into a folder
// as deep as the converter's output folder so relative links compare as they are.
TEST_F(LibreOfficeTest, LinkedPicturesKeepTheDocumentsOwnLinks) {
    WriteFile(folder_ / "in/pics/dot.png", RedPng());
    WriteFile(folder_ / "in/linked.html",
              "<html><body><p>Before <img src=\"pics/dot.png\" width=\"8\" height=\"8\"> "
              "between <img src=\"c:\\Pictures\\Tit_fav.gif\" width=\"9\" height=\"9\"> "
              "after</p></body></html>");
    // An OpenDocument file keeps such links relative to itself, as Word files do
    // with the paths they were given.
    const std::string page = ConvertBesideLibreOffice("linked.html", "odt:writer8", "odt").first;
    const auto links = Matches(page, R"re(\s(?:src|href)="([^"]*)")re");
    ASSERT_EQ(PictureReferences(folder_ / "out/linked.htm"),
              PictureReferences(folder_ / "reference/linked.html"));
    EXPECT_EQ(PictureReferences(folder_ / "out/linked.htm"),
              (std::vector<std::string>{"../in/pics/dot.png", "../in/c:\\Pictures\\Tit_fav.gif"}));
    for (const std::string& link : links) {
        EXPECT_FALSE(Contains(link, "pelmora-office")) << link;
        EXPECT_FALSE(Contains(link, "/work/")) << link;
    }
    EXPECT_FALSE(fs::exists(folder_ / "out/linked.files")) << "linked pictures are not copied";
}

TEST_F(LibreOfficeTest, PageNumbersReferencesAndPositionsAreThoseOfALaidOutDocument) {
    // Twelve pages; the footer says "Page X of Y", the first page refers to a bookmark
    // on the eleventh, and a rectangle is placed by position on the first. A view lays
    // out only what it shows, so the later pages need the whole document laid out.
    const std::string rectangle =
        "{\\shp{\\*\\shpinst\\shpleft1440\\shptop2880\\shpright4320\\shpbottom4320"
        "\\shpfhdr0\\shpbxpage\\shpbxignore\\shpbypage\\shpbyignore\\shpwr3\\shpwrk0"
        "\\shpfblwtxt0\\shpz0{\\sp{\\sn shapeType}{\\sv 1}}{\\sp{\\sn fFilled}{\\sv 1}}}}\n";
    std::string paged = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}}\n"
                        "{\\footer\\pard Page {\\field{\\*\\fldinst PAGE}{\\fldrslt 1}} of "
                        "{\\field{\\*\\fldinst NUMPAGES}{\\fldrslt 1}}\\par}\n"
                        "\\pard First page. See page {\\field{\\*\\fldinst PAGEREF target \\\\h}"
                        "{\\fldrslt 9}} for the target.\\par\n" +
                        rectangle;
    for (int number = 2; number <= 12; ++number) {
        paged += number == 11 ? "\\page\\pard {\\*\\bkmkstart target}The target"
                                "{\\*\\bkmkend target} is on page eleven.\\par\n"
                              : "\\page\\pard Page " + std::to_string(number) + ".\\par\n";
    }
    WriteFile(folder_ / "in/paged.rtf", paged + "}");
    const auto [page, reference] = ConvertBesideLibreOffice("paged.rtf", "doc:MS Word 97", "doc");
    const std::string fieldType = R"re(<sdfield type=([A-Z]+)[^>]*>([^<]*)</sdfield>)re";
    const std::string fieldValue = R"re(<sdfield[^>]*>([^<]*)</sdfield>)re";
    const std::string pageReference = R"re(See page <span[^>]*>([^<]*)</span>)re";
    const std::string position = R"re(class="sd-abs-pos" style="([^"]*))re";
    // What LibreOffice's own export says, so that the comparison means something.
    ASSERT_EQ(Matches(reference, fieldValue), (std::vector<std::string>{"12", "12"}));
    ASSERT_EQ(Matches(reference, pageReference), std::vector<std::string>{"11"});
    ASSERT_EQ(Matches(reference, position).size(), 1u);

    EXPECT_EQ(Matches(page, fieldType), Matches(reference, fieldType));
    EXPECT_EQ(Matches(page, fieldValue), Matches(reference, fieldValue));
    EXPECT_EQ(Matches(page, pageReference), Matches(reference, pageReference));
    EXPECT_EQ(Matches(page, position), Matches(reference, position));

    // Page numbers and counts alone are left to the layout, without a refresh.
    std::string numbered = paged;
    numbered.replace(numbered.find("See page"),
                     numbered.find("for the target") - numbered.find("See page"), "");
    WriteFile(folder_ / "in/numbered.rtf", numbered + "}");
    const auto [numberedPage, numberedReference] =
        ConvertBesideLibreOffice("numbered.rtf", "doc:MS Word 97", "doc");
    ASSERT_EQ(Matches(numberedReference, fieldValue), (std::vector<std::string>{"12", "12"}));
    EXPECT_EQ(Matches(numberedPage, fieldValue), Matches(numberedReference, fieldValue));

    // Without fields, the drawing still keeps its place on the page, not its paragraph's.
    WriteFile(folder_ / "in/placed.rtf", "{\\rtf1\\ansi\\pard Text.\\par\n" + rectangle + "}");
    const auto [placed, placedReference] =
        ConvertBesideLibreOffice("placed.rtf", "doc:MS Word 97", "doc");
    ASSERT_EQ(Matches(placedReference, position).size(), 1u);
    EXPECT_EQ(Matches(placed, position), Matches(placedReference, position));
}

// Numbers that only counting gives are counted, as Word shows them, rather than
// taken from what the file last stored; a document without fields converts alike.
TEST_F(LibreOfficeTest, SequenceNumbersAreCountedNotTakenFromTheFile) {
    WriteFile(folder_ / "in/figures.rtf",
              "{\\rtf1\\ansi\n"
              "\\pard Figure {\\field{\\*\\fldinst SEQ Figure \\\\* ARABIC}{\\fldrslt 7}}: "
              "a cat.\\par\n"
              "\\pard Figure {\\field{\\*\\fldinst SEQ Figure \\\\* ARABIC}{\\fldrslt 7}}: "
              "a dog.\\par}");
    WriteFile(folder_ / "in/plain.rtf", "{\\rtf1\\ansi\n\\pard Figure 7: no field.\\par}");
    auto app = Start();
    Convert(*app, folder_ / "in/figures.rtf", folder_ / "out/figures.htm");
    Convert(*app, folder_ / "in/plain.rtf", folder_ / "out/plain.htm");
    const std::string number = R"re(Figure <span[^>]*>([^<]*)</span>:\s+a)re";
    EXPECT_EQ(Matches(ReadFile(folder_ / "out/figures.htm"), number),
              (std::vector<std::string>{"1", "2"}));
    EXPECT_TRUE(Contains(ReadFile(folder_ / "out/plain.htm"), "Figure 7: no field."));
    app->Quit();
}

// Both files hold a comment and a page field. A view of them made off the office's
// main thread ended an office installed without Writer's dialog descriptions, as this
// one may be; made on its main thread, it lays them out and the office lives on.
TEST_F(LibreOfficeTest, FilesWithCommentsAreLaidOutAndTheOfficeLivesOn) {
    auto app = Start();
    const std::string out = folder_ / "out/";
    Convert(*app, Corpus("simple.doc"), out + "simple.htm");
    const int office = app->OfficeProcessId();
    const std::string pageField = R"re(<sdfield type=PAGE[^>]*>([^<]*)</sdfield>)re";
    for (const std::string name : {"FloatingPictures.doc", "Fuzzed.doc", "two_images.doc"}) {
        const std::string page = out + name + ".htm";
        Convert(*app, Corpus(name), page);
        EXPECT_TRUE(Contains(ReadFile(page), "</html>")) << name;
        if (name != "two_images.doc") {
            EXPECT_TRUE(Contains(ReadFile(page), "This is a comment")) << name;
            RunOfficeConverter(folder_ / "profile", "html", folder_ / "reference",
                               ShellQuoted(Corpus(name)));
            const std::string reference =
                ReadFile(folder_ / ("reference/" + fs::path(name).stem().string() + ".html"));
            ASSERT_FALSE(Matches(reference, pageField).empty()) << name;
            EXPECT_EQ(Matches(ReadFile(page), pageField), Matches(reference, pageField)) << name;
        }
    }
    EXPECT_FALSE(PictureReferences(out + "FloatingPictures.doc.htm").empty());
    EXPECT_EQ(PictureReferences(out + "two_images.doc.htm").size(), 2u);
    EXPECT_EQ(app->OfficeProcessId(), office) << "the view ended the office";
    app->Quit();
    EXPECT_TRUE(PrivateTmpEmpty());
}

TEST_F(LibreOfficeTest, SourceStaysUnchangedWithoutLockFilesAndNamesNeedNoUtf8Locale) {
    // The office must handle non-ASCII names even when this program runs in the C
    // locale.
    const char* oldAll = std::getenv("LC_ALL");
    const std::string savedAll = oldAll ? oldAll : "";
    setenv("LC_ALL", "C", 1);
    const std::string source = folder_ / "in/Bericht f\xC3\xBCr 2024.doc";
    fs::create_directories(folder_ / "in");
    fs::copy_file(Corpus("two_images.doc"), source);
    fs::permissions(source, fs::perms::owner_read | fs::perms::owner_write);
    const auto past = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    fs::last_write_time(source, past);
    const std::string bytes = ReadFile(source);

    auto app = Start();
    Convert(*app, source, folder_ / "in/Seite \xC3\xBC & #1.htm");
    oldAll ? setenv("LC_ALL", savedAll.c_str(), 1) : unsetenv("LC_ALL");

    EXPECT_EQ(ReadFile(source), bytes);
    EXPECT_EQ(fs::last_write_time(source), past);
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_ / "in")) {
        names.insert(entry.path().filename().string());
    }
    EXPECT_EQ(names,
              (std::set<std::string>{"Bericht f\xC3\xBCr 2024.doc", "Seite \xC3\xBC & #1.htm",
                                     "Seite \xC3\xBC & #1.files"}));
    for (const std::string& picture : PictureReferences(folder_ / "in/Seite \xC3\xBC & #1.htm")) {
        EXPECT_TRUE(fs::is_regular_file(folder_ / ("in/" + picture))) << picture;
    }
}

TEST_F(LibreOfficeTest, ProtectedDocumentOpensOnlyWithItsPassword) {
    auto app = Start();
    const std::string protectedDoc = Corpus("password_password_cryptoapi.doc");
    for (const std::string& wrong : {std::string(" "), std::string("Password"), std::string()}) {
        EXPECT_EQ(ErrorOf([&] { Convert(*app, protectedDoc, folder_ / "out/p.htm", wrong); }),
                  "the password is wrong or missing")
            << "password '" << wrong << "'";
    }
    EXPECT_FALSE(fs::exists(folder_ / "out/p.htm"));
    Convert(*app, protectedDoc, folder_ / "out/p.htm", "password");
    EXPECT_TRUE(fs::is_regular_file(folder_ / "out/p.htm"));
    // An unprotected document ignores the password.
    Convert(*app, Corpus("simple.doc"), folder_ / "out/s.htm", "password");
    EXPECT_TRUE(fs::is_regular_file(folder_ / "out/s.htm"));
}

TEST_F(LibreOfficeTest, BadInputFailsWithAReasonAndTheNextDocumentConverts) {
    WriteFile(folder_ / "in/empty.doc", "");
    WriteFile(folder_ / "in/truncated.doc", ReadFile(Corpus("simple.doc")).substr(0, 3000));
    fs::create_directories(folder_ / "in/folder.doc");
    auto app = Start();
    const auto failure = [&](const std::string& source) {
        return ErrorOf([&] { Convert(*app, source, folder_ / "out/x.htm"); });
    };
    EXPECT_EQ(failure(folder_ / "in/empty.doc"), "the file is empty");
    EXPECT_TRUE(Contains(failure(folder_ / "in/truncated.doc"), "damaged"))
        << failure(folder_ / "in/truncated.doc");
    EXPECT_TRUE(Contains(failure(folder_ / "in/folder.doc"), "is a folder"));
    EXPECT_TRUE(Contains(failure(folder_ / "in/missing.doc"), "does not exist"));
    EXPECT_FALSE(fs::exists(folder_ / "out/x.htm"));

    auto document = app->Open(Corpus("simple.doc"), " ");
    EXPECT_TRUE(
        Contains(ErrorOf([&] { document->SaveAsPage(folder_ / "no/such/folder/", "x.htm"); }),
                 "does not exist"));
    document->Close();

    Convert(*app, Corpus("simple.doc"), folder_ / "out/simple.htm");
    EXPECT_TRUE(fs::is_regular_file(folder_ / "out/simple.htm"));
}

TEST_F(LibreOfficeTest, CrashedOfficeFailsTheCallAndTheNextDocumentGetsAFreshOne) {
    auto app = Start();
    auto document = app->Open(Corpus("simple.doc"), " ");
    const int first = app->OfficeProcessId();
    ASSERT_GT(first, 0);
    kill(first, SIGKILL);
    WaitUntilGone(first);
    const std::string error =
        ErrorOf([&] { document->SaveAsPage(folder_.Path() + "/", "simple.htm"); });
    EXPECT_TRUE(Contains(error, "the converter stopped while saving the page")) << error;
    EXPECT_TRUE(Contains(error, "signal 9")) << error;
    document.reset();
    EXPECT_TRUE(ProcessGone(first));

    Convert(*app, Corpus("two_images.doc"), folder_ / "two_images.htm");
    const int second = app->OfficeProcessId();
    EXPECT_NE(second, first);
    EXPECT_EQ(PictureReferences(folder_ / "two_images.htm").size(), 2u);

    // Dying between documents is noticed before the next one starts.
    kill(second, SIGKILL);
    Convert(*app, Corpus("simple.doc"), folder_ / "simple.htm");
    EXPECT_TRUE(fs::is_regular_file(folder_ / "simple.htm"));
    app->Quit();
    EXPECT_TRUE(PrivateTmpEmpty());
}

TEST_F(LibreOfficeTest, DocumentOverTheTimeLimitIsStoppedAndTheNextConverts) {
    // A long table keeps LibreOffice busy for minutes.
    WriteFile(folder_ / "in/slow.rtf", test::LongTableRtf(20000));
    WriteFile(folder_ / "in/quick.rtf", "{\\rtf1\\ansi quick\\par}");
    LibreOfficeSettings settings;
    settings.documentTimeLimit = std::chrono::seconds(3);
    auto app = Start(settings);
    const int first = app->OfficeProcessId();
    EXPECT_EQ(ErrorOf([&] { Convert(*app, folder_ / "in/slow.rtf", folder_ / "out/slow.htm"); }),
              "the converter took longer than 3 seconds while opening the document and was "
              "stopped");
    EXPECT_TRUE(ProcessGone(first));
    Convert(*app, folder_ / "in/quick.rtf", folder_ / "out/quick.htm");
    EXPECT_TRUE(Contains(ReadFile(folder_ / "out/quick.htm"), "quick"));
}

TEST_F(LibreOfficeTest, SessionLeavesNoProcessProfileOrPipeBehind) {
    LibreOfficeConverter converter; // as the program makes it at start
    std::unique_ptr<ConverterSession> session = StartSession(converter);
    auto* app = dynamic_cast<LibreOfficeSession*>(session.get());
    ASSERT_NE(app, nullptr);
    const int pid = app->OfficeProcessId();
    EXPECT_FALSE(PrivateTmpEmpty()) << "the office's folders are in the system's temporary folder";
    EndSession(session);
    EXPECT_TRUE(ProcessGone(pid));
    EXPECT_TRUE(PrivateTmpEmpty());
    const std::string ourPipes =
        "OSL_PIPE_" + std::to_string(getuid()) + "_pelmora_" + std::to_string(getpid()) + "_";
    for (const auto& entry : fs::directory_iterator("/tmp")) {
        EXPECT_NE(entry.path().filename().string().rfind(ourPipes, 0), 0u) << entry.path();
    }

    // Dropped without Quit, and quit twice, it cleans up just the same.
    auto dropped = Start();
    const int droppedPid = dropped->OfficeProcessId();
    dropped.reset();
    EXPECT_TRUE(ProcessGone(droppedPid));
    auto twice = Start();
    twice->Quit();
    twice->Quit();
    EXPECT_TRUE(Contains(ErrorOf([&] { twice->Open(Corpus("simple.doc"), " "); }), "quit"));
    EXPECT_TRUE(PrivateTmpEmpty());
}

TEST_F(LibreOfficeTest, OfficeThatCannotStartIsAnErrorAndLeavesNothing) {
    LibreOfficeSettings missing;
    missing.programFolder = folder_ / "no-office";
    EXPECT_TRUE(Contains(ErrorOf([&] { LibreOfficeSession app(missing); }), "not installed"));
    LibreOfficeSettings hurried;
    hurried.startTimeLimit = std::chrono::milliseconds(1);
    EXPECT_TRUE(Contains(ErrorOf([&] { LibreOfficeSession app(hurried); }), "in time"));
    EXPECT_TRUE(PrivateTmpEmpty());
}

TEST_F(LibreOfficeTest, LeftoversOfAKilledProgramGoWhenTheNextOfficeStarts) {
    const pid_t ended = fork();
    if (ended == 0) {
        _exit(0);
    }
    waitpid(ended, nullptr, 0);
    const std::string endedFolder =
        folder_ / ("tmp/pelmora-office-" + std::to_string(ended) + "-a1");
    const std::string livingFolder =
        folder_ / ("tmp/pelmora-office-" + std::to_string(getppid()) + "-b2");
    const std::string endedPipe =
        "/tmp/OSL_PIPE_" + std::to_string(getuid()) + "_pelmora_" + std::to_string(ended) + "_a1";
    WriteFile(endedFolder + "/profile/user/registrymodifications.xcu", "x");
    WriteFile(livingFolder + "/work/1/a.doc", "x");
    WriteFile(endedPipe, "");
    // An office's instance pipe, named by a hash: removed once nobody holds it.
    const std::string instance = "/tmp/OSL_PIPE_" + std::to_string(getuid()) +
                                 "_SingleOfficeIPC_pelmoratest" + std::to_string(getpid());
    const int abandoned = BoundSocket(instance + "a");
    close(abandoned);
    const int held = BoundSocket(instance + "b");
    for (const std::string& path : {instance + "a", instance + "b"}) {
        fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::minutes(5));
    }
    auto app = Start();
    EXPECT_FALSE(fs::exists(endedFolder));
    EXPECT_FALSE(fs::exists(endedPipe));
    EXPECT_FALSE(fs::exists(instance + "a"));
    EXPECT_TRUE(fs::exists(instance + "b")) << "a pipe in use is not touched";
    EXPECT_TRUE(fs::exists(livingFolder)) << "a running program's office is not touched";
    close(held);
    fs::remove(instance + "b");
    fs::remove_all(livingFolder);
}

TEST_F(LibreOfficeTest, EmergencyStopKillsTheOfficeAndTheSessionRecovers) {
    // The command line reaches the stop through the converter it was handed.
    LibreOfficeConverter converter;
    auto app = Start();
    const int pid = app->OfficeProcessId();
    converter.StopAllNow();
    WaitUntilGone(pid);
    EXPECT_TRUE(ProcessGone(pid));
    converter.RemoveLeftovers();
    EXPECT_TRUE(PrivateTmpEmpty());

    Convert(*app, Corpus("simple.doc"), folder_ / "simple.htm");
    EXPECT_TRUE(fs::is_regular_file(folder_ / "simple.htm"));
    app.reset();
    EXPECT_TRUE(PrivateTmpEmpty());
}

} // namespace
} // namespace pelmora::test
