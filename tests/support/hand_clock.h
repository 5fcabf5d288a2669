#pragma once

#include "runtime/realtime/alarm_clock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

// Time that moves only when a test moves it. Alarms ring at their exact instants, in the order
// they fall due (those due together in the order they were started). `afterRing`, when given,
// runs before time moves and after each ring: a front end's event loop delivering what it posted.
class HandClock : public rt::AlarmClock {
public:
    explicit HandClock(std::function<void()> afterRing = {}) : m_afterRing(std::move(afterRing)) {}

    std::int64_t nowUs() const override { return m_nowUs; }
    std::unique_ptr<rt::Alarm> alarm(std::function<void()> ring) override
    {
        return std::make_unique<HandAlarm>(*this, std::move(ring));
    }

    // Moves time on by `ms`, ringing every alarm due on the way at its instant.
    void advance(std::int64_t ms) { advanceUs(ms * 1000); }
    void advanceUs(std::int64_t us)
    {
        const std::int64_t until = m_nowUs + us;
        delivered();
        int ringsNow = 0;
        while (HandAlarm* next = earliestDue(until)) {
            ringsNow = next->m_dueUs == m_nowUs ? ringsNow + 1 : 1;
            // An alarm that keeps setting itself for 0 ms would spin the real event loop.
            if (ringsNow > kMostRingsAtOneInstant) {
                ADD_FAILURE() << "alarms keep ringing at " << m_nowUs << " us";
                break;
            }
            m_nowUs = *next->m_dueUs;
            next->m_dueUs.reset();
            ++m_rings;
            next->m_ring();
            delivered();
        }
        m_nowUs = until;
    }

    // Rings since the clock was made: each is a wake-up of the event loop in the real game.
    int rings() const { return m_rings; }

private:
    static constexpr int kMostRingsAtOneInstant = 1000;

    class HandAlarm final : public rt::Alarm {
    public:
        HandAlarm(HandClock& clock, std::function<void()> ring)
            : m_clock(&clock), m_ring(std::move(ring))
        {
            m_clock->m_alarms.push_back(this);
        }
        HandAlarm(const HandAlarm&) = delete;
        HandAlarm& operator=(const HandAlarm&) = delete;
        ~HandAlarm() override { std::erase(m_clock->m_alarms, this); }

        void start(int ms) override
        {
            m_dueUs = m_clock->m_nowUs + std::int64_t{ms} * 1000;
            m_order = m_clock->m_nextOrder++;
        }
        void stop() override { m_dueUs.reset(); }
        bool isActive() const override { return m_dueUs.has_value(); }

        HandClock* m_clock;
        std::function<void()> m_ring;
        std::optional<std::int64_t> m_dueUs;
        std::uint64_t m_order = 0;
    };

    HandAlarm* earliestDue(std::int64_t untilUs) const
    {
        HandAlarm* earliest = nullptr;
        for (HandAlarm* alarm : m_alarms)
            if (alarm->m_dueUs && *alarm->m_dueUs <= untilUs &&
                (!earliest || std::pair(*alarm->m_dueUs, alarm->m_order) <
                                  std::pair(*earliest->m_dueUs, earliest->m_order)))
                earliest = alarm;
        return earliest;
    }

    void delivered() const
    {
        if (m_afterRing)
            m_afterRing();
    }

    std::function<void()> m_afterRing;
    std::int64_t m_nowUs = 0;
    std::uint64_t m_nextOrder = 0;
    int m_rings = 0;
    std::vector<HandAlarm*> m_alarms;
};
