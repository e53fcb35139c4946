#include "engine/HandOutQueue.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pelmora {
namespace {

using ::testing::ElementsAre;

// Hands out everything, finishing each document at once.
std::vector<std::size_t> Drain(HandOutQueue& queue) {
    std::vector<std::size_t> order;
    while (const auto next = queue.Next()) {
        order.push_back(*next);
        queue.Done(*next);
    }
    return order;
}

TEST(HandOutQueue, OneSessionKeepsListOrderWhateverTheCosts) {
    HandOutQueue queue(false);
    const double costs[] = {0.1, 9, 0.5, 20, 0.1};
    for (std::size_t i = 0; i < 5; ++i) {
        queue.Add(i, "page" + std::to_string(i), costs[i]);
    }
    EXPECT_EQ(queue.Waiting(), 5u);
    EXPECT_THAT(Drain(queue), ElementsAre(0, 1, 2, 3, 4));
    EXPECT_EQ(queue.Waiting(), 0u);
}

TEST(HandOutQueue, SeveralSessionsTakeTheCostliestFirstAndTiesInListOrder) {
    HandOutQueue queue(true);
    const double costs[] = {0.1, 9, 0.5, 20, 0.1, 9};
    for (std::size_t i = 0; i < 6; ++i) {
        queue.Add(i, "page" + std::to_string(i), costs[i]);
    }
    EXPECT_THAT(Drain(queue), ElementsAre(3, 1, 5, 2, 0, 4));
}

TEST(HandOutQueue, ALaterDocumentOfABusyPageWaitsForTheEarlierOne) {
    HandOutQueue queue(true);
    queue.Add(0, "a", 1);
    queue.Add(1, "b", 2);
    queue.Add(2, "a", 50); // the costliest, but behind document 0 of its page
    queue.Add(3, "a", 60);
    EXPECT_EQ(queue.Next(), 1u);
    EXPECT_EQ(queue.Next(), 0u);
    // Page "a" is busy and "b" has nothing more: nothing can go.
    EXPECT_EQ(queue.Next(), std::nullopt);
    queue.Done(1);
    EXPECT_EQ(queue.Next(), std::nullopt);
    queue.Done(0);
    EXPECT_EQ(queue.Next(), 2u);
    // Added while its page is busy: still waits its turn.
    queue.Add(4, "a", 100);
    queue.Add(5, "c", 0.5);
    EXPECT_EQ(queue.Next(), 5u);
    queue.Done(2);
    EXPECT_THAT(Drain(queue), ElementsAre(3, 4));
}

TEST(HandOutQueue, ClearForgetsOnlyTheWaiting) {
    HandOutQueue queue(true);
    queue.Add(0, "a", 1);
    queue.Add(1, "a", 1);
    queue.Add(2, "b", 1);
    EXPECT_EQ(queue.Next(), 0u);
    queue.Clear();
    EXPECT_EQ(queue.Waiting(), 0u);
    EXPECT_EQ(queue.Next(), std::nullopt);
    // The page of the document still running is busy until it is done.
    queue.Add(3, "a", 1);
    EXPECT_EQ(queue.Next(), std::nullopt);
    queue.Done(0);
    EXPECT_EQ(queue.Next(), 3u);
}

} // namespace
} // namespace pelmora
