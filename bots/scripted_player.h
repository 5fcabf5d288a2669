#pragma once

#include "runtime/core/runtime.h"
#include "wave/constants.h"

#include <array>
#include <cstdint>
#include <optional>

namespace boss {
class Boss;
}
namespace wave {
class Form1;
}

namespace bots {

// What the player does at one look at the screen: one key at most.
enum class Action { None, Left, Right, Fire };

// A scripted player of the real game on the virtual clock. It has what a person has: it looks at
// the visible window about 30 times a second (the positions and visibility of what is drawn, and
// the captions shown) and answers with at most one of the three keys per look. Each look decides
// in two steps: first get out of the way of whatever is falling on the ship (`dodge`), then go
// for the target (`attack`); a new weapon to avoid is one more case in `dodge`.
class Player {
public:
    static constexpr std::int64_t kLookUs = 33'334; // 30 looks, and so at most 30 keys, a second
    static constexpr std::uint32_t kLookJitterUs = 4'000;

    explicit Player(rt::Runtime& runtime, std::uint32_t seed = 1);

    // From the title: "Start", then "OK" on the name dialog.
    void startGame();

    // One look, perhaps a key, then the game runs on until the next look: a thirtieth of a second
    // or a little more, by the player's own draw.
    void step();
    std::int64_t untilNextLookUs();

    // On each fresh boss stage, spend this long without firing, going where each weapon reaches
    // the ship before attacking (see `linger`); 0, the default, attacks at once.
    void setLingerUs(std::int64_t us) { m_lingerUs = us; }

    // From now on, walk under the wave stage's bombs instead of playing: the quick way to a
    // game lost, for a recording that ends on the table.
    void seekBombs() { m_seekingBombs = true; }

    // The game is over once the wave stage has been closed by the high-score table.
    bool gameOver() const;
    // Boss fights won so far: each ends with the wave stage back on screen.
    int loopsCleared() const { return m_loops; }
    // The last look saw the wave stage back from a boss fight.
    bool justCleared() const { return m_justCleared; }
    std::int64_t nowUs() const;

    // One look at the screen and at most one key.
    void look();

private:
    // The places the lingering ship visits in turn; each moves with the boss.
    enum class Spot {
        // Centred under the left sight, until a missile flies.
        Sight,
        // Out of the other weapons' reach (as Clear), until the homing missile has hit.
        Missile,
        // Under the spray's left edge, which falls just right of the left beam's tip: there while
        // no beam fires, until the spray hits.
        Spray,
        // Under the right beam's tip, clear of the spray and the right sight, until a beam hits.
        Beam,
        // Between the spray and the right beam's tip, until the time is up.
        Clear,
    };

    template <class Stage> Action decide(Stage& s);
    // `shots` counts the presses of Space on this window: the slot the next shot takes.
    void press(rt::Form& window, Action action, int& shots);

    // The wave stage: the march is seen as the enemies move; its pace follows from the level.
    void watchMarch(const wave::Form1& f);
    // The block's sideways offset after each number of march ticks from now, turning at the lines
    // by where its living enemies stand.
    void foreseeMarch(const wave::Form1& f);
    // Where enemy e's left edge stands once `ms` have passed.
    float predictedLeft(const wave::Form1& f, int e, double ms) const;
    // The lowest living enemy that a shot leaving from x now will meet, if any.
    std::optional<int> enemyMet(const wave::Form1& f, float x, float from) const;
    Action attack(wave::Form1& f);

    bool lingering() const;
    // No shots: one step a look towards the current spot.
    Action linger(boss::Boss& b);
    // The ship's Left for the current spot.
    float lingerSpot(const boss::Boss& b) const;
    // The boss stage: dig a column up to the core and shoot into it.
    Action attack(boss::Boss& b);

    rt::Runtime& m_runtime;
    std::uint32_t m_seed;
    int m_loops = 0;
    bool m_justCleared = false;
    bool m_onBoss = false;
    int m_waveShots = 0;
    int m_bossShots = 0;
    std::array<float, wave::kFormationSize> m_seenLeft{};
    bool m_watchingMarch = false; // the last look saw the wave stage: moves can be told
    float m_marchDirection = 1;
    std::array<float, 128> m_offsetAfter{};
    double m_marchMs;
    float m_seenCoreLeft = 0;
    float m_bossDirection = 1;
    bool m_seekingBombs = false;
    std::int64_t m_lingerUs = 0;
    std::int64_t m_bossSinceUs = 0;
    Spot m_spot = Spot::Sight;
    double m_seenShields = 0;
};

} // namespace bots
