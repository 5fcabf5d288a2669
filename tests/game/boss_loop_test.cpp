#include "bots/scripted_player.h"
#include "support/game_harness.h"

#include <string>
#include <vector>

namespace {

constexpr std::int64_t kGiveUpUs = 60LL * 60 * 1'000'000; // a broken game fails, it does not hang

// What the wave stage holds once the scripted player is back from a boss fight, and the boss
// stage's score as it stood when the blast ended.
struct Return {
    std::string level;
    double score;
    double bossScore;
    std::vector<int> intervals; // tmrAliensLeft, tmrAliensRight, tmrBomb, bombwait
};

class BossLoop : public GameHarness {
protected:
    bots::Player player{runtime, 7};

    BossLoop() { player.startGame(); }

    // Plays on until the boss stage hands back to the wave stage, and takes both stages' state
    // at that instant: between looks time moves one tick at a time.
    std::optional<Return> playOneLoop()
    {
        std::optional<double> bossScore;
        while (player.nowUs() < kGiveUpUs) {
            player.look();
            const std::int64_t until = player.nowUs() + player.untilNextLookUs();
            while (const std::optional<std::int64_t> due = runtime.scheduler().nextDue()) {
                if (*due > until)
                    break;
                advanceUs(*due - player.nowUs());
                if (player.gameOver())
                    return std::nullopt;
                if (loaded<boss::Boss>())
                    bossScore = rt::counter(form<boss::Boss>().Score);
                else if (bossScore)
                    return handedBack(*bossScore);
            }
            advanceUs(until - player.nowUs());
        }
        return std::nullopt;
    }

    Return handedBack(double bossScore)
    {
        const wave::Form1& f = Form1();
        return {f.Level.Caption,
                rt::counter(f.Score),
                bossScore,
                {f.tmrAliensLeft.Interval, f.tmrAliensRight.Interval, f.tmrBomb.Interval,
                 f.bombwait.Interval}};
    }
};

// The first loop: wave 1 shot down, the blocks under the core dug away, the core hit; the blast
// hands back to the wave stage at level 2, faster by one step, with the level-1 bonus paid.
TEST_F(BossLoop, ClearingTheFirstBossStartsWaveTwoFaster)
{
    const std::optional<Return> back = playOneLoop();
    ASSERT_TRUE(back) << "the player did not get back from the first boss";
    EXPECT_EQ(back->level, "2");
    EXPECT_EQ(back->score, back->bossScore + 1000);
    EXPECT_EQ(back->intervals, (std::vector<int>{276, 276, 126, 251}));
    EXPECT_FALSE(loaded<boss::Boss>());
    EXPECT_TRUE(Form1().visible());
}

// Eleven loops raise the level to 12; the twelfth finds nothing left to shorten and pays 50000.
TEST_F(BossLoop, TwelveLoopsEndInMax)
{
    for (int loop = 1; loop <= 12; ++loop) {
        const std::optional<Return> back = playOneLoop();
        ASSERT_TRUE(back) << "lost in loop " << loop << " with lives "
                          << Form1().Lives.Caption.value();
        if (loop < 12) {
            EXPECT_EQ(back->level, std::to_string(loop + 1));
            EXPECT_EQ(back->score, back->bossScore + 1000 * loop);
        } else {
            EXPECT_EQ(back->level, "MAX!!");
            EXPECT_EQ(back->score, back->bossScore + 50000);
            EXPECT_EQ(back->intervals, (std::vector<int>{30, 30, 1, 1}));
        }
    }
}

} // namespace
