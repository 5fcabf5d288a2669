#pragma once

#include "runtime/qt/realtime_clock.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace rtqt {

// The wall clock held back before the next recorded input, so no tick due after that input can
// run before it lands: the ticker runs ticks up to half a millisecond early, so time is held that
// much before the input's instant.
class ReplayClock final : public AlarmClock {
public:
    static constexpr std::int64_t kEarlyUs = 500;

    std::int64_t nowUs() const override { return std::min(m_wall.nowUs(), m_heldAtUs); }
    std::unique_ptr<Alarm> alarm(std::function<void()> ring) override
    {
        return m_wall.alarm(std::move(ring));
    }

    std::int64_t wallUs() const { return m_wall.nowUs(); }
    // Time waits short of the input at `us` until release().
    void holdBefore(std::int64_t us) { m_heldAtUs = us - kEarlyUs; }
    void release() { m_heldAtUs = std::numeric_limits<std::int64_t>::max(); }

private:
    RealtimeClock m_wall;
    std::int64_t m_heldAtUs = std::numeric_limits<std::int64_t>::max();
};

} // namespace rtqt
