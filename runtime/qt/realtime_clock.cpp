#include "runtime/qt/realtime_clock.h"

#include <QTimer>

#include <algorithm>
#include <utility>

namespace rtqt {

namespace {

// Ticks due this close to waking run now rather than after another wait.
constexpr std::int64_t kEarlyUs = 500;

class TimerAlarm final : public Alarm {
public:
    explicit TimerAlarm(std::function<void()> ring)
    {
        m_timer.setSingleShot(true);
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, std::move(ring));
    }
    void start(int ms) override { m_timer.start(ms); }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
};

} // namespace

RealtimeClock::RealtimeClock(std::int64_t startUs) : m_startUs(startUs) { m_elapsed.start(); }

std::int64_t RealtimeClock::nowUs() const { return m_startUs + m_elapsed.nsecsElapsed() / 1000; }

std::unique_ptr<Alarm> RealtimeClock::alarm(std::function<void()> ring)
{
    return std::make_unique<TimerAlarm>(std::move(ring));
}

Ticker::Ticker(rt::Scheduler& scheduler, AlarmClock& clock)
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
    m_scheduler->runDue(m_clock->nowUs() + kEarlyUs);
    rearm();
}

} // namespace rtqt
