#pragma once
// The time a run still needs, as the run estimates it from the work it has left,
// counted down between its estimates. The clock is handed in, so the text can be
// checked without waiting.

#include <QString>
#include <functional>
#include <optional>

namespace pelmora {

/// Shows a run's estimate of the time it has left.
class TimeLeftEstimate {
public:
    /// Milliseconds on a clock that never goes back.
    using Clock = std::function<qint64()>;

    /// An estimate reading the monotonic clock.
    TimeLeftEstimate();
    /// An estimate reading clock.
    explicit TimeLeftEstimate(Clock clock);

    /// Starts a run: nothing is shown until the run gives its first estimate.
    void Start();
    /// The run estimates that it needs seconds more, as of now.
    void Estimated(double seconds);
    /// The text to show: empty until the run gave an estimate, then "About h:mm:ss
    /// left", the last estimate less the time since it came.
    QString Text() const;
    /// True when Text should be shown anew: it has something to show and the last shown
    /// text is at least a second old (or none was shown yet). Marks it shown.
    bool TakeUpdate();

private:
    Clock clock_;
    qint64 lastShown_ = -1;
    std::optional<double> seconds_;
    qint64 estimatedAt_ = 0;
};

} // namespace pelmora
