#pragma once
// The time a run has left, from the work it has left: the expected cost of every
// document not yet done, scaled by what the finished ones really cost against their
// expectation, laid out over the sessions as the pool hands documents out. Counting
// documents would call a run nearly done while its longest documents still wait.

#include <cstddef>
#include <functional>
#include <optional>
#include <set>
#include <vector>

namespace pelmora {

/// Estimates the seconds a run has left. Times are seconds on one steady clock.
class TimeLeftEstimator {
public:
    /// A run on sessions sessions (at least 1); with more than one, documents are taken
    /// to go out costliest first, as the pool hands them out.
    explicit TimeLeftEstimator(std::size_t sessions = 1);

    /// The document at position index (the next one; positions count from 0) is part
    /// of the run, with its expected cost.
    void Add(double expectedCost);
    /// The document at index went to a session at now.
    void Started(std::size_t index, double now);
    /// The document at index is done; it took seconds in its session.
    void Finished(std::size_t index, double seconds);
    /// The document at index, not started, is no longer part of the run.
    void Forget(std::size_t index);

    /// The share of the expected work that is done, from 0 to 1.
    double DoneShare() const;
    /// Seconds until the last document is done, as seen at now; empty until a
    /// document has finished, since nothing yet says what the work really costs.
    std::optional<double> SecondsLeft(double now) const;

private:
    enum class State { kWaiting, kRunning, kDone };
    struct Document {
        double cost = 0;
        double startedAt = 0;
        State state = State::kWaiting;
    };

    std::size_t sessions_ = 1;
    std::vector<Document> documents_;
    std::multiset<double, std::greater<>> waiting_; // costs of those not started
    double totalCost_ = 0;
    double doneCost_ = 0;
    double doneSeconds_ = 0;
};

} // namespace pelmora
