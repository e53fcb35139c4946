// The run's front ends without an office: the progress line with a hand-driven clock,
// the JSON objects read back, the record of a run that could not start, and the password
// file.
#include "cli/JsonReport.h"
#include "cli/PasswordFile.h"
#include "cli/ProgressLine.h"
#include "cli/TextReport.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/cli/JsonReader.h"
#include "tests/support/Matchers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace pelmora {
namespace {

// Characters, not bytes: what a terminal would show.
std::size_t CodePoints(const std::string& text) {
    std::size_t count = 0;
    for (const char c : text) {
        count += (static_cast<unsigned char>(c) & 0xC0) == 0x80 ? 0 : 1;
    }
    return count;
}

TEST(ProgressLineText, CountsRateTimeLeftAndFile) {
    // 10 of 40 in 20 s: 0.5 a second; the time left is the run's estimate, not the
    // pace of the count.
    EXPECT_EQ(ProgressLine::Format(10, 40, 20, 150, "/d/a.doc", 80),
              "10/40 25% 0.5 doc/s 2:30 left /d/a.doc");
    // Nothing done yet: no rate, no estimate.
    EXPECT_EQ(ProgressLine::Format(0, 3, 5, std::nullopt, "x.doc", 80),
              "0/3 0% 0.0 doc/s --:-- left x.doc");
    // Hours once the estimate passes one.
    EXPECT_EQ(ProgressLine::Format(1, 5000, 2, 9998, "", 80), "1/5000 0% 0.5 doc/s 2:46:38 left");
    EXPECT_EQ(ProgressLine::Format(4, 4, 2, std::nullopt, "", 80), "4/4 100% 2.0 doc/s 0:00 left");
}

TEST(ProgressLineText, KeepsWithinTheWidthAndShowsTheFileNameEnd) {
    const std::string file = "/very/long/folder/name/that/goes/on/and/on/\xC3\xBC"
                             "ber.doc";
    for (const int width : {10, 30, 40, 45, 60}) {
        const std::string line = ProgressLine::Format(3, 9, 3, 6, file, width);
        EXPECT_LE(CodePoints(line), static_cast<std::size_t>(width - 1)) << width << ": " << line;
    }
    const std::string line = ProgressLine::Format(3, 9, 3, 6, file, 40);
    EXPECT_THAT(line, StartsWith("3/9 33% 1.0 doc/s 0:06 left ..."));
    EXPECT_THAT(line, ::testing::EndsWith("\xC3\xBC"
                                          "ber.doc"));
    // Too narrow even for the counts: the counts are cut, never wrapped.
    EXPECT_EQ(ProgressLine::Format(3, 9, 3, 6, file, 8), "3/9 33%");
    // Wide enough: the whole path.
    EXPECT_THAT(ProgressLine::Format(3, 9, 3, 6, file, 200), HasSubstr(" " + file));
}

TEST(ProgressLineDrawing, RedrawsAtMostFourTimesASecondAndClearsAtTheEnd) {
    std::ostringstream terminal;
    double now = 100;
    ProgressLine progress(
        terminal, [&] { return now; }, [] { return 60; }, false);
    const auto draws = [&] {
        const std::string text = terminal.str();
        std::size_t count = 0;
        for (std::size_t at = text.find("\r\x1b[K"); at != std::string::npos;
             at = text.find("\r\x1b[K", at + 1)) {
            ++count;
        }
        return count;
    };
    progress.RunStarted(1000);
    EXPECT_EQ(draws(), 1u);
    // A thousand fast documents within 0.9 s: four redraws at most.
    for (std::size_t i = 0; i < 1000; ++i) {
        const BatchDocument document{"doc" + std::to_string(i) + ".doc", "p.htm", {}};
        progress.DocumentStarted(i, document);
        progress.DocumentFinished(i, document, {});
        now += 0.0009;
    }
    EXPECT_GE(draws(), 4u);
    EXPECT_LE(draws(), 5u);
    // No newline ever: the line stays one line.
    EXPECT_THAT(terminal.str(), Not(HasSubstr("\n")));
    EXPECT_THAT(terminal.str(), HasSubstr("doc/s"));
    progress.RunFinished();
    EXPECT_THAT(terminal.str(), ::testing::EndsWith("\r\x1b[K"));
    const std::size_t afterEnd = draws();
    progress.RunFinished();
    EXPECT_EQ(draws(), afterEnd) << "an erased line is not erased again";
}

TEST(ProgressLineDrawing, SharedTerminalGetsACleanLineBeforeEachReportLine) {
    std::ostringstream terminal;
    double now = 0;
    ProgressLine progress(
        terminal, [&] { return now; }, [] { return 80; }, true);
    progress.RunStarted(2);
    progress.DocumentStarted(0, {"a.doc", "a.htm", {}});
    progress.DocumentFinished(0, {"a.doc", "a.htm", {}}, {});
    // What the terminal shows now ends with the line taken away.
    EXPECT_THAT(terminal.str(), ::testing::EndsWith("\r\x1b[K"));
    terminal.str("");
    now += 0.01;
    // The next document draws again at once, although it is within the interval.
    // A name's escape sequence is shown, not obeyed.
    progress.DocumentStarted(1, {"b\x1b]0;x\x07\xc2\x9b.doc", "b.htm", {}});
    EXPECT_THAT(terminal.str(), HasSubstr("1/2 50%"));
    EXPECT_THAT(terminal.str(), HasSubstr("b\\x1b]0;x\\x07\\xc2\\x9b.doc"));
    // The run's estimate shows at the next redraw.
    now += 1;
    progress.TimeLeft(75);
    EXPECT_THAT(terminal.str(), HasSubstr("1:15 left b\\x1b]0;x\\x07\\xc2\\x9b.doc"));
}

TEST(JsonReportObjects, ReadBackForEveryCodeWithOddPaths) {
    test::TempFolder folder;
    // A page with two pictures, one in a subfolder.
    const std::string page = folder / "p.htm";
    test::WriteFile(page, "<html></html>");
    fs::create_directories(folder / "p.files/sub");
    test::WriteFile(folder / "p.files/a.png", "x");
    test::WriteFile(folder / "p.files/sub/b.png", "y");

    std::ostringstream out;
    JsonReport report(out);
    const std::string odd = folder / "q\"uote\\back\tslash \xC3\xBC \xFF\xFE.doc";
    const std::string latin1 = folder / "caf\xE9.doc";
    const auto finish = [&](const std::string& source, const std::string& target,
                            ConversionCode code, double seconds) {
        report.DocumentFinished(
            0, {source, target, {}},
            {MakeConversionResult(code, source, target, "the reason"), seconds});
    };
    finish(odd, page, ConversionCode::kConverted, 1.25);
    finish(latin1, page, ConversionCode::kOutputExists, 0);
    finish(folder / "gone.doc", folder / "gone.htm", ConversionCode::kSourceMissing, 0.001);
    finish(folder / "bad.doc", page, ConversionCode::kFailed, 2);

    const auto lines = test::Lines(out.str());
    ASSERT_EQ(lines.size(), 4u);
    std::vector<std::map<std::string, test::JsonValue>> objects;
    for (const std::string& line : lines) {
        const auto object = test::ReadFlatJsonObject(line);
        ASSERT_TRUE(object.has_value()) << line;
        EXPECT_EQ(object->size(), 6u) << line;
        objects.push_back(*object);
    }
    EXPECT_EQ(objects[0].at("source").text, odd);
    EXPECT_EQ(objects[0].at("page").text, page);
    EXPECT_EQ(objects[0].at("code").number, 100);
    EXPECT_EQ(objects[0].at("message").text, "100, Successfully convert " + odd + " to " + page);
    EXPECT_DOUBLE_EQ(objects[0].at("seconds").number, 1.25);
    EXPECT_EQ(objects[0].at("pictures").number, 2);
    // Bytes that are not UTF-8 travel as lone surrogates and come back unchanged.
    EXPECT_THAT(lines[0], HasSubstr("\\udcff\\udcfe"));
    EXPECT_THAT(lines[1], HasSubstr("caf\\udce9.doc"));
    EXPECT_EQ(objects[1].at("source").text, latin1);
    EXPECT_EQ(objects[1].at("code").number, 101);
    EXPECT_EQ(objects[1].at("pictures").number, 2);
    EXPECT_EQ(objects[2].at("code").number, 102);
    EXPECT_EQ(objects[2].at("pictures").number, 0);
    EXPECT_THAT(objects[2].at("message").text, StartsWith("102, Source file "));
    EXPECT_EQ(objects[3].at("code").number, 103);
    EXPECT_EQ(objects[3].at("pictures").number, 0) << "a failed page counts no pictures";
    EXPECT_THAT(objects[3].at("message").text, HasSubstr("the error message is the reason"));
}

TEST(JsonReportObjects, QuotesValidUtf8AsItIsAndEscapesTheRest) {
    EXPECT_EQ(JsonReport::Quote("a\xE2\x82\xAC\xF0\x9F\x98\x80"),
              "\"a\xE2\x82\xAC\xF0\x9F\x98\x80\"");
    // Overlong, surrogate and truncated sequences are not UTF-8.
    EXPECT_EQ(JsonReport::Quote("\xC0\xAF"), "\"\\udcc0\\udcaf\"");
    EXPECT_EQ(JsonReport::Quote("\xED\xA0\x80"), "\"\\udced\\udca0\\udc80\"");
    EXPECT_EQ(JsonReport::Quote("\xE2\x82"), "\"\\udce2\\udc82\"");
    EXPECT_EQ(JsonReport::Quote(std::string("\x01\n\x7F", 3)), "\"\\u0001\\n\\u007f\"");
    EXPECT_EQ(JsonReport::MessageOf("12:34:56  101, Output file x exists, Ignore!"),
              "101, Output file x exists, Ignore!");
}

// A converter that cannot start ends the run before any document: both reports write one
// record that names no document and counts no pictures.
TEST(ReportRecords, AConverterThatCannotStartIsOneRecordNamingNoDocument) {
    const std::string line = "12:34:56  104, Can not load Microsoft Word, Terminate!";
    std::ostringstream text;
    TextReport{text}.ReportUnavailable(line);
    EXPECT_EQ(text.str(), line + "\n");
    std::ostringstream json;
    JsonReport{json}.ReportUnavailable(line);
    EXPECT_EQ(json.str(), "{\"source\":\"\",\"page\":\"\",\"code\":104,\"message\":\"104, Can not "
                          "load Microsoft Word, Terminate!\",\"seconds\":0.000,\"pictures\":0}\n");
}

TEST(PasswordFileReading, OrderWarningAndProblems) {
    test::TempFolder folder;
    const std::string path = folder / "pw";
    test::WriteFile(path, "first\r\n\nsecond word\nthird");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    std::vector<std::string> passwords;
    std::ostringstream warnings;
    std::string problem;
    ASSERT_TRUE(ReadPasswordFile(path, passwords, warnings, problem)) << problem;
    EXPECT_THAT(passwords, ElementsAre("first", "second word", "third"));
    EXPECT_EQ(warnings.str(), "");

    fs::permissions(path, fs::perms::group_read, fs::perm_options::add);
    passwords.clear();
    ASSERT_TRUE(ReadPasswordFile(path, passwords, warnings, problem));
    EXPECT_THAT(warnings.str(), HasSubstr("other users can read the password file " + path));
    EXPECT_THAT(warnings.str(), Not(HasSubstr("first")));
    EXPECT_EQ(test::Lines(warnings.str()).size(), 1u);

    passwords.clear();
    EXPECT_FALSE(ReadPasswordFile(folder / "missing", passwords, warnings, problem));
    EXPECT_THAT(problem, HasSubstr(folder / "missing"));
    EXPECT_THAT(passwords, IsEmpty());
}

} // namespace
} // namespace pelmora
