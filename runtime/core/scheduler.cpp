#include "runtime/core/scheduler.h"

#include "runtime/core/controls.h"
#include "runtime/core/runtime.h"

#include <algorithm>

namespace rt {

Scheduler::Scheduler() : m_clock(&m_virtual) {}

std::int64_t Scheduler::periodUs(int intervalMs)
{
    return std::max<std::int64_t>(std::int64_t{intervalMs} * 1000, kShortestPeriodUs);
}

void Scheduler::arm(Timer& timer)
{
    const std::int64_t period = periodUs(timer.Interval);
    const Entry entry{&timer, now() + period, period, m_nextOrder++};
    auto it = std::find_if(m_entries.begin(), m_entries.end(),
                           [&timer](const Entry& e) { return e.timer == &timer; });
    if (it != m_entries.end())
        *it = entry;
    else
        m_entries.push_back(entry);
    queueChanged();
}

void Scheduler::disarm(Timer& timer)
{
    auto it = std::find_if(m_entries.begin(), m_entries.end(),
                           [&timer](const Entry& e) { return e.timer == &timer; });
    if (it == m_entries.end())
        return;
    m_entries.erase(it);
    queueChanged();
}

bool Scheduler::armed(const Timer& timer) const { return dueAt(timer).has_value(); }

std::optional<std::int64_t> Scheduler::dueAt(const Timer& timer) const
{
    auto it = std::find_if(m_entries.begin(), m_entries.end(),
                           [&timer](const Entry& e) { return e.timer == &timer; });
    if (it == m_entries.end())
        return std::nullopt;
    return it->due;
}

std::optional<std::size_t> Scheduler::earliest() const
{
    std::optional<std::size_t> best;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const Entry& e = m_entries[i];
        if (!best || e.due < m_entries[*best].due ||
            (e.due == m_entries[*best].due && e.order < m_entries[*best].order))
            best = i;
    }
    return best;
}

std::optional<std::int64_t> Scheduler::nextDue() const
{
    if (m_suspendedAt)
        return std::nullopt;
    if (auto i = earliest())
        return m_entries[*i].due;
    return std::nullopt;
}

bool Scheduler::runOne(std::int64_t untilUs)
{
    const auto i = earliest();
    if (m_suspendedAt || !i || m_entries[*i].due > untilUs)
        return false;
    Entry& entry = m_entries[*i];
    ++m_ticksRun;
    // The next tick is set before the handler runs, so the handler may re-arm or disarm freely.
    // After a stall the timer keeps its phase and the missed ticks are dropped.
    const std::int64_t due = entry.due;
    m_latestDue = std::max(m_latestDue, due);
    const std::int64_t current = std::max(m_clock->nowUs(), due);
    std::int64_t next = entry.due + entry.period;
    if (next <= current)
        next = entry.due + entry.period * ((current - entry.due) / entry.period + 1);
    entry.due = next;
    Timer* timer = entry.timer;
    if (timer->onTick) {
        // A tick a little late keeps its own instant; one after a stall happens now.
        m_tickDue = current - due < entry.period ? due : current;
        timer->form().runtime().dispatch(timer->onTick);
        m_tickDue.reset();
    }
    return true;
}

void Scheduler::runDue(std::int64_t untilUs)
{
    while (runOne(untilUs)) {
    }
    queueChanged();
}

std::int64_t Scheduler::catchUp()
{
    const std::int64_t at = std::max(m_clock->nowUs(), m_latestDue);
    runDue(at);
    return at;
}

void Scheduler::advanceUs(std::int64_t us)
{
    const std::int64_t target = m_virtual.nowUs() + us;
    for (;;) {
        const auto due = nextDue();
        if (!due || *due > target)
            break;
        m_virtual.set(std::max(*due, m_virtual.nowUs()));
        runOne(*due);
    }
    m_virtual.set(target);
}

void Scheduler::suspend(std::int64_t atUs)
{
    if (m_suspendedAt)
        return;
    m_suspendedAt = atUs;
    queueChanged();
}

void Scheduler::resume(std::int64_t atUs)
{
    if (!m_suspendedAt)
        return;
    const std::int64_t stood = std::max<std::int64_t>(0, atUs - *m_suspendedAt);
    m_suspendedAt.reset();
    for (Entry& entry : m_entries)
        entry.due += stood;
    m_latestDue = std::max(m_latestDue, atUs);
    queueChanged();
}

void Scheduler::queueChanged()
{
    if (onQueueChanged)
        onQueueChanged();
}

} // namespace rt
