// The order in which the pool hands documents out, on the recording converter: the
// costliest first on several sessions, list order on one, the output always in list
// order, and never two documents of one page at once.

#include "engine/BatchRunner.h"
#include "tests/support/Matchers.h"
#include "tests/support/RecordingConverter.h"
#include "tests/support/TempFolder.h"

#include <algorithm>
#include <string>
#include <vector>

namespace pelmora::test {
namespace {

// What the run told its observer, in order: "S3" when document 3 started, "F3" when
// it was reported; and the estimates of the time left.
class Events final : public BatchObserver {
public:
    void DocumentStarted(std::size_t index, const BatchDocument&) override {
        seen.push_back("S" + std::to_string(index));
        started.push_back(index);
    }
    void DocumentFinished(std::size_t index, const BatchDocument& document,
                          const DocumentOutcome& outcome) override {
        seen.push_back("F" + std::to_string(index));
        finished.push_back(index);
        sources.push_back(document.source);
        codes.push_back(static_cast<int>(outcome.result.code));
    }
    void TimeLeft(double seconds) override { estimates.push_back(seconds); }

    std::size_t Position(const std::string& event) const {
        return static_cast<std::size_t>(std::find(seen.begin(), seen.end(), event) - seen.begin());
    }

    std::vector<std::string> seen;
    std::vector<std::size_t> started;
    std::vector<std::size_t> finished;
    std::vector<std::string> sources;
    std::vector<int> codes;
    std::vector<double> estimates;
};

// RTF documents of the given sizes in kilobytes, with the given page names (each its
// own when none are given).
std::vector<BatchDocument> Documents(const TempFolder& folder, const std::vector<int>& kilobytes,
                                     std::vector<std::string> pages = {}) {
    std::vector<BatchDocument> documents;
    for (std::size_t i = 0; i < kilobytes.size(); ++i) {
        const std::string name = "d" + std::to_string(i);
        WriteFile(folder / (name + ".rtf"),
                  "{\\rtf1\\ansi " + std::string(kilobytes[i] * 1024, 'x') + "\\par}");
        const std::string page = pages.empty() ? name : pages[i];
        documents.push_back({folder / (name + ".rtf"), folder / (page + ".htm"), {}});
    }
    return documents;
}

Events RunOn(RecordingConverter& converter, std::size_t sessions,
             const std::vector<BatchDocument>& documents) {
    PoolSettings settings;
    settings.sessions = sessions;
    BatchRunner runner(converter, settings);
    DocumentList list(documents);
    Events events;
    EXPECT_EQ(runner.Run(list, documents.size(), events), RunEnd::kCompleted);
    return events;
}

std::vector<std::string> SourcesOf(const std::vector<BatchDocument>& documents) {
    std::vector<std::string> sources;
    for (const BatchDocument& document : documents) {
        sources.push_back(document.source);
    }
    return sources;
}

// Several sessions take the costliest first, one keeps list order whatever the costs;
// either way the outcomes are reported in list order.
TEST(PoolHandOut, SeveralSessionsTakeTheCostliestFirstOneKeepsListOrder) {
    const struct {
        std::size_t sessions;
        std::vector<std::size_t> started;
    } cases[] = {{2, {3, 1, 4, 2, 0, 5}}, {1, {0, 1, 2, 3, 4, 5}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sessions);
        RecordingConverter converter;
        TempFolder folder;
        const auto documents = Documents(folder, {1, 300, 2, 900, 40, 1});
        const Events events = RunOn(converter, c.sessions, documents);
        EXPECT_EQ(events.started, c.started);
        EXPECT_THAT(events.finished, ElementsAre(0, 1, 2, 3, 4, 5));
        EXPECT_EQ(events.sources, SourcesOf(documents));
        EXPECT_THAT(events.codes, Each(100));
        // Every finished document gives an estimate, and the last one says nothing is left.
        ASSERT_FALSE(events.estimates.empty());
        EXPECT_EQ(events.estimates.back(), 0);
        if (c.sessions == 1) {
            EXPECT_EQ(converter.Script().Opened(), SourcesOf(documents));
        }
    }
}

TEST(PoolHandOut, TheLaterSourceOfAPageWaitsForTheEarlierEvenWhenCostlier) {
    RecordingConverter converter;
    TempFolder folder;
    // Document 1 is the costliest but shares its page with document 0.
    const auto documents = Documents(folder, {1, 900, 40, 1}, {"p", "p", "q", "r"});
    for (int round = 0; round < 3; ++round) {
        const Events events = RunOn(converter, 2, documents);
        EXPECT_THAT(events.finished, ElementsAre(0, 1, 2, 3));
        ASSERT_GE(events.started.size(), 2u);
        EXPECT_EQ(events.started[0], 2u);
        EXPECT_EQ(events.started[1], 0u);
        EXPECT_LT(events.Position("F0"), events.Position("S1"));
        // The later one met the page of the earlier: skipped without -o.
        EXPECT_THAT(events.codes, ElementsAre(100, 101, 100, 100));
        for (const BatchDocument& document : documents) {
            std::error_code ignored;
            fs::remove(document.page, ignored);
        }
    }
}

// A list whose caller no longer wants some of the documents taken.
class ListWithout final : public DocumentSource {
public:
    ListWithout(std::vector<BatchDocument> documents, std::size_t unwanted)
        : list_(std::move(documents)), unwanted_(unwanted) {}
    std::optional<BatchDocument> Next() override { return list_.Next(); }
    bool Wanted(std::size_t index) override { return index != unwanted_; }

private:
    DocumentList list_;
    std::size_t unwanted_;
};

TEST(PoolHandOut, ADocumentNoLongerWantedIsNeitherConvertedNorReported) {
    RecordingConverter converter;
    TempFolder folder;
    const auto documents = Documents(folder, {1, 300, 2, 900});
    for (const std::size_t sessions : {1u, 2u}) {
        PoolSettings settings;
        settings.sessions = sessions;
        BatchRunner runner(converter, settings);
        ListWithout list(documents, 3);
        Events events;
        EXPECT_EQ(runner.Run(list, documents.size(), events), RunEnd::kCompleted);
        EXPECT_THAT(events.finished, ElementsAre(0, 1, 2)) << sessions;
        for (const BatchDocument& document : documents) {
            std::error_code ignored;
            fs::remove(document.page, ignored);
        }
    }
    const std::vector<std::string> opened = converter.Script().Opened();
    EXPECT_EQ(std::count(opened.begin(), opened.end(), documents[3].source), 0);
    EXPECT_EQ(opened.size(), 6u);
}

} // namespace
} // namespace pelmora::test
