#pragma once

#include "runtime/core/scheduler.h"
#include "runtime/realtime/alarm_clock.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace rt {

// How early a tick may run: ticks due this close to waking run at once rather than after
// another wait, so the event loop never spins waiting for a tick.
inline constexpr std::int64_t kTickEarlyUs = 500;

// Runs the scheduler's ticks on time on a real clock, with one alarm aimed at the earliest due
// tick. The wait is rounded up to a whole millisecond and every tick due within kTickEarlyUs
// runs on waking.
class Ticker {
public:
    Ticker(Scheduler& scheduler, AlarmClock& clock);
    Ticker(const Ticker&) = delete;
    Ticker& operator=(const Ticker&) = delete;
    ~Ticker();

    // Aims the alarm at the earliest due tick, if that changed.
    void rearm();

private:
    void runDueTicks();

    Scheduler* m_scheduler;
    const Clock* m_clock;
    std::unique_ptr<Alarm> m_alarm;
    std::optional<std::int64_t> m_aimedAt;
};

} // namespace rt
