#include "support/game_harness.h"

namespace {

constexpr int kMarchMs = 301;

class FormationMarch : public GameHarness {
protected:
    wave::Form1& f = Form1();

    // Keeps bombs and shots out of the way of the march.
    void marchOnly()
    {
        f.bombwait.Enabled = false;
        f.tmrfire.Enabled = false;
    }
    // Down and lifted out of sight, as a shot leaves it.
    void killQuietly(int i)
    {
        f.Enemy(i).Visible = false;
        f.Enemy(i).Top = f.Enemy(i).Top - 3600;
        rt::setCounter(f.Ghosts, rt::counter(f.Ghosts) + 1);
    }
    void setRowTop(int row, float top)
    {
        for (int c = 0; c < 7; ++c)
            f.Enemy(row * 7 + c).Top = top;
    }
};

// The rightmost column turns the block on the 34th tick (7320 + 34 * 50 = 9020); four living
// enemies in it drop the block 600, and the next tick, from the other timer, moves left.
TEST_F(FormationMarch, FirstTurnComesOnThe34thTickWithAFullColumnDropping600)
{
    marchOnly();
    advance(33 * kMarchMs);
    EXPECT_EQ(f.Enemy(6).Left, 8970);
    EXPECT_EQ(f.Enemy(0).Top, 100);
    EXPECT_TRUE(f.tmrAliensRight.Enabled);

    advance(kMarchMs);
    EXPECT_EQ(f.Enemy(6).Left, 9020);
    EXPECT_EQ(f.Enemy(0).Top, 700);
    EXPECT_EQ(f.Enemy(27).Top, 3600);
    EXPECT_FALSE(f.tmrAliensRight.Enabled);
    EXPECT_TRUE(f.tmrAliensLeft.Enabled);

    advance(kMarchMs);
    EXPECT_EQ(f.Enemy(0).Left, 1770);
    EXPECT_EQ(f.Enemy(0).Top, 700);
}

// Moving left from 1820 the left column crosses below 200 on the 33rd left tick (170).
TEST_F(FormationMarch, LeftMarchTurnsOnThe33rdLeftTick)
{
    marchOnly();
    advance(34 * kMarchMs);
    advance(32 * kMarchMs);
    EXPECT_EQ(f.Enemy(0).Left, 220);
    EXPECT_TRUE(f.tmrAliensLeft.Enabled);
    advance(kMarchMs);
    EXPECT_EQ(f.Enemy(0).Left, 170);
    EXPECT_EQ(f.Enemy(0).Top, 1300);
    EXPECT_TRUE(f.tmrAliensRight.Enabled);
    EXPECT_FALSE(f.tmrAliensLeft.Enabled);
}

// A column that steps to exactly the turning line does not turn the block.
TEST_F(FormationMarch, ColumnExactlyOnTheTurningLineDoesNotTurn)
{
    marchOnly();
    for (int i = 0; i < 28; ++i)
        f.Enemy(i).Left = f.Enemy(i).Left + 1630; // rightmost column at 8950
    f.tmrAliensRight_Timer();
    EXPECT_EQ(f.Enemy(6).Left, 9000);
    EXPECT_EQ(f.Enemy(0).Top, 100);
    EXPECT_TRUE(f.tmrAliensRight.Enabled);
}

// Dead enemies past the line do not turn the block; the next living column does, once per enemy.
TEST_F(FormationMarch, DeadColumnPastTheLineDoesNotTurnTheBlock)
{
    marchOnly();
    for (int row = 0; row < 4; ++row)
        killQuietly(row * 7 + 6);
    killQuietly(5); // column 5 keeps three living enemies
    advance(34 * kMarchMs);
    EXPECT_EQ(f.Enemy(6).Left, 9020);
    EXPECT_TRUE(f.tmrAliensRight.Enabled);
    EXPECT_EQ(f.Enemy(0).Top, 100);

    advance(24 * kMarchMs); // column 5 reaches 6120 + 58 * 50 = 9020
    EXPECT_EQ(f.Enemy(5).Left, 9020);
    EXPECT_EQ(f.Enemy(7).Top, 1000 + 3 * 150);
    EXPECT_TRUE(f.tmrAliensLeft.Enabled);
}

// A living enemy at exactly the bottom line costs nothing; past it, one life and the whole block,
// dead enemies included, rises 3000.
TEST_F(FormationMarch, BottomLineIsStrictAndPushBackLiftsEveryEnemy)
{
    marchOnly();
    killQuietly(0);
    setRowTop(3, 5400);
    f.tmrAliensRight_Timer();
    EXPECT_EQ(f.Lives.Caption, "5");
    EXPECT_EQ(f.Enemy(21).Top, 5400);

    setRowTop(3, 5401);
    f.tmrAliensRight_Timer();
    EXPECT_EQ(f.Lives.Caption, "4");
    EXPECT_EQ(f.Enemy(21).Top, 2401);
    EXPECT_EQ(f.Enemy(27).Top, 2401);
    EXPECT_EQ(f.Enemy(0).Top, -6500);
    EXPECT_EQ(f.Enemy(14).Top, -1000);
}

// A turn that carries a living enemy past the bottom costs a life at its own step of that tick.
TEST_F(FormationMarch, TurnDropPastTheBottomCostsALifeInTheSameTick)
{
    marchOnly();
    for (int i = 0; i < 28; ++i)
        f.Enemy(i).Left = f.Enemy(i).Left + 1650; // rightmost column steps to 9020
    setRowTop(3, 4900);                           // the column's drop of 600 puts row 3 at 5500
    f.tmrAliensRight_Timer();
    EXPECT_EQ(f.Lives.Caption, "4");
    EXPECT_EQ(f.Enemy(21).Top, 5500 - 3000);
    EXPECT_EQ(f.Enemy(0).Top, 100 + 600 - 3000);
}

// A dead enemy at Top 100 stays dead; at 101 it comes back and Ghosts falls by one.
TEST_F(FormationMarch, RevivalLineIsStrict)
{
    marchOnly();
    killQuietly(3);
    killQuietly(10);
    f.Enemy(3).Top = 100;
    f.Enemy(10).Top = 101;
    f.tmrAliensRight_Timer();
    EXPECT_FALSE(f.Enemy(3).Visible);
    EXPECT_TRUE(f.Enemy(10).Visible);
    EXPECT_EQ(f.Ghosts.Caption, "1");
}

// Ghosts at 28 after a kill does not clear the wave when the next tick brings one back first.
TEST_F(FormationMarch, KillThatTheNextTickUndoesDoesNotClearTheWave)
{
    marchOnly();
    for (int i = 0; i < 28; ++i) {
        killQuietly(i);
        f.Enemy(i).Top = -3000;
    }
    f.Enemy(20).Top = 101;
    f.tmrAliensRight_Timer();
    EXPECT_EQ(f.Ghosts.Caption, "27");
    EXPECT_TRUE(f.tmrAliensRight.Enabled);
    EXPECT_FALSE(loaded<boss::Boss>());
}

// With all 28 down at the end of a tick the stage freezes, hides and opens the boss stage.
TEST_F(FormationMarch, ClearedFormationHandsOverToTheBossStage)
{
    handle([this] { f.Show(); });
    for (int i = 0; i < 28; ++i) {
        killQuietly(i);
        f.Enemy(i).Top = -3000;
    }
    advance(kMarchMs);
    EXPECT_FALSE(f.tmrfire.Enabled);
    EXPECT_FALSE(f.tmrAliensLeft.Enabled);
    EXPECT_FALSE(f.tmrAliensRight.Enabled);
    EXPECT_FALSE(f.tmrBomb.Enabled);
    EXPECT_FALSE(f.bombwait.Enabled);
    EXPECT_FALSE(f.visible());
    EXPECT_TRUE(loaded<wave::Form1>());
    ASSERT_TRUE(loaded<boss::Boss>());
    EXPECT_TRUE(form<boss::Boss>().visible());
}

} // namespace
