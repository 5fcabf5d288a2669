#include "runtime/qt/realtime_clock.h"

#include <algorithm>

namespace rtqt {

namespace {
// Ticks due this close to waking run now rather than after another wait.
constexpr std::int64_t kEarlyUs = 500;
} // namespace

RealtimeClock::RealtimeClock(std::int64_t startUs) : m_startUs(startUs) { m_elapsed.start(); }

std::int64_t RealtimeClock::nowUs() const { return m_startUs + m_elapsed.nsecsElapsed() / 1000; }

RealtimeTicker::RealtimeTicker(rt::Scheduler& scheduler, const rt::Clock& clock)
    : m_scheduler(&scheduler), m_clock(&clock)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { runDueTicks(); });
    m_scheduler->onQueueChanged = [this] { rearm(); };
}

RealtimeTicker::~RealtimeTicker() { m_scheduler->onQueueChanged = nullptr; }

void RealtimeTicker::rearm()
{
    const std::optional<std::int64_t> due = m_scheduler->nextDue();
    if (!due) {
        m_timer.stop();
        m_aimedAt.reset();
        return;
    }
    if (m_timer.isActive() && m_aimedAt == due)
        return;
    const std::int64_t waitUs = std::max<std::int64_t>(0, *due - m_clock->nowUs());
    m_aimedAt = due;
    m_timer.start(static_cast<int>((waitUs + 999) / 1000));
}

void RealtimeTicker::runDueTicks()
{
    m_aimedAt.reset();
    // runDue reports the changed queue when it is done, which re-arms the timer.
    m_scheduler->runDue(m_clock->nowUs() + kEarlyUs);
    rearm();
}

} // namespace rtqt
