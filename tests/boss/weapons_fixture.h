#pragma once

#include "support/game_harness.h"

#include <array>
#include <functional>
#include <string>

// The wave stage stops its five timers when it hands over to the boss.
inline void stopWaveStage(wave::Form1& f)
{
    for (rt::Timer* t : {&f.tmrfire, &f.tmrAliensRight, &f.tmrAliensLeft, &f.bombwait, &f.tmrBomb})
        t->Enabled = false;
}

inline std::array<rt::Timer*, 11> bossTimers(boss::Boss& b)
{
    return {&b.tmrfire,     &b.tmrHoming,    &b.Fade1,       &b.tmrMiniGun,
            &b.tmrbeamwait, &b.tmrBossRight, &b.tmrBossLeft, &b.tmrBeam,
            &b.tmrMissiles, &b.tmrDischarge, &b.tmrNuke};
}

// Where the spray and the missile hit: their bottom-left corner against the ship's box, here
// with the ship at Left 4000 (4000..4560 across, 6000..6648 down from the layout's Top).
constexpr float kShipLeft = 4000;
struct CornerCase {
    float x, y;
    bool hits;
};
constexpr CornerCase kCornersOnTheShip[] = {
    {4280, 6300, true},  {4000, 6300, false}, {4001, 6300, true},
    {4560, 6300, false}, {4559, 6300, true},  {4280, 6000, false},
    {4280, 6001, true},  {4280, 6648, false}, {4280, 6647, true},
};

// The boss stage with every timer stopped and the boss standing still: a test switches on the
// weapon it looks at, or runs its handlers one tick at a time.
class BossWeapons : public GameHarness {
protected:
    boss::Boss& b = quietBoss();

    // One tick of a handler, run as the timer would run it.
    template <class Handler> void tick(Handler handler)
    {
        handle([this, handler] { std::invoke(handler, b); });
    }
    std::string shields() const { return b.Shields.Caption; }
    std::string lives() const { return b.Lives.Caption; }

private:
    boss::Boss& quietBoss()
    {
        boss::Boss& boss = form<boss::Boss>();
        stopWaveStage(Form1());
        for (rt::Timer* t : bossTimers(boss))
            t->Enabled = false;
        return boss;
    }
};
