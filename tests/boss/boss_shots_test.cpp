#include "support/game_harness.h"

namespace {

class BossShots : public GameHarness {
protected:
    boss::Boss& b = form<boss::Boss>();

    BossShots() { b.tmrBossRight.Enabled = false; } // the boss holds still

    // Puts shot i where one tick's climb brings its top-left corner to (x, y), and ticks.
    void shootTo(int i, float x, float y)
    {
        b.Lasers(i).Left = x;
        b.Lasers(i).Top = y + 50;
        b.tmrfire_Timer();
    }
    int standing() const
    {
        int count = 0;
        for (int j = 0; j <= 72; ++j)
            count += b.BossPart(j).Visible ? 1 : 0;
        return count;
    }
};

struct EdgeCase {
    const char* name;
    float x, y;
    int part; // the part shot away, or -1
};

class BossShotEdges : public BossShots, public ::testing::WithParamInterface<EdgeCase> {};

// A shot hits only with its top-left corner strictly inside a part: on an edge it flies on. A hit
// takes the part, pays 200 and parks the shot at its slot's place in the strip: slot 7 at 945.
TEST_P(BossShotEdges, HitsOnlyStrictlyInside)
{
    const EdgeCase& c = GetParam();
    shootTo(7, c.x, c.y);
    if (c.part < 0) {
        EXPECT_EQ(standing(), 73);
        EXPECT_EQ(b.Lasers(7).Top, c.y);
        EXPECT_EQ(b.Score.Caption, "0");
        return;
    }
    EXPECT_FALSE(b.BossPart(c.part).Visible);
    EXPECT_EQ(standing(), 72);
    EXPECT_EQ(b.Lasers(7).Top, 6840);
    EXPECT_EQ(b.Lasers(7).Left, 945);
    EXPECT_EQ(b.Score.Caption, "200");
}

// Parts 22, 24 and 70 have these edges free of neighbours; so have the parts that are not 615
// square: 55 (735 wide, to 1455), 64 (255 wide, to 1575) and 69 (375 high, to 4575).
INSTANTIATE_TEST_SUITE_P(Boss, BossShotEdges,
                         ::testing::Values(EdgeCase{"OnLeftEdge", 2160, 1500, -1},
                                           EdgeCase{"InsideLeft", 2161, 1500, 24},
                                           EdgeCase{"OnTopEdge", 600, 1320, -1},
                                           EdgeCase{"InsideTop", 600, 1321, 22},
                                           EdgeCase{"OnRightEdge", 1935, 4500, -1},
                                           EdgeCase{"InsideRight", 1934, 4500, 70},
                                           EdgeCase{"OnBottomEdge", 1700, 4815, -1},
                                           EdgeCase{"InsideBottom", 1700, 4814, 70},
                                           EdgeCase{"OnRightEdgeOfAWidePart", 1455, 3400, -1},
                                           EdgeCase{"InsideRightOfAWidePart", 1454, 3400, 55},
                                           EdgeCase{"OnRightEdgeOfANarrowPart", 1575, 3900, -1},
                                           EdgeCase{"InsideRightOfANarrowPart", 1574, 3900, 64},
                                           EdgeCase{"OnBottomEdgeOfAShortPart", 1000, 4575, -1},
                                           EdgeCase{"InsideBottomOfAShortPart", 1000, 4574, 69}),
                         [](const auto& info) { return std::string(info.param.name); });

// Parts 0 and 1 overlap from 1560 to 1575: a shot there takes part 0 only and is parked.
TEST_F(BossShots, OverlapTakesTheLowerIndexOnly)
{
    shootTo(3, 1565, 500);
    EXPECT_FALSE(b.BossPart(0).Visible);
    EXPECT_TRUE(b.BossPart(1).Visible);
    EXPECT_EQ(b.Score.Caption, "200");
    EXPECT_EQ(b.Lasers(3).Left, 405);
}

// The core sets off the blast: rings shown, no score, and the shot flies on through its place.
TEST_F(BossShots, CoreHitShowsTheRingsAndLeavesTheShotInFlight)
{
    shootTo(0, 4200, 500);
    EXPECT_FALSE(b.BossPart(boss::kCore).Visible);
    EXPECT_TRUE(b.tmrNuke.Enabled);
    for (int c = 0; c < 3; ++c)
        EXPECT_TRUE(b.Ring(c).Visible) << c;
    EXPECT_EQ(b.Score.Caption, "0");
    EXPECT_EQ(b.Lasers(0).Top, 500);
    EXPECT_EQ(standing(), 72);
}

// A shot that reaches the top parks on the tick it passes 100, not on the one that lands on it.
TEST_F(BossShots, ShotOverAClearColumnParksOnItsHundredAndNineteenthTick)
{
    b.Player.Left = 8500; // right of every part
    press(shown<boss::Boss>(), kSpace);
    for (int tick = 1; tick <= 118; ++tick)
        b.tmrfire_Timer();
    EXPECT_EQ(b.Lasers(0).Top, 100);
    b.tmrfire_Timer();
    EXPECT_EQ(b.Lasers(0).Top, 6840);
    EXPECT_EQ(b.Lasers(0).Left, 0);
}

} // namespace
