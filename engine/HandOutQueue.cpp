#include "engine/HandOutQueue.h"

namespace pelmora {

HandOutQueue::HandOutQueue(bool longestFirst) : longestFirst_(longestFirst) {}

HandOutQueue::Key HandOutQueue::KeyOf(const Waiter& waiter) const {
    return {longestFirst_ ? -waiter.cost : 0.0, waiter.index};
}

// A page's first waiter becomes ready when the page is free.
void HandOutQueue::MakeReady(const std::string& page) {
    const auto queue = byPage_.find(page);
    if (queue == byPage_.end() || busyPages_.count(page) != 0) {
        return;
    }
    ready_.insert({KeyOf(queue->second[firstOfPage_[page]]), page});
}

void HandOutQueue::Add(std::size_t index, const std::string& page, double cost) {
    std::vector<Waiter>& queue = byPage_[page];
    queue.push_back({index, cost});
    ++waiting_;
    if (queue.size() - firstOfPage_[page] == 1) {
        MakeReady(page);
    }
}

std::optional<std::size_t> HandOutQueue::Next() {
    if (ready_.empty()) {
        return std::nullopt;
    }
    const std::string page = ready_.begin()->second;
    ready_.erase(ready_.begin());
    std::vector<Waiter>& queue = byPage_[page];
    std::size_t& first = firstOfPage_[page];
    const std::size_t index = queue[first++].index;
    if (first == queue.size()) {
        byPage_.erase(page);
        firstOfPage_.erase(page);
    }
    --waiting_;
    busyPages_.insert(page);
    running_[index] = page;
    return index;
}

void HandOutQueue::Done(std::size_t index) {
    const auto running = running_.find(index);
    if (running == running_.end()) {
        return;
    }
    const std::string page = running->second;
    running_.erase(running);
    busyPages_.erase(page);
    MakeReady(page);
}

void HandOutQueue::Clear() {
    byPage_.clear();
    firstOfPage_.clear();
    ready_.clear();
    waiting_ = 0;
}

} // namespace pelmora
