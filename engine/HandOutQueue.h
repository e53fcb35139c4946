#pragma once
// The order in which a pool's sessions get the documents of a run. One session takes
// them in list order. Several take the costliest expected first, so that a batch ends
// when its longest document does rather than with one office converting a long
// document alone while the others have run out of work. Either way two documents with
// the same page never convert at once: the later one of a page waits for the earlier.

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace pelmora {

/// The documents of a run that wait for a session, and which goes next.
class HandOutQueue {
public:
    /// longestFirst: costliest expected first (ties in list order); else list order.
    explicit HandOutQueue(bool longestFirst);

    /// The document at position index (each larger than the one before) waits for a
    /// session; page names its page, cost its expected cost.
    void Add(std::size_t index, const std::string& page, double cost);
    /// The document to hand out now, whose page is then busy; empty when every waiting
    /// document's page is busy, or none waits.
    std::optional<std::size_t> Next();
    /// The document at index, handed out by Next, is done: its page is free again.
    void Done(std::size_t index);
    /// Forgets every document still waiting; those handed out stay until Done.
    void Clear();

    /// How many documents wait for a session.
    std::size_t Waiting() const { return waiting_; }

private:
    struct Waiter {
        std::size_t index = 0;
        double cost = 0;
    };
    // Ready documents, the next to go first: the first waiter of each free page.
    using Key = std::tuple<double, std::size_t>;

    Key KeyOf(const Waiter& waiter) const;
    void MakeReady(const std::string& page);

    bool longestFirst_ = false;
    std::map<std::string, std::vector<Waiter>> byPage_; // waiters of each page, in list order
    std::map<std::string, std::size_t> firstOfPage_;    // where each page's queue starts
    std::set<std::string> busyPages_;
    std::map<std::size_t, std::string> running_;
    std::set<std::pair<Key, std::string>> ready_;
    std::size_t waiting_ = 0;
};

} // namespace pelmora
