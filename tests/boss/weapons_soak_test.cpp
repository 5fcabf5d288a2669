#include "weapons_fixture.h"

#include "bots/soak.h"

#include <cstdint>
#include <iostream>
#include <memory>
#include <random>

namespace {

constexpr int kFights = 200;
constexpr std::int64_t kFightUs = 60'000'000;
constexpr std::int64_t kShortestKeyGapUs = 1'000'000 / 30 + 1; // at most 30 presses a second
constexpr std::int64_t kLongestKeyGapUs = 300'000;
constexpr int kKeys[] = {stage::kKeyLeft, stage::kKeyRight, stage::kKeySpace};
// The parts whose loss changes a weapon; one press in kPartLossOdds also shoots one away.
constexpr int kWeaponParts[] = {54, 61, 48, 57, 45, 46, 56, 50, 51, 59};
constexpr unsigned kPartLossOdds = 40;

// What the fights went through, so a soak that never reached a state cannot pass quietly.
struct Tally {
    std::int64_t ticks = 0;
    std::int64_t firings = 0;
    std::int64_t sprays = 0;
    std::int64_t launches = 0;
    std::int64_t shieldHits = 0;
    std::int64_t livesLost = 0;
    int spentSides = 0;
    int frozenGates = 0;
    int silencedBeams = 0;
    std::int64_t brokenRules = 0;
};

// One boss fight on the virtual clock, handed over from a wave stage that has stopped, with a
// player pressing random keys and parts of the boss's weapons shot away at random. Every timer
// tick of the stage is followed by the checks.
class Fight {
public:
    Fight(unsigned seed, Tally& tally) : m_random(seed), m_tally(tally)
    {
        m_runtime.setFiles(std::make_unique<rt::MemoryFileStore>());
        wave::Form1& wave = m_runtime.form<wave::Form1>();
        stopWaveStage(wave);
        wave.Lives.Caption = "1000"; // the fight runs its full length rather than end the game
        m_runtime.dispatch([&] {
            wave.Hide();
            m_runtime.form<boss::Boss>().Show();
        });
        m_boss = &m_runtime.form<boss::Boss>();
        for (rt::Timer* timer : bossTimers(*m_boss)) {
            timer->onTick = [this, handler = timer->onTick] {
                if (handler)
                    handler();
                afterTick();
            };
        }
    }

    void run()
    {
        rt::Scheduler& clock = m_runtime.scheduler();
        std::int64_t nextKey = keyGap();
        while (nextKey < kFightUs && stillFighting()) {
            clock.advanceUs(nextKey - clock.now());
            if (!stillFighting())
                break;
            m_runtime.keyDown(*m_boss, kKeys[m_random() % 3], 0);
            if (m_random() % kPartLossOdds == 0)
                m_boss->BossPart(kWeaponParts[m_random() % std::size(kWeaponParts)]).Visible =
                    false;
            nextKey += keyGap();
        }
        if (stillFighting())
            tallyEndState();
    }

private:
    // The fight ends when the stage unloads: the game is over or the boss is destroyed.
    bool stillFighting()
    {
        return m_runtime.isLoaded<boss::Boss>() && &m_runtime.form<boss::Boss>() == m_boss;
    }

    std::int64_t keyGap()
    {
        return kShortestKeyGapUs + m_random() % (kLongestKeyGapUs - kShortestKeyGapUs);
    }

    void afterTick()
    {
        ++m_tally.ticks;
        if (!stillFighting())
            return; // the stage has ended: its timers are all stopped
        const boss::Boss& b = *m_boss;
        if (const auto broken = soak::brokenRule(m_runtime); broken && m_tally.brokenRules++ == 0)
            ADD_FAILURE() << "at " << m_runtime.scheduler().now() << " us: " << *broken;

        m_tally.firings += b.tmrBeam.Enabled && !m_was.beam;
        m_tally.sprays += b.tmrDischarge.Enabled && !m_was.spray;
        m_tally.launches += b.tmrMissiles.Enabled && !m_was.missile;
        m_tally.shieldHits += b.Shields.Caption.value() != m_was.shields;
        m_tally.livesLost += b.Lives.Caption.value() != m_was.lives;
        m_was = {b.tmrBeam.Enabled, b.tmrDischarge.Enabled, b.tmrMissiles.Enabled,
                 b.Shields.Caption, b.Lives.Caption};
    }

    void tallyEndState()
    {
        const boss::Boss& b = *m_boss;
        m_tally.spentSides += !b.Lsight1.Visible + !b.Lsight2.Visible;
        m_tally.frozenGates += !b.BossPart(48).Visible;
        m_tally.silencedBeams += !b.BossPart(54).Visible && !b.BossPart(61).Visible;
    }

    struct Seen {
        bool beam = false;
        bool spray = false;
        bool missile = false;
        std::string shields = "100";
        std::string lives = "1000";
    };

    rt::Runtime m_runtime;
    std::mt19937 m_random;
    Tally& m_tally;
    boss::Boss* m_boss = nullptr;
    Seen m_was;
};

// Whatever the player does and whatever is shot away, each weapon has exactly one of its two
// timers running after every tick, and the shields stay between 1 and 100.
TEST(WeaponsSoak, RandomFightsKeepEveryWeaponInStep)
{
    Tally tally;
    for (unsigned seed = 1; seed <= kFights; ++seed)
        Fight(seed, tally).run();

    std::cout << kFights << " fights, " << tally.ticks << " ticks: " << tally.firings
              << " beam firings, " << tally.sprays << " sprays, " << tally.launches << " missiles, "
              << tally.shieldHits << " shield hits, " << tally.livesLost
              << " lives lost; at the end " << tally.spentSides << " spent sides, "
              << tally.frozenGates << " frozen gates, " << tally.silencedBeams
              << " fights without beams\n";
    EXPECT_EQ(tally.brokenRules, 0);
    EXPECT_GT(tally.firings, kFights);
    EXPECT_GT(tally.sprays, kFights);
    EXPECT_GT(tally.launches, kFights);
    EXPECT_GT(tally.livesLost, 0);
    EXPECT_GT(tally.spentSides, 0);
    EXPECT_GT(tally.frozenGates, 0);
    EXPECT_GT(tally.silencedBeams, 0);
}

} // namespace
