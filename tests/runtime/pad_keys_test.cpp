#include "support/hand_clock.h"

#include "runtime/key_codes.h"
#include "runtime/pad_keys.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

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
        clock.advance(step.atMs - clock.nowUs() / 1000);
        pad.setHeld(step.held);
    }
    EXPECT_EQ(sent, (std::vector<std::string>{"0 39", "500 r39", "520 32", "540 r39", "580 r39",
                                              "600 9+shift", "1020 r32", "1050 9", "1050 80"}));
}

} // namespace
