#pragma once

#include "runtime/realtime/alarm_clock.h"
#include "runtime/realtime/ticker.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace rt {

// The wall clock held back before the next recorded input, so no tick due after that input can
// run before it lands: the ticker runs ticks up to kTickEarlyUs early, so time is held that much
// before the input's instant.
class ReplayClock final : public AlarmClock {
public:
    explicit ReplayClock(AlarmClock& wall) : m_wall(&wall) {}

    std::int64_t nowUs() const override { return std::min(m_wall->nowUs(), m_heldAtUs); }
    std::unique_ptr<Alarm> alarm(std::function<void()> ring) override
    {
        return m_wall->alarm(std::move(ring));
    }

    std::int64_t wallUs() const { return m_wall->nowUs(); }
    // Time waits short of the input at `us` until release().
    void holdBefore(std::int64_t us) { m_heldAtUs = us - kTickEarlyUs; }
    void release() { m_heldAtUs = std::numeric_limits<std::int64_t>::max(); }

private:
    AlarmClock* m_wall;
    std::int64_t m_heldAtUs = std::numeric_limits<std::int64_t>::max();
};

} // namespace rt
