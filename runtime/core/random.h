#pragma once

#include <cstdint>

namespace rt {

// The game's random draws: a 24-bit linear congruential generator that is never reseeded, so every
// run draws the same sequence on every compiler.
class Random {
public:
    // The next draw, uniform in [0, 1).
    float next()
    {
        m_state = (kMultiplier * m_state + kIncrement) & kMask;
        return static_cast<float>(m_state) / kModulus;
    }

private:
    static constexpr std::uint32_t kMultiplier = 1140671485u;
    static constexpr std::uint32_t kIncrement = 12820163u;
    static constexpr std::uint32_t kMask = 0xFFFFFFu;
    static constexpr float kModulus = 16777216.0f;
    std::uint32_t m_state = 327680u;
};

} // namespace rt
