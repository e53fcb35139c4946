#include "app/TimeLeftEstimate.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cmath>
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

void TimeLeftEstimate::Start() {
    lastShown_ = -1;
    seconds_.reset();
}

void TimeLeftEstimate::Estimated(double seconds) {
    seconds_ = seconds;
    estimatedAt_ = clock_();
}

QString TimeLeftEstimate::Text() const {
    if (!seconds_) {
        return QString();
    }
    const double left = std::max(*seconds_ - (clock_() - estimatedAt_) / 1000.0, 0.0);
    const auto seconds = static_cast<qint64>(std::ceil(left));
    return QStringLiteral("About %1:%2:%3 left")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

bool TimeLeftEstimate::TakeUpdate() {
    if (!seconds_) {
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
