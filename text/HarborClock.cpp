#include "text/HarborClock.h"

#include <QElapsedTimer>
#include <optional>

namespace {

struct FixedClock {
    QDateTime start;
    QElapsedTimer running;
};

std::optional<FixedClock> StartingAt(const QDate& day) {
    if (!day.isValid())
        return std::nullopt;
    FixedClock clock{QDateTime(day, QTime(12, 0)), {}};
    clock.running.start();
    return clock;
}

std::optional<FixedClock>& Clock() {
    static std::optional<FixedClock> clock =
        StartingAt(QDate::fromString(qEnvironmentVariable("HARBOR_TODAY"), Qt::ISODate));
    return clock;
}

} // namespace

QDateTime HarborNow() {
    const std::optional<FixedClock>& clock = Clock();
    if (!clock)
        return QDateTime::currentDateTime();
    return clock->start.addMSecs(clock->running.elapsed());
}

QDate HarborToday() {
    return HarborNow().date();
}

void SetHarborToday(const QDate& day) {
    Clock() = StartingAt(day);
}
