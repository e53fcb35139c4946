#include "engine/PendingDocuments.h"

#include "engine/BatchRunner.h"
#include "engine/ExpectedCost.h"
#include "engine/StagingFolder.h"

#include <algorithm>
#include <filesystem>

namespace pelmora {

namespace fs = std::filesystem;

namespace {

// Pages are compared as absolute, normalized paths: "a.htm" and "./a.htm" are one page.
std::string PageKey(const std::string& page) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(page, ec);
    return (ec ? fs::path(page) : absolute).lexically_normal().string();
}

} // namespace

PendingDocuments::PendingDocuments(std::size_t sessions)
    : longestFirst_(sessions > 1), queue_(longestFirst_), estimate_(sessions) {}

bool PendingDocuments::Take(DocumentSource& source) {
    std::optional<BatchDocument> next = source.Next();
    if (!next) {
        exhausted_ = true;
        return false;
    }
    Entry entry;
    entry.page = PageKey(next->page);
    // Staging folders a killed run left go before this run writes beside them.
    if (const std::string folder = fs::path(entry.page).parent_path().string();
        sweptFolders_.insert(folder).second) {
        RemoveStaleStagingFolders(folder);
    }
    const double cost = ExpectedCost(next->source);
    queue_.Add(reported_ + pending_.size(), entry.page, cost);
    estimate_.Add(cost);
    entry.document = std::move(*next);
    pending_.push_back(std::move(entry));
    return true;
}

std::optional<std::size_t> PendingDocuments::NextToHandOut(DocumentSource& source) {
    std::optional<std::size_t> position = queue_.Next();
    for (; position && !source.Wanted(*position); position = queue_.Next()) {
        At(*position).dropped = true;
        queue_.Done(*position);
        estimate_.Forget(*position);
    }
    return position;
}

const BatchDocument& PendingDocuments::HandOut(std::size_t position, double now) {
    Entry& entry = At(position);
    entry.started = true;
    estimate_.Started(position, now);
    return entry.document;
}

void PendingDocuments::Finish(std::size_t position, DocumentOutcome outcome, bool stopped) {
    Entry& entry = At(position);
    entry.done = true;
    entry.outcome = std::move(outcome);
    entry.stopped = stopped;
    queue_.Done(position);
    estimate_.Finished(position, entry.outcome.seconds);
}

void PendingDocuments::ReportDone(BatchObserver& observer, bool stopped) {
    while (!pending_.empty() && (pending_.front().done || pending_.front().dropped ||
                                 (stopped && !pending_.front().started))) {
        const Entry& front = pending_.front();
        if (front.done && !front.stopped) {
            observer.DocumentFinished(reported_, front.document, front.outcome);
        }
        pending_.pop_front();
        ++reported_;
    }
}

bool PendingDocuments::Converting() const {
    return std::any_of(pending_.begin(), pending_.end(),
                       [](const Entry& entry) { return entry.started && !entry.done; });
}

void PendingDocuments::ReportDoneAfterStop(BatchObserver& observer) {
    for (std::size_t i = 0; i < pending_.size(); ++i) {
        if (pending_[i].done && !pending_[i].stopped) {
            observer.DocumentFinished(reported_ + i, pending_[i].document, pending_[i].outcome);
        }
    }
}

} // namespace pelmora
