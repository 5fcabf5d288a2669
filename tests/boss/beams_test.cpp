#include "weapons_fixture.h"

namespace {

constexpr int kChargeMs = 11 * 180; // a full charge: 11 ticks of tmrbeamwait
constexpr int kBeamTickMs = 200;
constexpr int kFiringMs = 6 * kBeamTickMs;

// Hung on the emitters from the layout, beam1's tip (its right edge) stands at 120 + 615 + 3015
// and beam2's tip (its left edge) at 7800 - 2895.
constexpr float kBeam1Tip = 3750;
constexpr float kBeam2Tip = 4905;
constexpr float kShipUnderBeam1 = 3500; // spans 3500..4060: beam1's tip only

class TwinBeams : public BossWeapons {
protected:
    TwinBeams() { b.tmrbeamwait.Enabled = true; }

    // Moves an emitter so that its beam's tip, once hung, stands at x.
    void putTipAt(int beam, float x)
    {
        if (beam == 1)
            b.BossPart(54).Left = x - b.beam1.Width - b.BossPart(54).Width;
        else
            b.BossPart(61).Left = x + b.beam2.Width;
    }
    void startFiring()
    {
        b.tmrbeamwait.Enabled = false;
        b.beam1.Visible = true;
        b.beam2.Visible = true;
    }
};

// Six hits from "100": the fourth empties the shields (one life, back to "100"), the firing
// ends with "50". The charge shows the beam where it stood; the first firing tick hangs it.
TEST_F(TwinBeams, ShipUnderATipForAWholeFiringIsHitSixTimes)
{
    b.Player.Left = kShipUnderBeam1;
    advance(kChargeMs);
    ASSERT_TRUE(b.tmrBeam.Enabled);
    EXPECT_FALSE(b.tmrbeamwait.Enabled);
    EXPECT_TRUE(b.beam1.Visible);
    EXPECT_TRUE(b.beam2.Visible);
    EXPECT_EQ(b.beam1.Left, 720);
    EXPECT_EQ(shields(), "100");

    advance(kBeamTickMs);
    EXPECT_EQ(b.beam1.Left + b.beam1.Width, kBeam1Tip);
    EXPECT_EQ(b.beam1.Top, 3735);
    EXPECT_EQ(b.beam2.Left, kBeam2Tip);
    EXPECT_EQ(shields(), "75");

    advance(kFiringMs - kBeamTickMs);
    EXPECT_EQ(shields(), "50");
    EXPECT_EQ(lives(), "4");
    EXPECT_FALSE(b.beam1.Visible);
    EXPECT_FALSE(b.beam2.Visible);
    EXPECT_TRUE(b.tmrbeamwait.Enabled);
    EXPECT_FALSE(b.tmrBeam.Enabled);
}

// The damage is per tick, not per beam.
TEST_F(TwinBeams, BothBeamsOverTheShipCost25Not50)
{
    b.Player.Left = 4000;
    putTipAt(1, 4200);
    putTipAt(2, 4300);
    startFiring();
    tick(&boss::Boss::tmrBeam_Timer);
    ASSERT_EQ(b.beam1.Left + b.beam1.Width, 4200);
    ASSERT_EQ(b.beam2.Left, 4300);
    EXPECT_EQ(shields(), "75");
}

struct TipCase {
    int beam;
    float tip; // the ship spans 4000..4560
    bool hits;
};

class BeamTipOnShipEdge : public TwinBeams, public ::testing::WithParamInterface<TipCase> {};

// Only a tip strictly inside the ship's span hits; a tip on either edge misses.
TEST_P(BeamTipOnShipEdge, HitsOnlyStrictlyInside)
{
    const TipCase c = GetParam();
    b.Player.Left = 4000;
    putTipAt(c.beam, c.tip);
    startFiring();
    tick(&boss::Boss::tmrBeam_Timer);
    EXPECT_EQ(shields(), c.hits ? "75" : "100");
}

INSTANTIATE_TEST_SUITE_P(Edges, BeamTipOnShipEdge,
                         ::testing::Values(TipCase{1, 4000, false}, TipCase{1, 4001, true},
                                           TipCase{1, 4560, false}, TipCase{1, 4559, true},
                                           TipCase{2, 4000, false}, TipCase{2, 4001, true},
                                           TipCase{2, 4560, false}, TipCase{2, 4559, true}));

// charge2 copies Charge before the reset, so it holds the last count over each hand-over.
TEST_F(TwinBeams, Charge2KeepsTheFinalCountAtEachHandOver)
{
    b.Player.Left = 0;
    advance(kChargeMs - 180);
    EXPECT_EQ(b.Charge.Caption, "10");
    EXPECT_EQ(b.charge2.Caption, "10");
    advance(180);
    EXPECT_EQ(b.Charge.Caption, "0");
    EXPECT_EQ(b.charge2.Caption, "11");
    advance(kBeamTickMs);
    EXPECT_EQ(b.Charge.Caption, "1");
    EXPECT_EQ(b.charge2.Caption, "1");
    advance(kFiringMs - kBeamTickMs);
    EXPECT_EQ(b.Charge.Caption, "0");
    EXPECT_EQ(b.charge2.Caption, "6");
    advance(180);
    EXPECT_EQ(b.Charge.Caption, "1");
    EXPECT_EQ(b.charge2.Caption, "1");
}

// A beam shown at the start of a firing fires it out, following its destroyed emitter; the
// next charge shows only the beam whose emitter still stands.
TEST_F(TwinBeams, BeamKeepsFiringAfterItsEmitterIsDestroyed)
{
    b.Player.Left = kShipUnderBeam1;
    advance(kChargeMs + kBeamTickMs);
    ASSERT_EQ(shields(), "75");
    b.BossPart(54).Visible = false;
    b.BossPart(54).Left = b.BossPart(54).Left + 100; // the boss carries the destroyed part along
    advance(kBeamTickMs);
    EXPECT_TRUE(b.beam1.Visible);
    EXPECT_EQ(b.beam1.Left + b.beam1.Width, kBeam1Tip + 100);
    EXPECT_EQ(shields(), "50");
    advance(kFiringMs - 2 * kBeamTickMs);
    EXPECT_EQ(shields(), "50");
    EXPECT_EQ(lives(), "4");

    advance(kChargeMs);
    ASSERT_TRUE(b.tmrBeam.Enabled);
    EXPECT_FALSE(b.beam1.Visible);
    EXPECT_TRUE(b.beam2.Visible);
    advance(kFiringMs);
    EXPECT_EQ(shields(), "50"); // beam1's tip was over the ship, but beam1 was not shown
}

// With both emitters gone the charge stands still and no beam fires again.
TEST_F(TwinBeams, BothEmittersDestroyedFreezeTheCharge)
{
    advance(5 * 180);
    b.BossPart(54).Visible = false;
    b.BossPart(61).Visible = false;
    advance(10 * kChargeMs);
    EXPECT_EQ(b.Charge.Caption, "5");
    EXPECT_EQ(b.charge2.Caption, "5");
    EXPECT_TRUE(b.tmrbeamwait.Enabled);
    EXPECT_FALSE(b.tmrBeam.Enabled);
    EXPECT_FALSE(b.beam1.Visible);
    EXPECT_FALSE(b.beam2.Visible);
}

} // namespace
