#include "engine/TimeLeftEstimator.h"

#include <algorithm>
#include <queue>

namespace pelmora {

namespace {
// A document running past what was expected of it still needs this share of what it
// has taken so far: nothing left while it runs is the one answer certain to be wrong,
// and a quarter keeps the estimate within twice the truth on the recorded runs.
constexpr double kOverrunShare = 0.25;
} // namespace

TimeLeftEstimator::TimeLeftEstimator(std::size_t sessions)
    : sessions_(std::max<std::size_t>(sessions, 1)) {}

void TimeLeftEstimator::Add(double expectedCost) {
    const double cost = std::max(expectedCost, 0.0);
    documents_.push_back({cost, 0, State::kWaiting});
    waiting_.insert(cost);
    totalCost_ += cost;
}

void TimeLeftEstimator::Started(std::size_t index, double now) {
    if (index >= documents_.size() || documents_[index].state != State::kWaiting) {
        return;
    }
    Document& document = documents_[index];
    document.state = State::kRunning;
    document.startedAt = now;
    waiting_.erase(waiting_.find(document.cost));
}

void TimeLeftEstimator::Finished(std::size_t index, double seconds) {
    if (index >= documents_.size() || documents_[index].state == State::kDone) {
        return;
    }
    Document& document = documents_[index];
    if (document.state == State::kWaiting) {
        waiting_.erase(waiting_.find(document.cost));
    }
    document.state = State::kDone;
    doneCost_ += document.cost;
    doneSeconds_ += std::max(seconds, 0.0);
}

void TimeLeftEstimator::Forget(std::size_t index) {
    if (index >= documents_.size() || documents_[index].state != State::kWaiting) {
        return;
    }
    Document& document = documents_[index];
    waiting_.erase(waiting_.find(document.cost));
    document.state = State::kDone;
    totalCost_ -= document.cost;
}

double TimeLeftEstimator::DoneShare() const {
    return totalCost_ > 0 ? std::min(doneCost_ / totalCost_, 1.0) : 0.0;
}

std::optional<double> TimeLeftEstimator::SecondsLeft(double now) const {
    if (doneCost_ <= 0) {
        return std::nullopt;
    }
    // Seconds that one unit of expected cost really takes on this machine today.
    const double scale = doneSeconds_ / doneCost_;
    // When each session will be free: the running documents' rest, then the waiting
    // ones handed to whichever session frees first, costliest first. With one
    // session the order does not change the sum.
    std::priority_queue<double, std::vector<double>, std::greater<>> free;
    for (const Document& document : documents_) {
        if (document.state == State::kRunning) {
            const double elapsed = now - document.startedAt;
            free.push(std::max(document.cost * scale - elapsed, elapsed * kOverrunShare));
        }
    }
    while (free.size() < sessions_) {
        free.push(0);
    }
    double end = 0;
    for (const double cost : waiting_) {
        const double at = free.top() + cost * scale;
        free.pop();
        free.push(at);
    }
    while (!free.empty()) {
        end = std::max(end, free.top());
        free.pop();
    }
    return end;
}

} // namespace pelmora
