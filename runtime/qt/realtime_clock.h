#pragma once

#include "runtime/scheduler.h"

#include <QElapsedTimer>
#include <QTimer>

#include <cstdint>
#include <optional>

namespace rtqt {

// Wall-clock time in microseconds, carrying on from where the scheduler's time stood.
class RealtimeClock final : public rt::Clock {
public:
    explicit RealtimeClock(std::int64_t startUs = 0);
    std::int64_t nowUs() const override;

private:
    std::int64_t m_startUs;
    QElapsedTimer m_elapsed;
};

// Runs the scheduler's ticks on time with one precise single-shot QTimer aimed at the earliest
// due tick. The wait is rounded up to a whole millisecond and every tick due within half a
// millisecond runs on waking, so the event loop never spins waiting for a tick.
class RealtimeTicker {
public:
    RealtimeTicker(rt::Scheduler& scheduler, const rt::Clock& clock);
    RealtimeTicker(const RealtimeTicker&) = delete;
    RealtimeTicker& operator=(const RealtimeTicker&) = delete;
    ~RealtimeTicker();

    // Aims the QTimer at the earliest due tick, if that changed.
    void rearm();

private:
    void runDueTicks();

    rt::Scheduler* m_scheduler;
    const rt::Clock* m_clock;
    QTimer m_timer;
    std::optional<std::int64_t> m_aimedAt;
};

} // namespace rtqt
