#pragma once
// The time a run still needs, from the pace of the documents it has finished so far.
// The clock is handed in, so the estimate can be checked without waiting.

#include <QString>
#include <functional>

namespace pelmora {

/// Estimates the time left of a run from the documents finished so far.
class TimeLeftEstimate {
public:
    /// Milliseconds on a clock that never goes back.
    using Clock = std::function<qint64()>;

    /// An estimate reading the monotonic clock.
    TimeLeftEstimate();
    /// An estimate reading clock.
    explicit TimeLeftEstimate(Clock clock);

    /// Starts a run of total documents now; nothing is shown until two are done.
    void Start(int total);
    /// A document of the run finished (converted or not).
    void DocumentFinished();
    /// The text to show: empty until two documents are done, then "About h:mm:ss left".
    QString Text() const;
    /// True when Text should be shown anew: it has something to show and the last shown
    /// text is at least a second old (or none was shown yet). Marks it shown.
    bool TakeUpdate();

private:
    Clock clock_;
    qint64 start_ = 0;
    qint64 lastShown_ = -1;
    int total_ = 0;
    int done_ = 0;
};

} // namespace pelmora
