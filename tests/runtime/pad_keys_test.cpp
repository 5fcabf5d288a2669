#include "runtime/alarm_clock.h"
#include "runtime/key_codes.h"
#include "runtime/pad_keys.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

// One alarm at a time is all PadKeys asks for: time moves by hand and rings it when due.
class HandClock final : public rt::AlarmClock {
public:
    struct HandAlarm final : rt::Alarm {
        explicit HandAlarm(std::function<void()> ring) : ring(std::move(ring)) {}
        void start(int ms) override { due = *now + std::int64_t{ms} * 1000; }
        void stop() override { due.reset(); }
        bool isActive() const override { return due.has_value(); }
        std::function<void()> ring;
        std::optional<std::int64_t> due;
        const std::int64_t* now = nullptr;
    };
    std::int64_t nowUs() const override { return m_now; }
    std::unique_ptr<rt::Alarm> alarm(std::function<void()> ring) override
    {
        auto made = std::make_unique<HandAlarm>(std::move(ring));
        made->now = &m_now;
        m_alarm = made.get();
        return made;
    }
    void advanceTo(std::int64_t ms)
    {
        while (m_alarm->due && *m_alarm->due <= ms * 1000) {
            m_now = *m_alarm->due;
            m_alarm->due.reset();
            m_alarm->ring();
        }
        m_now = ms * 1000;
    }

private:
    std::int64_t m_now = 0;
    HandAlarm* m_alarm = nullptr;
};

struct Step {
    std::int64_t atMs;
    unsigned held;
};

// A held button sends its key at once, again after the delay, then at the rate, each button on
// its own; Up, Down and Start send theirs once.
TEST(PadKeys, HeldButtonsRepeatLikeHeldKeys)
{
    HandClock clock;
    std::vector<std::string> sent;
    rt::PadKeys pad(
        clock, {.delayMs = 500, .intervalMs = 40}, [&](int key, int shift, bool repeat) {
            sent.push_back(std::to_string(clock.nowUs() / 1000) + (repeat ? " r" : " ") +
                           std::to_string(key) + (shift ? "+shift" : ""));
        });
    const Step steps[] = {
        {0, rt::kPadRight},
        {520, rt::kPadRight | rt::kPadSouth},
        {600, rt::kPadSouth | rt::kPadUp},
        {1050, rt::kPadDown | rt::kPadStart},
        {5000, 0},
    };
    for (const Step& step : steps) {
        clock.advanceTo(step.atMs);
        pad.setHeld(step.held);
    }
    EXPECT_EQ(sent, (std::vector<std::string>{"0 39", "500 r39", "520 32", "540 r39", "580 r39",
                                              "600 9+shift", "1020 r32", "1050 9", "1050 80"}));
}

} // namespace
