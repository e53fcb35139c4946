#include "app/TimeLeftEstimate.h"

#include <QElapsedTimer>
#include <algorithm>
#include <utility>

namespace pelmora {

namespace {
qint64 MonotonicMs() {
    // One timer for the program; it only ever reads the monotonic clock.
    static const QElapsedTimer started = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    return started.elapsed();
}
} // namespace

TimeLeftEstimate::TimeLeftEstimate() : clock_(MonotonicMs) {}

TimeLeftEstimate::TimeLeftEstimate(Clock clock) : clock_(std::move(clock)) {}

void TimeLeftEstimate::Start(int total) {
    start_ = clock_();
    lastShown_ = -1;
    total_ = total;
    done_ = 0;
}

void TimeLeftEstimate::DocumentFinished() {
    ++done_;
}

QString TimeLeftEstimate::Text() const {
    // One document's time says little: the first one also pays for starting the office.
    if (done_ < 2) {
        return QString();
    }
    const qint64 elapsed = clock_() - start_;
    const int left = std::max(total_ - done_, 0);
    const qint64 seconds = (elapsed * left / done_ + 999) / 1000;
    return QStringLiteral("About %1:%2:%3 left")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

bool TimeLeftEstimate::TakeUpdate() {
    if (done_ < 2) {
        return false;
    }
    const qint64 now = clock_();
    if (lastShown_ >= 0 && now - lastShown_ < 1000) {
        return false;
    }
    lastShown_ = now;
    return true;
}

} // namespace pelmora
