#pragma once

#include "runtime/realtime/alarm_clock.h"

#include <QElapsedTimer>

#include <cstdint>
#include <memory>

namespace rtqt {

// Wall-clock time in microseconds, carrying on from where the scheduler's time stood; its alarms
// are precise single-shot QTimers on the Qt event loop.
class RealtimeClock final : public rt::AlarmClock {
public:
    explicit RealtimeClock(std::int64_t startUs = 0);
    std::int64_t nowUs() const override;
    std::unique_ptr<rt::Alarm> alarm(std::function<void()> ring) override;

private:
    std::int64_t m_startUs;
    QElapsedTimer m_elapsed;
};

} // namespace rtqt
