#pragma once

#include <chrono>
#include <cstddef>
#include <mutex>
#include <string>
#include <unordered_map>

namespace board {

// How many submissions one address may make: a burst of kBurst at once, then one every
// kRefill. Enough for a player sending each game, and for a few players behind one router.
class RateLimit {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr int kBurst = 20;
    static constexpr std::chrono::seconds kRefill{3};

    // True when `address` may submit now, which uses one of its submissions; otherwise how long
    // until it may is in `wait`.
    bool take(const std::string& address, Clock::time_point now, std::chrono::seconds& wait);

private:
    struct Bucket {
        double tokens = kBurst;
        Clock::time_point at;
    };
    // Addresses whose buckets have been full again for a while are forgotten past this many.
    static constexpr std::size_t kRemembered = 100'000;

    std::mutex m_mutex;
    std::unordered_map<std::string, Bucket> m_buckets;
};

} // namespace board
