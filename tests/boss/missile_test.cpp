#include "weapons_fixture.h"

namespace {

constexpr int kFlightTickMs = 50;
constexpr std::int64_t kHomingTickUs = rt::Scheduler::kShortestPeriodUs;
constexpr float kMissileHeight = 615;
constexpr float kShipUnderLeftSight = 3000; // spans 3000..3560, holding Lsight1 at 3120

class HomingMissile : public BossWeapons {
protected:
    // A missile in flight whose bottom-left corner stands at (x, y) after its next step; it comes
    // from the side that steers it onto x.
    void flyingTo(float x, float y)
    {
        const float shipCentre = b.Player.Left + b.Player.Width / 2;
        b.Missile(0).Left = shipCentre > x - 100 ? x - 100 : x + 100;
        b.Missile(0).Top = y - kMissileHeight - 50;
        b.Missile(0).Visible = true;
        b.tmrMissiles.Enabled = true;
    }
    void flightTick() { tick(&boss::Boss::tmrMissiles_Timer); }
    bool inFlight() const { return b.Missile(0).Visible && b.tmrMissiles.Enabled; }
    bool waiting() const
    {
        return !b.Missile(0).Visible && b.tmrHoming.Enabled && !b.tmrMissiles.Enabled;
    }
};

// The left edge chases the ship's centre; a tie steers left.
TEST_F(HomingMissile, SteersLeftWhenItsLeftEdgeEqualsTheShipsCentre)
{
    b.Player.Left = kShipLeft; // centre 4280
    b.Missile(0).Visible = true;
    b.Missile(0).Left = 4280;
    b.Missile(0).Top = 1000;
    flightTick();
    EXPECT_EQ(b.Missile(0).Left, 4180);
    EXPECT_EQ(b.Missile(0).Top, 1050);

    b.Missile(0).Left = 4279;
    flightTick();
    EXPECT_EQ(b.Missile(0).Left, 4379);
}

class MissileCorner : public HomingMissile, public ::testing::WithParamInterface<CornerCase> {};

// Only a bottom-left corner strictly inside the ship hits: the missile goes, 50 points with it,
// and the launcher takes over in the same tick.
TEST_P(MissileCorner, HitsOnlyStrictlyInsideTheShip)
{
    const CornerCase c = GetParam();
    b.Player.Left = kShipLeft;
    flyingTo(c.x, c.y);
    flightTick();
    ASSERT_EQ(b.Missile(0).Left, c.x);
    EXPECT_EQ(shields(), c.hits ? "50" : "100") << c.x << ", " << c.y;
    EXPECT_EQ(waiting(), c.hits);
    EXPECT_EQ(inFlight(), !c.hits);
}

INSTANTIATE_TEST_SUITE_P(Edges, MissileCorner, ::testing::ValuesIn(kCornersOnTheShip));

// The ship is tested before the shots, and the hit is paid once.
TEST_F(HomingMissile, HitOnTheShipUnderAShotCosts50Once)
{
    b.Player.Left = kShipLeft;
    b.Lasers(3).Left = 4200;
    b.Lasers(3).Top = 6200;
    flyingTo(4280, 6300);
    flightTick();
    EXPECT_EQ(shields(), "50");
    EXPECT_EQ(lives(), "5");
    EXPECT_TRUE(waiting());
}

struct ShotCase {
    const char* what;
    int slot;
    float left, top; // the shot's box is 135 x 375; the missile's corner stands at (1000, 3000)
    bool visible;
    bool removes;
};

class ShotDownMissile : public HomingMissile, public ::testing::WithParamInterface<ShotCase> {};

// Only a shot's box holding the missile's bottom-left corner takes it down, shown or not.
TEST_P(ShotDownMissile, OnlyWhenAShotHoldsItsBottomLeftCorner)
{
    const ShotCase c = GetParam();
    b.Player.Left = 8000;
    b.Lasers(c.slot).Left = c.left;
    b.Lasers(c.slot).Top = c.top;
    b.Lasers(c.slot).Visible = c.visible;
    flyingTo(1000, 3000);
    flightTick();
    EXPECT_EQ(waiting(), c.removes) << c.what;
    EXPECT_EQ(shields(), "100");
    EXPECT_EQ(b.Lasers(c.slot).Left, c.left) << "the shot flies on";
}

INSTANTIATE_TEST_SUITE_P(
    Shots, ShotDownMissile,
    ::testing::Values(ShotCase{"holds the corner", 0, 950, 2800, true, true},
                      ShotCase{"the last slot holds it", 9, 950, 2800, true, true},
                      ShotCase{"a hidden shot holds it", 4, 950, 2800, false, true},
                      ShotCase{"over the missile's middle", 2, 1050, 2600, true, false},
                      ShotCase{"over its bottom-right corner", 2, 1200, 2800, true, false},
                      ShotCase{"corner on the shot's left edge", 5, 1000, 2800, true, false},
                      ShotCase{"corner on the shot's bottom edge", 5, 950, 2625, true, false}));

// A bottom exactly on the floor line flies on; past it the missile goes and the launcher is
// re-armed in the same tick.
TEST_F(HomingMissile, LeavesOnlyOncePastTheFloorLine)
{
    b.Player.Left = 8000;
    flyingTo(1000, 6720);
    flightTick();
    EXPECT_TRUE(inFlight());
    flightTick();
    EXPECT_TRUE(waiting());
    EXPECT_EQ(shields(), "100");
}

// The missile leaves from the middle of block 56's top edge, (2782.5, 3120), even with the block
// shot away, while any part of its launcher stands.
TEST_F(HomingMissile, LaunchesFromTheLaunchPointWhileAnyLauncherPartStands)
{
    b.Player.Left = kShipUnderLeftSight;
    b.BossPart(56).Visible = false;
    b.BossPart(46).Visible = false;
    b.tmrHoming.Enabled = true;
    advanceUs(kHomingTickUs);
    EXPECT_TRUE(inFlight());
    EXPECT_FALSE(b.tmrHoming.Enabled);
    EXPECT_EQ(b.Missile(0).Left, 2782.5f);
    EXPECT_EQ(b.Missile(0).Top, 3120);
}

struct SightCase {
    float shipLeft; // Lsight1 stands at 3120; the ship is 560 wide
    bool launches;
};

class ShipUnderSight : public HomingMissile, public ::testing::WithParamInterface<SightCase> {};

// The ship is under a sight only while the sight lies strictly between its edges.
TEST_P(ShipUnderSight, OnlyStrictlyBetweenItsEdges)
{
    b.Player.Left = GetParam().shipLeft;
    tick(&boss::Boss::tmrHoming_Timer);
    EXPECT_EQ(b.Missile(0).Visible, GetParam().launches);
}

INSTANTIATE_TEST_SUITE_P(Edges, ShipUnderSight,
                         ::testing::Values(SightCase{3120, false}, SightCase{3119, true},
                                           SightCase{2560, false}, SightCase{2561, true}));

// A spent side puts its sight out the first time the ship stands under it and never fires;
// the other side goes on.
TEST_F(HomingMissile, SpentSideHidesItsSightAndNeverFires)
{
    for (int part : {45, 46, 56})
        b.BossPart(part).Visible = false;
    b.Player.Left = kShipUnderLeftSight;
    b.tmrHoming.Enabled = true;
    advance(5000);
    EXPECT_FALSE(b.Lsight1.Visible);
    EXPECT_TRUE(b.Lsight2.Visible);
    EXPECT_TRUE(waiting());

    b.Player.Left = 5200;
    advanceUs(kHomingTickUs);
    EXPECT_TRUE(inFlight());
    EXPECT_EQ(b.Missile(0).Left, 5782.5f);
}

// Each missile flies 46 steps onto a ship that stays put; the next leaves on the first
// launcher tick after it is gone.
TEST_F(HomingMissile, ShipStayingUnderASightDrawsMissileAfterMissile)
{
    b.Player.Left = kShipUnderLeftSight;
    b.tmrHoming.Enabled = true;
    int launches = 0;
    std::int64_t goneAt = -1;
    const std::int64_t end = 10'000'000;
    while (runtime.scheduler().now() < end) {
        const bool flying = b.Missile(0).Visible;
        advanceUs(*runtime.scheduler().nextDue() - runtime.scheduler().now());
        const std::int64_t now = runtime.scheduler().now();
        if (!flying && b.Missile(0).Visible) {
            ++launches;
            if (goneAt >= 0) {
                EXPECT_EQ(now - goneAt, kHomingTickUs) << "launch " << launches;
            }
        }
        if (flying && !b.Missile(0).Visible)
            goneAt = now;
    }
    // Launch to hit takes 46 x 50 ms, so a cycle is 2.315625 s: five launches, four hits.
    EXPECT_EQ(launches, 5);
    EXPECT_EQ(lives(), "3");
    EXPECT_EQ(shields(), "100");
}

} // namespace
