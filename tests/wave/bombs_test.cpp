#include "support/game_harness.h"

#include <set>

namespace {

constexpr int kBombWaitMs = 301;
constexpr int kBombStepMs = 151;

class EnemyBombs : public GameHarness {
protected:
    wave::Form1& f = Form1();

    EnemyBombs()
    {
        f.tmrfire.Enabled = false;
        f.tmrAliensRight.Enabled = false;
    }
    void dropBomb(float left, float top)
    {
        f.bomb.Left = left;
        f.bomb.Top = top;
        f.bombwait.Enabled = false;
        f.tmrBomb.Enabled = true;
    }
};

// The first bomb is placed 301 ms after the load at the bomber's top-left corner, still hidden,
// and starts falling, visible, 151 ms later. The draws never change, so in every game the first
// bomb comes from Enemy(19), the first draw's bomber, at (6120, 2000).
TEST_F(EnemyBombs, FirstBombIsPlacedThenFalls)
{
    advance(kBombWaitMs - 1);
    EXPECT_FALSE(f.tmrBomb.Enabled);
    advance(1);
    EXPECT_TRUE(f.tmrBomb.Enabled);
    EXPECT_FALSE(f.bombwait.Enabled);
    EXPECT_FALSE(f.bomb.Visible);
    EXPECT_EQ(f.bomb.Left, 6120);
    EXPECT_EQ(f.bomb.Top, 2000);
    advance(kBombStepMs);
    EXPECT_EQ(f.bomb.Top, 2100);
    EXPECT_TRUE(f.bomb.Visible);
}

// With a single living enemy every bomb comes from it.
TEST_F(EnemyBombs, SingleLivingEnemyDropsEveryBomb)
{
    for (int i = 0; i < 28; ++i)
        f.Enemy(i).Visible = i == 17;
    f.Ghosts.Caption = "27";
    for (int n = 0; n < 20; ++n) {
        f.bombwait_Timer();
        EXPECT_EQ(f.bomb.Left, f.Enemy(17).Left);
        EXPECT_EQ(f.bomb.Top, f.Enemy(17).Top);
        f.tmrBomb.Enabled = false;
        f.bombwait.Enabled = true;
    }
}

// With every enemy down the first draw stands, dead or not; the draws follow the fixed sequence,
// so the bombers of a full formation are spread over it.
TEST_F(EnemyBombs, AllDownTakesTheFirstDraw)
{
    std::set<int> bombers;
    for (int i = 0; i < 28; ++i)
        f.Enemy(i).Left = 1000.0f * i;
    for (int n = 0; n < 40; ++n) {
        f.bombwait_Timer();
        bombers.insert(static_cast<int>(f.bomb.Left) / 1000);
    }
    EXPECT_GT(bombers.size(), 15u);

    for (int i = 0; i < 28; ++i)
        f.Enemy(i).Visible = false;
    f.Ghosts.Caption = "28";
    f.bombwait_Timer(); // must not look for a living enemy forever
    EXPECT_TRUE(f.tmrBomb.Enabled);
}

// The bomb's corner on any edge of the ship misses; strictly inside it costs a life, hides the
// bomb and hands back to the wait.
TEST_F(EnemyBombs, BombHitsOnlyStrictlyInsideTheShip)
{
    struct Case {
        float left, top; // after the 100 step; the ship box is (4440..5000, 5880..6528)
        bool hits;
    };
    const Case cases[] = {
        {4440, 6000, false}, {4441, 6000, true}, {5000, 6000, false}, {4999, 6000, true},
        {4600, 5880, false}, {4600, 5881, true}, {4600, 6528, false}, {4600, 6527, true},
    };
    for (const Case& c : cases) {
        f.Lives.Caption = "5";
        dropBomb(c.left, c.top - 100);
        f.tmrBomb_Timer();
        EXPECT_EQ(f.Lives.Caption, c.hits ? "4" : "5") << c.left << ", " << c.top;
        EXPECT_EQ(f.bomb.Visible, !c.hits);
        EXPECT_EQ(f.bombwait.Enabled, c.hits || c.top > 6500);
    }
}

// A miss falls until its Top first passes 6500 and stays there, visible, until the next bomb.
TEST_F(EnemyBombs, MissFallsPastTheSpentLineAndStays)
{
    dropBomb(100, 6300);
    advance(kBombStepMs * 2);
    EXPECT_EQ(f.bomb.Top, 6500);
    EXPECT_TRUE(f.tmrBomb.Enabled);
    advance(kBombStepMs);
    EXPECT_EQ(f.bomb.Top, 6600);
    EXPECT_FALSE(f.tmrBomb.Enabled);
    EXPECT_TRUE(f.bombwait.Enabled);
    EXPECT_TRUE(f.bomb.Visible);
    EXPECT_EQ(f.Lives.Caption, "5");
}

} // namespace
