#include "support/game_harness.h"

namespace {

class PlayerShots : public GameHarness {
protected:
    wave::Form1& f = shown<wave::Form1>();

    PlayerShots()
    {
        f.bombwait.Enabled = false;
        f.tmrAliensRight.Enabled = false;
    }
    void putShot(int i, float left, float top)
    {
        f.Lasers(i).Left = left;
        f.Lasers(i).Top = top;
    }
    // One tick of the shot timer at 64 ticks a second.
    void fireTick() { advanceUs(15'625); }
};

// A shot from the ship's row climbs 50 a tick, is tested first at 5830 and is spent on its
// 116th tick, at 80, when it parks in the strip at its own slot.
TEST_F(PlayerShots, ShotFromTheShipIsSpentOnItsHundredAndSixteenthTick)
{
    for (int i = 0; i < 28; ++i)
        f.Enemy(i).Visible = false; // nothing to hit on the way up
    f.Player.Left = 200;
    press(f, kSpace);
    press(f, kSpace);
    press(f, kSpace);
    fireTick();
    EXPECT_EQ(f.Lasers(2).Top, 5830);
    for (int tick = 2; tick <= 115; ++tick)
        fireTick();
    EXPECT_EQ(f.Lasers(2).Top, 130);
    EXPECT_EQ(f.Lasers(2).Left, 625); // from the ship's right edge
    fireTick();
    EXPECT_EQ(f.Lasers(2).Top, 6840);
    EXPECT_EQ(f.Lasers(2).Left, 270);
    EXPECT_EQ(f.Lasers(0).Left, 0);
    EXPECT_EQ(f.current.Caption, "3");
}

// The shot's top-left corner must lie strictly inside the enemy's box; its own size plays no part.
TEST_F(PlayerShots, CornerOnAnEnemysEdgeDoesNotHit)
{
    struct Case {
        float left, top; // of the shot after its 50 climb; the enemy box is (120..600, 100..580)
        bool hits;
    };
    const Case cases[] = {
        {120, 300, false}, {121, 300, true}, {600, 300, false}, {599, 300, true},
        {300, 100, false}, {300, 101, true}, {300, 580, false}, {300, 579, true},
    };
    for (const Case& c : cases) {
        f.Enemy(0).Visible = true;
        f.Enemy(0).Top = 100;
        f.Ghosts.Caption = "0";
        putShot(0, c.left, c.top + 50);
        f.tmrfire_Timer();
        EXPECT_EQ(!f.Enemy(0).Visible, c.hits) << "shot at " << c.left << ", " << c.top;
        f.Lasers(0).Top = 6840;
    }
}

// A kill hides the enemy, lifts it 3600, parks the shot, scores Level x 100 and counts a ghost.
TEST_F(PlayerShots, KillHidesLiftsParksScoresAndCounts)
{
    f.Level.Caption = "3";
    putShot(4, 1500, 1300); // inside Enemy(8) at (1320, 1000) after the climb
    fireTick();
    EXPECT_FALSE(f.Enemy(8).Visible);
    EXPECT_EQ(f.Enemy(8).Top, -2600);
    EXPECT_EQ(f.Lasers(4).Top, 6840);
    EXPECT_EQ(f.Lasers(4).Left, 540);
    EXPECT_EQ(f.Score.Caption, "300");
    EXPECT_EQ(f.Ghosts.Caption, "1");
}

// Below 31 ms on the left march every kill pays 2000, whatever the level.
TEST_F(PlayerShots, FastMarchPaysTheHighScore)
{
    struct Case {
        int interval;
        const char* level;
        const char* score;
    };
    const Case cases[] = {
        {301, "3", "300"}, {31, "2", "200"}, {30, "3", "2000"}, {30, "MAX!!", "2000"}};
    for (const Case& c : cases) {
        f.Score.Caption = "0";
        f.Level.Caption = c.level;
        f.tmrAliensLeft.Interval = c.interval;
        f.Enemy(0).Visible = true;
        f.Enemy(0).Top = 100;
        putShot(0, 300, 350);
        f.tmrfire_Timer();
        EXPECT_EQ(f.Score.Caption, c.score) << "interval " << c.interval;
    }
}

// Of two living enemies holding the corner the lower index dies; a shot kills only one.
TEST_F(PlayerShots, LowerIndexWinsATie)
{
    f.Enemy(9).Left = f.Enemy(2).Left;
    f.Enemy(9).Top = f.Enemy(2).Top;
    putShot(0, 2600, 350);
    f.tmrfire_Timer();
    EXPECT_FALSE(f.Enemy(2).Visible);
    EXPECT_TRUE(f.Enemy(9).Visible);
    EXPECT_EQ(f.Ghosts.Caption, "1");
}

// A dead enemy is never hit: the shot flies on through its place.
TEST_F(PlayerShots, DeadEnemyIsNotHit)
{
    f.Enemy(0).Visible = false;
    putShot(0, 300, 350);
    f.tmrfire_Timer();
    EXPECT_EQ(f.Lasers(0).Top, 300);
    EXPECT_EQ(f.Ghosts.Caption, "0");
}

// A shot leaving the top sets `current` from 10 back to 0, but leaves 9 alone.
TEST_F(PlayerShots, SpentShotWrapsCurrentOnlyPastTheLastSlot)
{
    for (const auto& [before, after] : {std::pair{"10", "0"}, std::pair{"9", "9"}}) {
        f.current.Caption = before;
        putShot(5, 9500, 120);
        f.tmrfire_Timer();
        EXPECT_EQ(f.Lasers(5).Top, 6840);
        EXPECT_EQ(f.current.Caption, after);
    }
}

// Lives at 0 plays on; below 0 the next tick ends the game in the high-score table.
TEST_F(PlayerShots, GameEndsOnlyWhenLivesFallBelowZero)
{
    handle([this] { f.Show(); });
    f.Lives.Caption = "0";
    fireTick();
    EXPECT_TRUE(loaded<wave::Form1>());
    EXPECT_FALSE(loaded<scores::Highscores>());

    Form1().Lives.Caption = "-1";
    fireTick();
    EXPECT_FALSE(loaded<wave::Form1>());
    ASSERT_TRUE(loaded<scores::Highscores>());
    EXPECT_TRUE(Highscores().visible());
}

} // namespace
