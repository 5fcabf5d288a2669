#include "bots/scripted_player.h"
#include "support/game_harness.h"

#include <set>

namespace {

constexpr std::int64_t kGiveUpUs = 10LL * 60 * 1'000'000;
constexpr std::int64_t kLingerUs = 20'000'000;

class BossLinger : public GameHarness {
protected:
    bots::Player player{runtime, 7};

    BossLinger()
    {
        player.setLingerUs(kLingerUs);
        player.startGame();
    }

    bool onBoss() { return loaded<boss::Boss>() && form<boss::Boss>().visible(); }
};

// While it lingers the player fires nothing and walks into each weapon in turn: the missile
// (50 shield points), the spray (10) and a beam (25); then it still digs to the core and wins.
TEST_F(BossLinger, TheLingeringShipIsHitByEveryWeaponAndThenClearsTheBoss)
{
    while (!onBoss() && player.nowUs() < kGiveUpUs)
        player.step();
    ASSERT_TRUE(onBoss()) << "the player did not reach the boss";
    const std::int64_t opened = player.nowUs();
    const std::string score = form<boss::Boss>().Score.Caption;
    double shields = rt::counter(form<boss::Boss>().Shields);
    std::set<double> drops;
    while (player.nowUs() - opened < kLingerUs - bots::Player::kLookUs) {
        player.step();
        ASSERT_TRUE(onBoss()) << "the boss stage ended while the player lingered";
        const boss::Boss& b = form<boss::Boss>();
        for (int slot = 0; slot < stage::kShotSlots; ++slot)
            EXPECT_GE(b.Lasers(slot).Top, stage::kFloorLine)
                << "a shot in flight at " << player.nowUs();
        const double now = rt::counter(b.Shields);
        if (now < shields)
            drops.insert(shields - now);
        shields = now;
    }
    EXPECT_EQ(form<boss::Boss>().Score.Caption.value(), score);
    EXPECT_EQ(drops, (std::set<double>{10, 25, 50}));

    while (player.loopsCleared() == 0 && !player.gameOver() && player.nowUs() < kGiveUpUs)
        player.step();
    EXPECT_EQ(player.loopsCleared(), 1);
    EXPECT_EQ(Form1().Level.Caption.value(), "2");
}

// Without a linger the player attacks the boss from its first look: a shot is in flight soon.
TEST_F(BossLinger, WithoutALingerTheFirstShotFliesAtOnce)
{
    player.setLingerUs(0);
    while (!onBoss() && player.nowUs() < kGiveUpUs)
        player.step();
    ASSERT_TRUE(onBoss());
    bool fired = false;
    for (int look = 0; look < 30 && !fired; ++look) {
        player.step();
        const boss::Boss& b = form<boss::Boss>();
        for (int slot = 0; slot < stage::kShotSlots; ++slot)
            fired = fired || b.Lasers(slot).Top < stage::kFloorLine;
    }
    EXPECT_TRUE(fired);
}

} // namespace
