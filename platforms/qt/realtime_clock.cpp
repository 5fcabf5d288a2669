#include "platforms/qt/realtime_clock.h"

#include <QTimer>

#include <utility>

namespace rtqt {

namespace {

class TimerAlarm final : public rt::Alarm {
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

std::unique_ptr<rt::Alarm> RealtimeClock::alarm(std::function<void()> ring)
{
    return std::make_unique<TimerAlarm>(std::move(ring));
}

} // namespace rtqt
