#include "runtime/realtime/ticker.h"

#include <algorithm>

namespace rt {

Ticker::Ticker(Scheduler& scheduler, AlarmClock& clock)
    : m_scheduler(&scheduler), m_clock(&clock), m_alarm(clock.alarm([this] { runDueTicks(); }))
{
    m_scheduler->onQueueChanged = [this] { rearm(); };
}

Ticker::~Ticker() { m_scheduler->onQueueChanged = nullptr; }

void Ticker::rearm()
{
    const std::optional<std::int64_t> due = m_scheduler->nextDue();
    if (!due) {
        m_alarm->stop();
        m_aimedAt.reset();
        return;
    }
    if (m_alarm->isActive() && m_aimedAt == due)
        return;
    const std::int64_t waitUs = std::max<std::int64_t>(0, *due - m_clock->nowUs());
    m_aimedAt = due;
    m_alarm->start(static_cast<int>((waitUs + 999) / 1000));
}

void Ticker::runDueTicks()
{
    m_aimedAt.reset();
    // runDue reports the changed queue when it is done, which re-arms the alarm.
    m_scheduler->runDue(m_clock->nowUs() + kTickEarlyUs);
    rearm();
}

} // namespace rt
