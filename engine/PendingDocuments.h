#pragma once
// The documents a batch run has taken from its source and not yet reported: the
// order they go out in, which are converting, the time left, and reporting them in
// list order.

#include "engine/BatchObserver.h"
#include "engine/HandOutQueue.h"
#include "engine/TimeLeftEstimator.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <set>
#include <string>

namespace pelmora {

class DocumentSource;

/// The taken, unreported documents of one run, by list position. Used on the run's
/// thread only. Times are seconds since the run started.
class PendingDocuments {
public:
    /// For a pool of sessions sessions: with more than one, the costliest expected
    /// document goes out first, else the first in list order.
    explicit PendingDocuments(std::size_t sessions);

    /// True when documents go out costliest first: every document is then taken at
    /// once, to know which that is.
    bool LongestFirst() const { return longestFirst_; }
    /// Takes the next document from source; false when it has none left. Staging
    /// folders a killed run left in the document's output folder go first, once per
    /// folder.
    bool Take(DocumentSource& source);
    /// True once Take found the source empty.
    bool Exhausted() const { return exhausted_; }
    /// Documents taken and not yet reported.
    std::size_t Count() const { return pending_.size(); }
    /// Documents taken and not yet handed out.
    std::size_t Waiting() const { return queue_.Waiting(); }

    /// The list position of the document to hand out next, whose page is then busy;
    /// those source no longer wants are dropped on the way. Empty when none may go now.
    std::optional<std::size_t> NextToHandOut(DocumentSource& source);
    /// Marks the document at position, from NextToHandOut, as handed out at now and
    /// returns it.
    const BatchDocument& HandOut(std::size_t position, double now);
    /// Records the outcome of the document at position; stopped: its office was
    /// ended under it by a stop, so it is never reported.
    void Finish(std::size_t position, DocumentOutcome outcome, bool stopped);
    /// Seconds until the last document is done, as seen at now; empty until one is.
    std::optional<double> SecondsLeft(double now) const { return estimate_.SecondsLeft(now); }

    /// Reports every document at the front that is done, in list order, past those
    /// dropped; after a stop also past those never handed out.
    void ReportDone(BatchObserver& observer, bool stopped);
    /// True while a handed-out document is not done.
    bool Converting() const;
    /// After a stop: reports the documents done, in list order, past those not done.
    void ReportDoneAfterStop(BatchObserver& observer);

private:
    struct Entry {
        BatchDocument document;
        std::string page; // the page's key: absolute and normalized
        bool started = false;
        bool done = false;
        bool stopped = false;
        bool dropped = false; // never handed out: the source wanted no more
        DocumentOutcome outcome;
    };
    Entry& At(std::size_t position) { return pending_[position - reported_]; }

    bool longestFirst_ = false;
    HandOutQueue queue_;
    TimeLeftEstimator estimate_;
    std::deque<Entry> pending_; // the first has position reported_
    std::size_t reported_ = 0;
    std::set<std::string> sweptFolders_;
    bool exhausted_ = false;
};

} // namespace pelmora
