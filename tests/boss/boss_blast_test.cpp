#include "support/game_harness.h"

namespace {

// The blast centre on the boss window's outer size, 9990 x 7815.
constexpr float kCentreX = 9990.0f / 2;
constexpr float kCentreY = 7815.0f / 6;

class BossBlast : public GameHarness {
protected:
    wave::Form1& f = Form1();
    boss::Boss& b = form<boss::Boss>();

    BossBlast() { b.tmrBossRight.Enabled = false; }

    void blastTick()
    {
        handle([this] { b.tmrNuke_Timer(); });
    }
    void expectCentred(const rt::Shape& ring)
    {
        EXPECT_FLOAT_EQ(ring.Left + ring.Width / 2, kCentreX) << ring.displayName();
        EXPECT_FLOAT_EQ(ring.Top + ring.Height / 2, kCentreY) << ring.displayName();
    }
};

// One blast tick after the core is hit the outer ring is the layout's 240 x 75 grown by 500 x 250;
// the inner rings are a half and a sixth of it, all about one centre.
TEST_F(BossBlast, FirstTickSizesTheRingsAboutTheCentre)
{
    b.Lasers(0).Left = 4200;
    b.Lasers(0).Top = 550;
    advanceUs(rt::Scheduler::kShortestPeriodUs);
    ASSERT_TRUE(b.tmrNuke.Enabled);
    advance(100);
    EXPECT_EQ(b.Ring(0).Width, 740);
    EXPECT_EQ(b.Ring(0).Height, 325);
    EXPECT_FLOAT_EQ(b.Ring(1).Width, 370);
    EXPECT_FLOAT_EQ(b.Ring(1).Height, 162.5f);
    EXPECT_FLOAT_EQ(b.Ring(2).Width, 740.0f / 6);
    EXPECT_FLOAT_EQ(b.Ring(2).Height, 325.0f / 6);
    for (int c = 0; c < 3; ++c)
        expectCentred(b.Ring(c));
}

// After the first tick the outer ring's box runs from x 4625: a part centred exactly there
// survives the tick, one centred a twip further in falls. Nothing is scored.
TEST_F(BossBlast, PartCentredOnTheRingsEdgeSurvivesTheTick)
{
    b.BossPart(60).Left = 4625 - 735.0f / 2;
    b.BossPart(60).Top = 995; // centred on the blast centre's height
    b.BossPart(61).Left = 4626 - 615.0f / 2;
    b.BossPart(61).Top = 995;
    blastTick();
    EXPECT_TRUE(b.BossPart(60).Visible);
    EXPECT_FALSE(b.BossPart(61).Visible);
    EXPECT_EQ(b.Score.Caption, "0");
}

// The blast ends when the ring's bottom passes the ship's top less 1000, strictly: with the ship
// at 6000 that is on the 30th tick (bottom 5090; 4965 on the 29th).
TEST_F(BossBlast, EndsOnTheThirtiethTick)
{
    for (int tick = 1; tick <= 29; ++tick)
        blastTick();
    ASSERT_TRUE(loaded<boss::Boss>());
    EXPECT_EQ(b.Ring(0).Top + b.Ring(0).Height, 4965);
    blastTick();
    EXPECT_FALSE(loaded<boss::Boss>());
    EXPECT_TRUE(f.visible());
}

// A ring bottom exactly at the ship's top less 1000 does not end the blast.
TEST_F(BossBlast, RingBottomOnTheEndLineGoesOn)
{
    b.Player.Top = 1140 + 325 + 1000; // the first tick's bottom is 1465
    blastTick();
    EXPECT_TRUE(loaded<boss::Boss>());

    b.Ring(0).Width = 240;
    b.Ring(0).Height = 75;
    b.Player.Top = 2464;
    blastTick();
    EXPECT_FALSE(loaded<boss::Boss>());
}

} // namespace
