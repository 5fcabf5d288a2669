#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace rt {

class Timer;

// Where the scheduler reads the time, in microseconds.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t nowUs() const = 0;
};

// Time that moves only when told to: tests, benchmarks and bots run the game instantly on it.
class VirtualClock : public Clock {
public:
    std::int64_t nowUs() const override { return m_now; }
    void set(std::int64_t us) { m_now = us; }

private:
    std::int64_t m_now = 0;
};

// The queue of due timer ticks. Rules: the period is max(Interval, 15.625 ms); enabling arms a
// timer one period from now; an Interval change re-arms it; ticks due at the same instant run in
// the order their timers were armed; periods are drift-free; after a stall a timer ticks once and
// its next tick keeps its phase (missed ticks are dropped, never fired in a burst). While
// suspended (the game paused) nothing is due.
class Scheduler {
public:
    // The shortest spacing of ticks honoured, that of the classic desktop timer (64 a second).
    static constexpr std::int64_t kShortestPeriodUs = 15'625;

    Scheduler();
    Scheduler(const Scheduler&) = delete;
    Scheduler& operator=(const Scheduler&) = delete;

    // Time comes from the virtual clock until another one is set.
    void useClock(const Clock& clock) { m_clock = &clock; }
    // Back to the virtual clock, time carrying on from now: the clock in use is going away.
    void useVirtualClock()
    {
        m_virtual.set(m_clock->nowUs());
        m_clock = &m_virtual;
    }
    // Inside a tick's handler time stands at the instant the tick was due, so a timer the handler
    // enables keeps to the game's schedule even when the tick itself ran a little late.
    std::int64_t now() const { return m_tickDue ? *m_tickDue : m_clock->nowUs(); }

    // Arms `timer` one period from now with a fresh place in the arming order.
    void arm(Timer& timer);
    void disarm(Timer& timer);
    bool armed(const Timer& timer) const;
    // When the timer ticks next; nothing when it is not armed.
    std::optional<std::int64_t> dueAt(const Timer& timer) const;
    std::optional<std::int64_t> nextDue() const;

    // Runs, one at a time and in order, every tick due at or before `untilUs`.
    void runDue(std::int64_t untilUs);

    // Input from the player lands between ticks: runs every tick due by now, or by the latest
    // instant a tick already ran at (the real-time clock runs ticks a little early), and returns
    // that instant. Every tick up to it has run and none after, so a replay can land the same input
    // at the same place among the ticks.
    std::int64_t catchUp();
    // While an input's handler runs, time stands at the instant catchUp() returned.
    void holdTime(std::int64_t us) { m_tickDue = us; }
    void releaseTime() { m_tickDue.reset(); }

    // Virtual clock only: moves time on by `ms`, running every tick due on the way at its instant.
    void advance(std::int64_t ms) { advanceUs(ms * 1000); }
    void advanceUs(std::int64_t us);

    // Called whenever the earliest due tick may have changed (the real-time clock re-arms on it).
    std::function<void()> onQueueChanged;

    static std::int64_t periodUs(int intervalMs);

    // The game stands still: no tick falls due until resume(), and every timer then has the time
    // it had left at `atUs`. Both are given the instant, so a replay lands them where they were.
    void suspend(std::int64_t atUs);
    void resume(std::int64_t atUs);
    bool suspended() const { return m_suspendedAt.has_value(); }

    // Ticks run since the scheduler was made: two builds that play the same game run as many.
    std::uint64_t ticksRun() const { return m_ticksRun; }

private:
    struct Entry {
        Timer* timer;
        std::int64_t due;
        std::int64_t period;
        std::uint64_t order;
    };
    std::optional<std::size_t> earliest() const;
    bool runOne(std::int64_t untilUs);
    void queueChanged();

    VirtualClock m_virtual;
    const Clock* m_clock;
    std::vector<Entry> m_entries;
    std::uint64_t m_nextOrder = 0;
    std::optional<std::int64_t> m_tickDue;
    std::int64_t m_latestDue = 0; // the latest instant a tick has run at
    std::uint64_t m_ticksRun = 0;
    std::optional<std::int64_t> m_suspendedAt;
};

} // namespace rt
