#include "support/hand_clock.h"

#include "runtime/core/key_codes.h"
#include "runtime/realtime/pad_keys.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

struct Step {
    std::int64_t atMs;
    unsigned held;
};

// The keys a pad sends, as "ms key", "ms r key" for a repeat.
struct SentKeys {
    HandClock clock;
    std::vector<std::string> sent;
    rt::PadKeys pad{
        clock, {.delayMs = 500, .intervalMs = 40}, [this](int key, int shift, bool repeat) {
            sent.push_back(std::to_string(clock.nowUs() / 1000) + (repeat ? " r" : " ") +
                           std::to_string(key) + (shift ? "+shift" : ""));
        }};
};

// A held button sends its key at once, again after the delay, then at the rate, each button on
// its own; Up, Down and Start send theirs once.
TEST(PadKeys, HeldButtonsRepeatLikeHeldKeys)
{
    SentKeys keys;
    const Step steps[] = {
        {0, rt::kPadRight},
        {520, rt::kPadRight | rt::kPadSouth},
        {600, rt::kPadSouth | rt::kPadUp},
        {1050, rt::kPadDown | rt::kPadStart},
        {5000, 0},
    };
    for (const Step& step : steps) {
        keys.clock.advance(step.atMs - keys.clock.nowUs() / 1000);
        keys.pad.setHeld(step.held);
    }
    EXPECT_EQ(keys.sent,
              (std::vector<std::string>{"0 39", "500 r39", "520 32", "540 r39", "580 r39",
                                        "600 9+shift", "1020 r32", "1050 9", "1050 80"}));
}

// A button held while the player was away is neither heard nor repeated until it is released.
TEST(PadKeys, AButtonHeldThroughALetGoCountsOnlyOnceReleased)
{
    SentKeys keys;
    keys.pad.setHeld(rt::kPadRight);
    keys.pad.letGo();
    keys.clock.advance(1000);
    keys.pad.setHeld(rt::kPadRight | rt::kPadSouth);
    keys.pad.setHeld(rt::kPadSouth);
    keys.pad.setHeld(rt::kPadSouth | rt::kPadRight);
    EXPECT_EQ(keys.sent, (std::vector<std::string>{"0 39", "1000 32", "1000 39"}));
}

} // namespace
