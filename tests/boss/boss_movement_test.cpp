#include "support/game_harness.h"

#include <vector>

namespace {

constexpr std::int64_t kBossTickMs = 400;

class BossMovement : public GameHarness {
protected:
    BossMovement()
    {
        // The weapons stay quiet: a long sweep must not end the run under a beam.
        for (rt::Timer* weapon : {&b.tmrbeamwait, &b.tmrMiniGun, &b.tmrHoming})
            weapon->Enabled = false;
    }

    boss::Boss& b = form<boss::Boss>();

    // Moves the whole body so that part 47 stands at `left`, keeping its shape.
    void placeBody(float left)
    {
        const float shift = left - b.BossPart(47).Left;
        for (int i = 0; i <= 72; ++i)
            b.BossPart(i).Left = b.BossPart(i).Left + shift;
    }
    void expectShapeKept(float left47)
    {
        EXPECT_EQ(b.BossPart(47).Left, left47);
        EXPECT_EQ(b.BossPart(68).Left - b.BossPart(47).Left, 7800 - 3360);
        EXPECT_EQ(b.BossPart(43).Left - b.BossPart(47).Left, 120 - 3360);
    }
};

struct TurnCase {
    const char* name;
    std::vector<int> shotAway;
    int rightTicks; // the tick of tmrBossRight on which the boss turns
};

class BossTurn : public BossMovement, public ::testing::WithParamInterface<TurnCase> {};

// The turn comes on the tick an intact part passes 9000, strictly; a destroyed part past the line
// does not count, so losing the right-hand column widens the travel.
TEST_P(BossTurn, TurnsRightToLeftOnTheTickAnIntactPartPasses9000)
{
    for (const int part : GetParam().shotAway)
        b.BossPart(part).Visible = false;
    advance(kBossTickMs * (GetParam().rightTicks - 1));
    EXPECT_TRUE(b.tmrBossRight.Enabled);
    EXPECT_FALSE(b.tmrBossLeft.Enabled);
    advance(kBossTickMs);
    EXPECT_FALSE(b.tmrBossRight.Enabled);
    EXPECT_TRUE(b.tmrBossLeft.Enabled);
    // Every part moved on the tick of the turn too, the sights with them.
    EXPECT_EQ(b.BossPart(0).Left, 960 + 25 * GetParam().rightTicks);
    EXPECT_EQ(b.BossPart(72).Left, 7200 + 25 * GetParam().rightTicks);
    EXPECT_EQ(b.Lsight1.Left, 3120 + 25 * GetParam().rightTicks);
}

INSTANTIATE_TEST_SUITE_P(
    Boss, BossTurn,
    ::testing::Values(TurnCase{"Whole", {}, 49}, // 53, 61 and 68 reach 9000 after 48 ticks
                      TurnCase{"RightColumnShotAway", {53, 61, 68}, 53}), // part 42 from 7680
    [](const auto& info) { return std::string(info.param.name); });

// From the first turn the left-most parts (at 1345) pass below 100 on the 50th left tick.
TEST_F(BossMovement, TurnsBackOnTheFiftiethLeftTick)
{
    advance(kBossTickMs * 49);
    ASSERT_TRUE(b.tmrBossLeft.Enabled);
    ASSERT_EQ(b.BossPart(43).Left, 1345);
    advance(kBossTickMs * 49);
    EXPECT_EQ(b.BossPart(43).Left, 120);
    EXPECT_TRUE(b.tmrBossLeft.Enabled);
    advance(kBossTickMs);
    EXPECT_EQ(b.BossPart(43).Left, 95);
    EXPECT_TRUE(b.tmrBossRight.Enabled);
    EXPECT_FALSE(b.tmrBossLeft.Enabled);
}

struct WrapCase {
    const char* name;
    bool movingRight;
    float left47;      // where part 47 stands before the tick
    float left47After; // and after it
};

class BossWrap : public BossMovement, public ::testing::WithParamInterface<WrapCase> {};

// Past the window's outer width (9990) the boss is re-placed with part 47 at -100 before the step;
// so is a boss whose part 68 stands left of 0, but only when moving right. The sights just step.
TEST_P(BossWrap, ReplacesTheBodyBeforeTheStep)
{
    const WrapCase& c = GetParam();
    b.tmrBossRight.Enabled = false;
    placeBody(c.left47);
    if (c.movingRight)
        b.tmrBossRight_Timer();
    else
        b.tmrBossLeft_Timer();
    expectShapeKept(c.left47After);
    EXPECT_EQ(b.Lsight1.Left, 3120 + (c.movingRight ? 25 : -25));
    EXPECT_EQ(b.Lsight2.Left, 5400 + (c.movingRight ? 25 : -25));
}

INSTANTIATE_TEST_SUITE_P(Boss, BossWrap,
                         ::testing::Values(WrapCase{"RightPastTheEdge", true, 9991, -75},
                                           WrapCase{"RightOnTheEdge", true, 9990, 10015},
                                           WrapCase{"LeftPastTheEdge", false, 10000, -125},
                                           WrapCase{"RightWithPart68PastZero", true, -4441, -75},
                                           WrapCase{"RightWithPart68AtZero", true, -4440, -4415},
                                           WrapCase{"LeftWithPart68PastZero", false, -4441, -4466}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
