#pragma once

#include "runtime/realtime/alarm_clock.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace rtweb {

// The game's wall clock in the browser: the page's monotonic clock, standing still while the
// page is hidden (another tab, a minimised browser) and going on from there when it shows again,
// so a game in a background tab is neither lost nor hurried through its missed ticks. Its alarms
// are browser timers; one that falls due while the page is hidden rings when it shows again.
class PageClock final : public rt::AlarmClock {
public:
    // Starts at `startUs`, where the game's time stands.
    explicit PageClock(std::int64_t startUs);
    PageClock(const PageClock&) = delete;
    PageClock& operator=(const PageClock&) = delete;
    ~PageClock() override;

    std::int64_t nowUs() const override;
    std::unique_ptr<rt::Alarm> alarm(std::function<void()> ring) override;

    void setPageHidden(bool hidden);
    bool pageHidden() const { return m_hiddenSinceUs.has_value(); }

private:
    class TimerAlarm;
    static std::int64_t browserUs();

    std::int64_t m_standingUs = 0; // how long the page has been hidden, in all
    std::optional<std::int64_t> m_hiddenSinceUs;
    std::vector<TimerAlarm*> m_alarms;
};

} // namespace rtweb
