#include "platforms/web/page_clock.h"

#include <emscripten/emscripten.h>
#include <emscripten/eventloop.h>

#include <algorithm>
#include <utility>

namespace rtweb {

class PageClock::TimerAlarm final : public rt::Alarm {
public:
    TimerAlarm(PageClock& clock, std::function<void()> ring)
        : m_clock(&clock), m_ring(std::move(ring))
    {
        m_clock->m_alarms.push_back(this);
    }
    TimerAlarm(const TimerAlarm&) = delete;
    TimerAlarm& operator=(const TimerAlarm&) = delete;
    ~TimerAlarm() override
    {
        stop();
        std::erase(m_clock->m_alarms, this);
    }

    void start(int ms) override
    {
        stop();
        m_timer = emscripten_set_timeout(&TimerAlarm::timedOut, ms, this);
    }
    void stop() override
    {
        if (m_timer)
            emscripten_clear_timeout(*m_timer);
        m_timer.reset();
        m_dueWhileHidden = false;
    }
    bool isActive() const override { return m_timer.has_value() || m_dueWhileHidden; }

    // The page shows again: an alarm that fell due meanwhile rings now.
    void pageShown()
    {
        if (std::exchange(m_dueWhileHidden, false))
            m_ring();
    }

private:
    static void timedOut(void* self)
    {
        auto& alarm = *static_cast<TimerAlarm*>(self);
        alarm.m_timer.reset();
        if (alarm.m_clock->pageHidden())
            alarm.m_dueWhileHidden = true;
        else
            alarm.m_ring();
    }

    PageClock* m_clock;
    std::function<void()> m_ring;
    std::optional<long> m_timer;
    bool m_dueWhileHidden = false;
};

PageClock::PageClock(std::int64_t startUs) : m_standingUs(browserUs() - startUs) {}

PageClock::~PageClock() = default;

std::int64_t PageClock::browserUs()
{
    return static_cast<std::int64_t>(emscripten_get_now() * 1000.0);
}

std::int64_t PageClock::nowUs() const
{
    return m_hiddenSinceUs.value_or(browserUs()) - m_standingUs;
}

std::unique_ptr<rt::Alarm> PageClock::alarm(std::function<void()> ring)
{
    return std::make_unique<TimerAlarm>(*this, std::move(ring));
}

void PageClock::setPageHidden(bool hidden)
{
    if (hidden == pageHidden())
        return;
    if (hidden) {
        m_hiddenSinceUs = browserUs();
        return;
    }
    m_standingUs += browserUs() - *m_hiddenSinceUs;
    m_hiddenSinceUs.reset();
    // Ringing may start or stop other alarms: ring a copy of the list.
    const std::vector<TimerAlarm*> alarms = m_alarms;
    for (TimerAlarm* alarm : alarms)
        if (std::find(m_alarms.begin(), m_alarms.end(), alarm) != m_alarms.end())
            alarm->pageShown();
}

} // namespace rtweb
