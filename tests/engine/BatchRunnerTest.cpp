// The pool of converter sessions: replacing sessions whose office does not come back
// and stopping from another thread (on the recording converter), and recycling offices
// while the run goes on (for real).

#include "engine/BatchRunner.h"
#include "engine/libreoffice/LibreOfficeConverter.h"
#include "tests/support/Matchers.h"
#include "tests/support/RecordingConverter.h"
#include "tests/support/TempFolder.h"

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace pelmora::test {
namespace {

// The outcomes of a run as its observer receives them.
class Outcomes final : public BatchObserver {
public:
    void DocumentFinished(std::size_t index, const BatchDocument&,
                          const DocumentOutcome& outcome) override {
        indexes.push_back(index);
        codes.push_back(static_cast<int>(outcome.result.code));
        lines.push_back(outcome.result.line);
    }
    std::vector<std::size_t> indexes;
    std::vector<int> codes;
    std::vector<std::string> lines;
};

// count small RTF documents in folder, each saying its own number; their pages go
// beside them.
std::vector<BatchDocument> Documents(const TempFolder& folder, int count) {
    std::vector<BatchDocument> documents;
    for (int i = 0; i < count; ++i) {
        const std::string name = "d" + std::to_string(i);
        WriteFile(folder / (name + ".rtf"), "{\\rtf1\\ansi document " + name + "\\par}");
        documents.push_back({folder / (name + ".rtf"), folder / (name + ".htm"), {}});
    }
    return documents;
}

std::vector<std::size_t> FirstIndexes(std::size_t count) {
    std::vector<std::size_t> indexes(count);
    for (std::size_t i = 0; i < count; ++i) {
        indexes[i] = i;
    }
    return indexes;
}

TEST(BatchRunner, ASessionWhoseOfficeDoesNotComeBackIsReplaced) {
    RecordingConverter converter;
    TempFolder folder;
    const auto documents = Documents(folder, 4);
    // The office of the one session will not start again after the first document.
    converter.Script().SetOnOpen([&](const std::string& file) {
        if (file == documents[0].source) {
            converter.Script().FailNextStarts(1);
        }
    });
    PoolSettings settings;
    settings.sessions = 1;
    settings.documentsPerSession = 1;
    BatchRunner runner(converter, settings);
    DocumentList list(documents);
    Outcomes outcomes;

    EXPECT_EQ(runner.Run(list, documents.size(), outcomes), RunEnd::kCompleted);
    EXPECT_THAT(outcomes.codes, Each(100));
    EXPECT_THAT(outcomes.indexes, ElementsAreArray(FirstIndexes(documents.size())));
    EXPECT_EQ(converter.Script().Opened().size(), documents.size());
    EXPECT_EQ(static_cast<int>(runner.SessionsStarted()), converter.Script().Started());
}

TEST(BatchRunner, AConverterThatNeverStartsIsNotTriedAgain) {
    RecordingConverter converter;
    converter.Script().SetFailStart(true);
    TempFolder folder;
    PoolSettings settings;
    settings.sessions = 2;
    BatchRunner runner(converter, settings);
    DocumentList list(Documents(folder, 3));
    Outcomes outcomes;

    EXPECT_EQ(runner.Run(list, 3, outcomes), RunEnd::kConverterUnavailable);
    EXPECT_TRUE(outcomes.codes.empty());
    EXPECT_EQ(runner.SessionsStarted(), 0u);
}

// How a stop reaches the run: the window's thread calls Stop(), a signal handler only
// sets the caller's flag.
enum class StopBy { kCall, kFlag };

// Three documents on one session, stopped from another thread while the second one
// holds its office; the office ends only when the converter is told to stop.
void ExpectStoppedDuringALongDocument(StopBy by) {
    RecordingConverter converter;
    TempFolder folder;
    const auto documents = Documents(folder, 3);
    std::atomic<bool> longStarted{false};
    const auto waitFor = [](const auto& done) {
        for (int i = 0; i < 10000 && !done(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    };
    converter.Script().SetOnOpen([&](const std::string& file) {
        if (file == documents[1].source) {
            longStarted = true;
            waitFor([&] { return converter.Stops() > 0; });
            throw ConverterError("the office was ended");
        }
    });
    PoolSettings settings;
    settings.sessions = 1;
    BatchRunner runner(converter, settings);
    DocumentList list(documents);
    Outcomes outcomes;
    std::atomic<bool> stopFlag{false};
    std::thread stopper([&] {
        waitFor([&] { return longStarted.load(); });
        if (by == StopBy::kCall) {
            runner.Stop();
        } else {
            stopFlag = true;
        }
    });

    const RunEnd end = runner.Run(list, documents.size(), outcomes, &stopFlag);
    stopper.join();
    EXPECT_EQ(end, RunEnd::kStopped);
    // The document done before the stop is reported; the stopped one is not, as
    // failed or otherwise, and the last one never went to the office.
    EXPECT_THAT(outcomes.indexes, ElementsAre(0u));
    EXPECT_THAT(outcomes.codes, ElementsAre(100));
    EXPECT_THAT(converter.Script().Opened(), ElementsAre(documents[0].source, documents[1].source));
    EXPECT_EQ(converter.Stops(), 1);
    EXPECT_EQ(converter.Removals(), 1);
}

TEST(BatchRunner, AStopFromAnotherThreadEndsTheRunWhileADocumentHoldsItsOffice) {
    ExpectStoppedDuringALongDocument(StopBy::kCall);
    ExpectStoppedDuringALongDocument(StopBy::kFlag);
}

// Runs documents on one session with settings, expecting every one converted;
// returns how many offices the run started.
std::size_t OfficesStartedConverting(PoolSettings settings,
                                     const std::vector<BatchDocument>& documents) {
    settings.sessions = 1;
    LibreOfficeConverter converter;
    BatchRunner runner(converter, settings);
    DocumentList list(documents);
    Outcomes outcomes;
    EXPECT_EQ(runner.Run(list, documents.size(), outcomes), RunEnd::kCompleted);
    EXPECT_THAT(outcomes.codes, Each(100)) << ::testing::PrintToString(outcomes.lines);
    return runner.SessionsStarted();
}

// Recycling for real: the session's office is ended and a new one started under the
// run, by document count and by memory, and every document still converts.
TEST(BatchRunnerOnLibreOffice, RecycledSessionsGoOnConverting) {
    TempFolder folder;
    PoolSettings byCount;
    byCount.documentsPerSession = 2;
    const auto documents = Documents(folder, 5);
    EXPECT_EQ(OfficesStartedConverting(byCount, documents), 3u);
    for (const BatchDocument& document : documents) {
        EXPECT_THAT(ReadFile(document.page),
                    HasSubstr("document " + fs::path(document.source).stem().string()));
    }

    PoolSettings byMemory;
    byMemory.officeMemoryLimit = 1; // every office is over it after a document
    TempFolder other;
    EXPECT_GE(OfficesStartedConverting(byMemory, Documents(other, 2)), 2u);
}

} // namespace
} // namespace pelmora::test
