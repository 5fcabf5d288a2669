#include "board/rate_limit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace board {

bool RateLimit::take(const std::string& address, Clock::time_point now, std::chrono::seconds& wait)
{
    const std::lock_guard lock(m_mutex);
    const double perSecond = 1.0 / static_cast<double>(kRefill.count());
    if (m_buckets.size() >= kRemembered) {
        std::erase_if(m_buckets, [&](const auto& pair) {
            const std::chrono::duration<double> since = now - pair.second.at;
            return pair.second.tokens + since.count() * perSecond >= kBurst;
        });
    }
    Bucket& bucket =
        m_buckets.try_emplace(address, Bucket{.tokens = kBurst, .at = now}).first->second;
    const std::chrono::duration<double> since = now - bucket.at;
    bucket.tokens = std::min<double>(kBurst, bucket.tokens + since.count() * perSecond);
    bucket.at = now;
    if (bucket.tokens >= 1) {
        bucket.tokens -= 1;
        return true;
    }
    wait =
        std::chrono::seconds(static_cast<std::int64_t>(std::ceil((1 - bucket.tokens) / perSecond)));
    return false;
}

} // namespace board
