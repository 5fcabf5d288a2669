#include "support/game_harness.h"

namespace {

class FreshStage : public GameHarness {};

// A fresh stage: 28 enemies in their grid, the ship, the shots parked in the strip, no bomb,
// the counters, and the three timers that run from the start.
TEST_F(FreshStage, LoadsWithTheLayoutAndTheRightMarchRunning)
{
    wave::Form1& f = Form1();
    EXPECT_EQ(f.Caption, "The Front Line");
    for (int i = 0; i < 28; ++i)
        EXPECT_TRUE(f.Enemy(i).Visible) << i;
    EXPECT_EQ(f.Enemy(6).Left, 7320);
    EXPECT_EQ(f.Enemy(6).Top, 100);
    EXPECT_EQ(f.Enemy(7).Left, 120);
    EXPECT_EQ(f.Enemy(7).Top, 1000);
    EXPECT_EQ(f.Enemy(27).Left, 7320);
    EXPECT_EQ(f.Enemy(27).Top, 3000);
    EXPECT_EQ(f.Player.Left, 4440);
    EXPECT_EQ(f.Player.Top, 5880);
    // The shots stand overlapping in the strip, from 4680 to 5760.
    EXPECT_EQ(f.Lasers(0).Left, 4680);
    EXPECT_EQ(f.Lasers(9).Left, 5760);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(f.Lasers(i).Top, 6840);
        EXPECT_TRUE(f.Lasers(i).Visible);
    }
    EXPECT_FALSE(f.bomb.Visible);
    EXPECT_EQ(f.Level.Caption, "1");
    EXPECT_EQ(f.Score.Caption, "0");
    EXPECT_EQ(f.Lives.Caption, "5");
    EXPECT_EQ(f.Ghosts.Caption, "0");
    EXPECT_FALSE(f.Ghosts.Visible);
    EXPECT_EQ(f.current.Caption, "0");
    EXPECT_FALSE(f.current.Visible);
    EXPECT_TRUE(f.tmrAliensRight.Enabled);
    EXPECT_TRUE(f.tmrfire.Enabled);
    EXPECT_TRUE(f.bombwait.Enabled);
    EXPECT_FALSE(f.tmrAliensLeft.Enabled);
    EXPECT_FALSE(f.tmrBomb.Enabled);
}

// The load centres the outer window (the client's 9945 x 7320 plus the nominal frame) in
// fractional twips; a screen smaller than the window gives negative coordinates that are kept.
TEST_F(FreshStage, LoadCentresTheWindowEvenOffTheScreen)
{
    runtime.screen() = {15360, 11520};
    wave::Form1& f = Form1();
    EXPECT_EQ(f.Width, 10065);
    EXPECT_EQ(f.Height, 7830);
    EXPECT_EQ(f.Left, 2647.5f);
    EXPECT_EQ(f.Top, 1845);
    Unload(f);

    runtime.screen() = {9000, 6001};
    wave::Form1& small = Form1();
    EXPECT_EQ(small.Left, -532.5f);
    EXPECT_EQ(small.Top, -914.5f);
}

// Reading a label of the unloaded stage loads it hidden, with the march already started.
TEST_F(FreshStage, ReferenceLoadsItHiddenAndRunning)
{
    EXPECT_FALSE(loaded<wave::Form1>());
    EXPECT_EQ(Form1().Score.Caption, "0");
    EXPECT_FALSE(Form1().visible());
    EXPECT_TRUE(Form1().tmrAliensRight.Enabled);
    advance(301);
    EXPECT_EQ(Form1().Enemy(0).Left, 170);
}

} // namespace
