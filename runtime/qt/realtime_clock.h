#pragma once

#include "runtime/qt/alarm_clock.h"
#include "runtime/scheduler.h"

#include <QElapsedTimer>

#include <cstdint>
#include <memory>
#include <optional>

namespace rtqt {

// Wall-clock time in microseconds, carrying on from where the scheduler's time stood; its alarms
// are precise single-shot QTimers.
class RealtimeClock final : public AlarmClock {
public:
    explicit RealtimeClock(std::int64_t startUs = 0);
    std::int64_t nowUs() const override;
    std::unique_ptr<Alarm> alarm(std::function<void()> ring) override;

private:
    std::int64_t m_startUs;
    QElapsedTimer m_elapsed;
};

// Runs the scheduler's ticks on time with one alarm aimed at the earliest due tick. The wait is
// rounded up to a whole millisecond and every tick due within half a millisecond runs on waking,
// so the event loop never spins waiting for a tick.
class Ticker {
public:
    Ticker(rt::Scheduler& scheduler, AlarmClock& clock);
    Ticker(const Ticker&) = delete;
    Ticker& operator=(const Ticker&) = delete;
    ~Ticker();

    // Aims the alarm at the earliest due tick, if that changed.
    void rearm();

private:
    void runDueTicks();

    rt::Scheduler* m_scheduler;
    const rt::Clock* m_clock;
    std::unique_ptr<Alarm> m_alarm;
    std::optional<std::int64_t> m_aimedAt;
};

} // namespace rtqt
