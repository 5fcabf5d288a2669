#include "runtime/random.h"
#include "runtime/runtime.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// The draws follow x <- (1140671485 x + 12820163) mod 2^24 from 327680, each draw x / 2^24.
TEST(RandomDraws, FollowTheGeneratorFromItsFixedStart)
{
    rt::Random random;
    EXPECT_NEAR(random.next(), 0.7055475, 1e-7);

    rt::Random fresh;
    std::uint64_t x = 327680;
    for (int i = 0; i < 1000; ++i) {
        x = (1140671485 * x + 12820163) % (1u << 24);
        ASSERT_EQ(fresh.next(), static_cast<float>(x) / 16777216.0f) << "draw " << i;
    }
}

// Never reseeded: every run, and every generator in it, draws the same sequence.
TEST(RandomDraws, TwoRunsDrawTheSameSequence)
{
    rt::Runtime first;
    rt::Runtime second;
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(first.random().next(), second.random().next()) << "draw " << i;
}

} // namespace
