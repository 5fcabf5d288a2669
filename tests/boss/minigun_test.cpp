#include "weapons_fixture.h"

#include <vector>

namespace {

constexpr int kCountMs = 120;
constexpr int kFallMs = 60;
constexpr float kSprayHeight = 1215;
constexpr float kShipUnderSpray = 3500; // spans 3500..4060: the spray leaves at 3675 + 120

class Minigun : public BossWeapons {
protected:
    Minigun() { b.tmrMiniGun.Enabled = true; }

    // A spray already falling, its bottom-left corner at (x, y) after its next step.
    void fallingTo(float x, float y)
    {
        b.tmrMiniGun.Enabled = false;
        b.Spray.Left = x;
        b.Spray.Top = y - kSprayHeight - 50;
        b.DischargeW.Caption = "0";
    }
};

// "3", "2", "1", then on the third tick "0": the spray leaves 120 right of the muzzle's left
// edge, level with its top, and the fall takes over.
TEST_F(Minigun, ThirdCountdownTickReleasesTheSprayAtTheMuzzle)
{
    advance(2 * kCountMs);
    EXPECT_EQ(b.DischargeW.Caption, "1");
    EXPECT_FALSE(b.tmrDischarge.Enabled);
    EXPECT_EQ(b.Spray.Top, 4320);

    advance(kCountMs);
    EXPECT_EQ(b.DischargeW.Caption, "0");
    EXPECT_TRUE(b.Spray.Visible);
    EXPECT_EQ(b.Spray.Left, 3795);
    EXPECT_EQ(b.Spray.Top, 3120);
    EXPECT_TRUE(b.tmrDischarge.Enabled);
    EXPECT_FALSE(b.tmrMiniGun.Enabled);
}

// The muzzle's state is never asked: shot away, it still fires from where the boss carried it.
TEST_F(Minigun, ADestroyedMuzzleStillFiresFromItsPlace)
{
    b.BossPart(57).Visible = false;
    b.BossPart(57).Left = 5000;
    advance(3 * kCountMs);
    EXPECT_TRUE(b.Spray.Visible);
    EXPECT_EQ(b.Spray.Left, 5120);
}

// From the muzzle the spray's bottom edge is inside the ship on ticks 34 to 46 only: 130 points,
// one life; it passes the floor on tick 48 and the countdown starts again from "3".
TEST_F(Minigun, SprayFromTheMuzzleHits13TimesAndLeavesOnTick48)
{
    b.Player.Left = kShipUnderSpray;
    advance(3 * kCountMs);
    ASSERT_TRUE(b.tmrDischarge.Enabled);

    std::vector<int> hitTicks;
    for (int k = 1; k <= 48; ++k) {
        const std::string before = shields();
        advance(kFallMs);
        if (shields() != before)
            hitTicks.push_back(k);
        ASSERT_EQ(b.tmrDischarge.Enabled, k < 48) << "tick " << k;
    }
    std::vector<int> expected;
    for (int k = 34; k <= 46; ++k)
        expected.push_back(k);
    EXPECT_EQ(hitTicks, expected);
    EXPECT_EQ(lives(), "4");
    EXPECT_EQ(shields(), "70");
    EXPECT_FALSE(b.Spray.Visible);
    EXPECT_EQ(b.DischargeW.Caption, "3");
    EXPECT_TRUE(b.tmrMiniGun.Enabled);
}

// A bottom edge exactly on the floor line keeps falling; the next step takes the spray out and
// re-arms the countdown in that same tick.
TEST_F(Minigun, SprayOnTheFloorLineFallsOnePastIt)
{
    b.Player.Left = 0;
    fallingTo(1000, 6720);
    b.tmrDischarge.Enabled = true;
    tick(&boss::Boss::tmrDischarge_Timer);
    EXPECT_TRUE(b.tmrDischarge.Enabled);
    EXPECT_TRUE(b.Spray.Visible);
    EXPECT_EQ(b.DischargeW.Caption, "0");
    tick(&boss::Boss::tmrDischarge_Timer);
    EXPECT_FALSE(b.tmrDischarge.Enabled);
    EXPECT_TRUE(b.tmrMiniGun.Enabled);
    EXPECT_FALSE(b.Spray.Visible);
    EXPECT_EQ(b.DischargeW.Caption, "3");
}

class SprayCorner : public Minigun, public ::testing::WithParamInterface<CornerCase> {};

// Only a bottom-left corner strictly inside the ship costs 10; on any edge it costs nothing.
TEST_P(SprayCorner, CostsTenOnlyStrictlyInsideTheShip)
{
    const CornerCase c = GetParam();
    b.Player.Left = kShipLeft;
    fallingTo(c.x, c.y);
    tick(&boss::Boss::tmrDischarge_Timer);
    EXPECT_EQ(shields(), c.hits ? "90" : "100") << c.x << ", " << c.y;
}

INSTANTIATE_TEST_SUITE_P(Edges, SprayCorner, ::testing::ValuesIn(kCornersOnTheShip));

// Shooting the gate away stops the count where it stands, for good.
TEST_F(Minigun, ADestroyedGateFreezesTheCountdown)
{
    advance(kCountMs);
    ASSERT_EQ(b.DischargeW.Caption, "2");
    b.BossPart(48).Visible = false;
    advance(100 * kCountMs);
    EXPECT_EQ(b.DischargeW.Caption, "2");
    EXPECT_TRUE(b.tmrMiniGun.Enabled);
    EXPECT_FALSE(b.tmrDischarge.Enabled);
    EXPECT_EQ(b.Spray.Top, 4320);
}

// A spray already falling when the gate goes finishes its fall; the count then stays at "3".
TEST_F(Minigun, ASprayInFlightFinishesAfterTheGateIsDestroyed)
{
    advance(3 * kCountMs + kFallMs);
    b.BossPart(48).Visible = false;
    advance(47 * kFallMs);
    EXPECT_FALSE(b.Spray.Visible);
    EXPECT_EQ(b.DischargeW.Caption, "3");
    advance(100 * kCountMs);
    EXPECT_EQ(b.DischargeW.Caption, "3");
    EXPECT_FALSE(b.Spray.Visible);
    EXPECT_FALSE(b.tmrDischarge.Enabled);
}

} // namespace
