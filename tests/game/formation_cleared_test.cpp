#include "support/game_harness.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace {

constexpr std::int64_t kGiveUpUs = 30LL * 60 * 1'000'000; // a broken game fails, it does not hang
constexpr int kEnemies = 28;
constexpr double kKillScore = 100; // per kill at level 1 and the layout's march speed

// What the bot knows of the game's pace, as a player learns it by watching.
constexpr float kShotClimb = 50; // twips a shot climbs per shot tick
constexpr double kShotTickMs = 15.625;
constexpr float kMarchStep = 50; // twips the block moves per march tick
constexpr double kMarchMs = 301;
constexpr float kShipStep = 250;
constexpr float kLeftmostShip = 190; // the ship's reach from its start at 4440
constexpr float kRightmostShip = 9190;

// How the bot plays.
constexpr std::int64_t kThinkUs = 250'000;   // a look and a key press
constexpr std::int64_t kFireGapUs = 500'000; // two shots a second
constexpr float kAimMargin = 60;             // room inside an enemy's box for a misjudged tick

// A bot that reads the wave stage like a player, then steps and fires with the keys. It pays no
// heed to bombs and takes the odd hit.
class ScriptedPlayer : public GameHarness {
protected:
    wave::Form1& f = startGame();

    std::int64_t now() { return runtime.scheduler().now(); }

    // Moves time to the next instant at which some timer ticks.
    void nextInstant()
    {
        const std::optional<std::int64_t> due = runtime.scheduler().nextDue();
        advanceUs(due ? *due - now() : kThinkUs);
    }

    // One look at the stage and at most one key.
    void think()
    {
        if (now() - m_lastThought < kThinkUs)
            return;
        m_lastThought = now();
        const float ship = f.Player.Left;
        claimShotsInFlight();
        const float offset = nextShotOffset();
        if (now() - m_lastShot >= kFireGapUs && enemyMet(ship + offset, f.Player.Top)) {
            fire();
            return;
        }
        const std::optional<float> aim = aimPosition(ship, offset);
        if (!aim) {
            if (now() - m_lastShot >= kFireGapUs)
                fire(); // nothing in reach from this slot: the next one fires from elsewhere
            return;
        }
        if (*aim > ship)
            press(f, kRight);
        else if (*aim < ship)
            press(f, kLeft);
    }

private:
    void fire()
    {
        press(f, kSpace);
        m_lastShot = now();
    }

    // The next shot leaves from the ship's left edge, centre or right edge, by slot.
    float nextShotOffset() const
    {
        const double next = rt::counter(f.current);
        const int slot = next > 9 ? 0 : static_cast<int>(next);
        const float shot = f.Lasers(slot).Width;
        const float offsets[] = {0, f.Player.Width / 2 - shot / 2, f.Player.Width - shot};
        return offsets[slot % 3];
    }

    // Where enemy e's left edge will be when a shot now at `shotTop` climbs to its bottom edge;
    // the bot ignores turns, the margin covers them.
    float leftWhenReached(int e, float shotTop) const
    {
        const float climb = shotTop - (f.Enemy(e).Top + f.Enemy(e).Height);
        const double ms = std::max(0.0f, climb) / kShotClimb * kShotTickMs;
        const double marchTicks = std::round(ms / kMarchMs);
        const float direction = f.tmrAliensRight.Enabled ? 1.0f : -1.0f;
        return f.Enemy(e).Left + direction * kMarchStep * static_cast<float>(marchTicks);
    }

    // The living enemy not yet claimed by a shot in flight that a shot at x will meet first.
    std::optional<int> enemyMet(float x, float shotTop) const
    {
        std::optional<int> met;
        for (int e = 0; e < kEnemies; ++e) {
            if (!f.Enemy(e).Visible || m_claimed[e] || f.Enemy(e).Top >= shotTop - kShotClimb)
                continue;
            const float left = leftWhenReached(e, shotTop);
            if (x <= left + kAimMargin || x >= left + f.Enemy(e).Width - kAimMargin)
                continue;
            if (!met || f.Enemy(e).Top > f.Enemy(*met).Top)
                met = e;
        }
        return met;
    }

    void claimShotsInFlight()
    {
        m_claimed.fill(false);
        for (int i = 0; i <= 9; ++i)
            if (f.Lasers(i).Top < f.Line1.Y1)
                if (const std::optional<int> e = enemyMet(f.Lasers(i).Left, f.Lasers(i).Top))
                    m_claimed[*e] = true;
    }

    // The reachable ship position nearest to `ship` from which the next shot meets an enemy.
    std::optional<float> aimPosition(float ship, float offset) const
    {
        std::optional<float> best;
        for (int e = 0; e < kEnemies; ++e) {
            if (!f.Enemy(e).Visible || m_claimed[e])
                continue;
            const float centre = leftWhenReached(e, f.Player.Top) + f.Enemy(e).Width / 2 - offset;
            const float steps = std::round((centre - ship) / kShipStep);
            const float place = std::clamp(ship + steps * kShipStep, kLeftmostShip, kRightmostShip);
            if (!enemyMet(place + offset, f.Player.Top))
                continue;
            if (!best || std::abs(place - ship) < std::abs(*best - ship))
                best = place;
        }
        return best;
    }

    std::array<bool, kEnemies> m_claimed{};
    std::int64_t m_lastThought = -kThinkUs;
    std::int64_t m_lastShot = -kFireGapUs;
};

// What changes from one instant to the next tells kills, revivals and march ticks apart.
struct Glance {
    double ghosts;
    std::array<bool, kEnemies> alive;
    float left0;
};

Glance glance(const wave::Form1& f)
{
    Glance g{rt::counter(f.Ghosts), {}, f.Enemy(0).Left};
    for (int e = 0; e < kEnemies; ++e)
        g.alive[e] = f.Enemy(e).Visible;
    return g;
}

int revivals(const Glance& before, const Glance& after)
{
    int count = 0;
    for (int e = 0; e < kEnemies; ++e)
        count += !before.alive[e] && after.alive[e];
    return count;
}

// Shooting every enemy down ends the wave at the end of the next march tick, not at the kill; the
// boss stage then opens with the wave's score, lives and ship position.
TEST_F(ScriptedPlayer, ShootingTheWholeFormationDownOpensTheBossStage)
{
    int kills = 0;
    bool allDown = false; // Ghosts read 28 and no march tick has run since
    while (now() < kGiveUpUs) {
        think();
        const Glance before = glance(f);
        nextInstant();
        ASSERT_TRUE(loaded<wave::Form1>()) << "the game ended after " << kills << " kills";
        const Glance after = glance(f);
        // Ghosts counts kills up and revivals down; a revival shows as an enemy coming back.
        kills += static_cast<int>(after.ghosts - before.ghosts) + revivals(before, after);
        const bool marched = after.left0 != before.left0;
        if (loaded<boss::Boss>()) {
            ASSERT_TRUE(allDown) << "the boss stage opened without Ghosts first reading 28";
            EXPECT_TRUE(marched) << "the boss stage opened outside a march tick";
            break;
        }
        if (allDown && marched) {
            ASSERT_LT(after.ghosts, kEnemies) << "a march tick ended with all 28 down";
            allDown = false; // a revival came first: play on
        }
        if (after.ghosts == kEnemies && !allDown) {
            allDown = true;
            EXPECT_TRUE(f.visible());
        }
    }
    ASSERT_TRUE(loaded<boss::Boss>())
        << "the formation still stands after 30 minutes, " << kills << " kills";

    boss::Boss& stage = form<boss::Boss>();
    EXPECT_TRUE(stage.visible());
    EXPECT_FALSE(f.visible());
    EXPECT_FALSE(f.tmrfire.Enabled);
    EXPECT_FALSE(f.tmrAliensRight.Enabled);
    EXPECT_FALSE(f.tmrAliensLeft.Enabled);
    EXPECT_FALSE(f.bombwait.Enabled);
    EXPECT_FALSE(f.tmrBomb.Enabled);

    EXPECT_GE(kills, kEnemies);
    EXPECT_EQ(rt::counter(f.Score), kKillScore * kills);
    // The bot took a hit on the way, so the lives carried over differ from the boss layout's 5.
    ASSERT_LT(rt::counter(f.Lives), 5);
    EXPECT_EQ(stage.Score.Caption, f.Score.Caption);
    EXPECT_EQ(stage.Lives.Caption, f.Lives.Caption);
    EXPECT_EQ(stage.Player.Left, f.Player.Left);
}

} // namespace
