#include "support/game_harness.h"

#include <string>

namespace {

constexpr std::int64_t kShotTickUs = 15'625;

// A started game whose formation falls at once, so the boss stage opens on the first march tick.
class BossHandOver : public GameHarness {
protected:
    wave::Form1& f = startGame();

    boss::Boss& openBossStage()
    {
        for (int e = 0; e < 28; ++e) {
            f.Enemy(e).Visible = false;
            f.Enemy(e).Top = -5000; // far above the revival line
        }
        f.Ghosts.Caption = "28";
        while (!loaded<boss::Boss>())
            advance(1);
        return form<boss::Boss>();
    }

    // The core has been hit and the blast has grown to its last tick.
    void clearBoss(boss::Boss& b)
    {
        b.Ring(0).Height = 20000;
        handle([&b] { b.tmrNuke_Timer(); });
    }

    void setIntervals(int march, int bomb, int wait)
    {
        f.tmrAliensLeft.Interval = march;
        f.tmrAliensRight.Interval = march;
        f.tmrBomb.Interval = bomb;
        f.bombwait.Interval = wait;
    }
};

struct ShorteningCase {
    const char* timer;
    int before, after;
    bool stepsUp; // counts as a timer shortened, so the level rises
};

class HandOverShortening : public BossHandOver,
                           public ::testing::WithParamInterface<ShorteningCase> {
protected:
    rt::Timer& timer(const std::string& name)
    {
        if (name == "tmrAliensLeft")
            return f.tmrAliensLeft;
        if (name == "tmrAliensRight")
            return f.tmrAliensRight;
        return name == "tmrBomb" ? f.tmrBomb : f.bombwait;
    }
};

// Each timer above its limit is shortened and counts; at or below it, it is set to its floor and
// does not. With the others all at their limits, only the case's timer can raise the level.
TEST_P(HandOverShortening, ShortensOrSetsTheFloor)
{
    const ShorteningCase& c = GetParam();
    setIntervals(50, 25, 50);
    timer(c.timer).Interval = c.before;
    boss::Boss& b = openBossStage();
    clearBoss(b);
    EXPECT_EQ(timer(c.timer).Interval, c.after);
    EXPECT_EQ(f.Level.Caption, c.stepsUp ? "2" : "MAX!!");
    for (const std::string other : {"tmrAliensLeft", "tmrAliensRight", "tmrBomb", "bombwait"}) {
        if (other != c.timer) {
            EXPECT_EQ(timer(other).Interval, other.starts_with("tmrAliens") ? 30 : 1) << other;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Game, HandOverShortening,
                         ::testing::Values(ShorteningCase{"tmrAliensLeft", 51, 26, true},
                                           ShorteningCase{"tmrAliensLeft", 50, 30, false},
                                           ShorteningCase{"tmrAliensRight", 51, 26, true},
                                           ShorteningCase{"tmrAliensRight", 50, 30, false},
                                           ShorteningCase{"tmrBomb", 26, 1, true},
                                           ShorteningCase{"tmrBomb", 25, 1, false},
                                           ShorteningCase{"bombwait", 51, 1, true},
                                           ShorteningCase{"bombwait", 50, 1, false}));

// The bonus is paid on the boss stage's score: the level times 1000 before the level rises, or
// 50000 once nothing could be shortened. The lives text and the ship's place come back as they
// stood on the boss stage.
TEST_F(BossHandOver, PaysTheBonusOnTheBossScoreAndCarriesLivesAndShip)
{
    f.Level.Caption = "3";
    boss::Boss& b = openBossStage();
    b.Score.Caption = "12345";
    b.Lives.Caption = "0";
    b.Player.Left = 1210;
    clearBoss(b);
    EXPECT_EQ(f.Score.Caption, "15345");
    EXPECT_EQ(f.Level.Caption, "4");
    EXPECT_EQ(f.Lives.Caption, "0");
    EXPECT_EQ(f.Player.Left, 1210);

    setIntervals(30, 1, 1);
    boss::Boss& again = openBossStage();
    again.Score.Caption = "20000";
    clearBoss(again);
    EXPECT_EQ(f.Level.Caption, "MAX!!");
    EXPECT_EQ(f.Score.Caption, "70000");
}

struct DirectionCase {
    float left0;
    bool marchesLeft;
};

class HandOverDirection : public BossHandOver,
                          public ::testing::WithParamInterface<DirectionCase> {};

// The march resumes leftwards when Enemy(0) stood at 5000 or more as the wave fell; the bomb
// waits its turn and the shots fly again.
TEST_P(HandOverDirection, EnemyZeroChoosesTheMarch)
{
    boss::Boss& b = openBossStage();
    f.Enemy(0).Left = GetParam().left0;
    clearBoss(b);
    EXPECT_EQ(f.tmrAliensLeft.Enabled, GetParam().marchesLeft);
    EXPECT_EQ(f.tmrAliensRight.Enabled, !GetParam().marchesLeft);
    EXPECT_TRUE(f.bombwait.Enabled);
    EXPECT_FALSE(f.tmrBomb.Enabled);
    EXPECT_TRUE(f.tmrfire.Enabled);
}

INSTANTIATE_TEST_SUITE_P(Game, HandOverDirection,
                         ::testing::Values(DirectionCase{5000, true}, DirectionCase{4999, false}));

// The formation is back in the grid a fresh stage opens with, every enemy still dead; the march
// brings them back.
TEST_F(BossHandOver, RebuildsTheGridWithEveryEnemyDead)
{
    boss::Boss& b = openBossStage();
    clearBoss(b);
    rt::Runtime elsewhere;
    const wave::Form1& fresh = elsewhere.form<wave::Form1>();
    for (int e = 0; e < 28; ++e) {
        EXPECT_EQ(f.Enemy(e).Left, fresh.Enemy(e).Left) << e;
        EXPECT_EQ(f.Enemy(e).Top, fresh.Enemy(e).Top) << e;
        EXPECT_FALSE(f.Enemy(e).Visible) << e;
    }
    EXPECT_EQ(f.Ghosts.Caption, "28");
    EXPECT_FALSE(loaded<boss::Boss>());
    EXPECT_TRUE(f.visible());
}

// The next fight starts from the layout: a whole boss, full shields, the rings hidden again.
TEST_F(BossHandOver, SecondFightStartsFromAWholeBoss)
{
    boss::Boss& first = openBossStage();
    for (int j = 0; j <= 72; j += 2)
        first.BossPart(j).Visible = false;
    first.Shields.Caption = "35";
    for (int c = 0; c < 3; ++c)
        first.Ring(c).Visible = true;
    clearBoss(first);

    boss::Boss& second = openBossStage();
    for (int j = 0; j <= 72; ++j)
        EXPECT_TRUE(second.BossPart(j).Visible) << j;
    EXPECT_EQ(second.Shields.Caption, "100");
    EXPECT_FALSE(second.Ring(0).Visible);
    EXPECT_EQ(second.Ring(0).Width, 240);
    EXPECT_EQ(second.Score.Caption, f.Score.Caption);
}

// The hidden wave stage takes no keys while the boss is fought.
TEST_F(BossHandOver, HiddenWaveStageTakesNoKeys)
{
    boss::Boss& b = openBossStage();
    const float ship = f.Player.Left;
    press(f, kLeft);
    press(f, kSpace);
    EXPECT_EQ(f.Player.Left, ship);
    EXPECT_EQ(f.current.Caption, "0");
    press(b, kLeft);
    EXPECT_EQ(b.Player.Left, ship - 250);
}

// Lives "0" less one more shield ends the run at the next shot tick: the wave stage gets the boss
// stage's score, the boss stage closes inside its own tick, and the table and its file hold it.
TEST_F(BossHandOver, LosingTheLastLifeEndsTheRunInTheTable)
{
    Dialog().PlayerName.Text = "Bossfall";
    boss::Boss& b = openBossStage();
    b.Score.Caption = "7600";
    b.Lives.Caption = "0";
    b.Shields.Caption = "25";
    b.damageShields(boss::kBeamDamage);
    ASSERT_EQ(b.Lives.Caption, "-1");
    advanceUs(kShotTickUs);
    EXPECT_FALSE(loaded<boss::Boss>());
    EXPECT_FALSE(loaded<wave::Form1>());
    ASSERT_TRUE(loaded<scores::Highscores>());
    EXPECT_TRUE(Highscores().visible());
    EXPECT_EQ(Highscores().Names.List(3).value(), "Bossfall");
    EXPECT_EQ(Highscores().Score.List(3).value(), "7600");
    EXPECT_NE(files().files["highscores"].find("\"Bossfall\"\r\n\"1\"\r\n\"7600\"\r\n"),
              std::string::npos);
}

} // namespace
