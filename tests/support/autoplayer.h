#pragma once

#include "boss/boss.h"
#include "runtime/counter.h"
#include "runtime/runtime.h"
#include "title/dialog.h"
#include "title/form2.h"
#include "wave/form1.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>

namespace autoplay {

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

    explicit Player(rt::Runtime& runtime, std::uint32_t seed = 1) : m_runtime(runtime), m_seed(seed)
    {
    }

    // From the title: "Start", then "OK" on the name dialog.
    void startGame()
    {
        m_runtime.dispatch([this] { m_runtime.form<title::Form2>().Show(); });
        m_runtime.click(m_runtime.form<title::Form2>().Start);
        m_runtime.click(m_runtime.form<title::Dialog>().OKButton);
    }

    // One look, perhaps a key, then the game runs on until the next look: a thirtieth of a second
    // or a little more, by the player's own draw.
    void step()
    {
        look();
        m_runtime.scheduler().advanceUs(untilNextLookUs());
    }
    std::int64_t untilNextLookUs()
    {
        m_seed = m_seed * 1664525u + 1013904223u;
        return kLookUs + (m_seed >> 16) % kLookJitterUs;
    }

    // On each fresh boss stage, spend this long without firing, going where each weapon reaches
    // the ship before attacking (see `linger`); 0, the default, attacks at once.
    void setLingerUs(std::int64_t us) { m_lingerUs = us; }

    // The game is over once the wave stage has been closed by the high-score table.
    bool gameOver() const { return !m_runtime.isLoaded<wave::Form1>(); }
    // Boss fights won so far: each ends with the wave stage back on screen.
    int loopsCleared() const { return m_loops; }
    // The last look saw the wave stage back from a boss fight.
    bool justCleared() const { return m_justCleared; }
    std::int64_t nowUs() const { return m_runtime.scheduler().now(); }

    // One look at the screen and at most one key.
    void look()
    {
        m_justCleared = false;
        if (m_runtime.isLoaded<boss::Boss>() && m_runtime.form<boss::Boss>().visible()) {
            boss::Boss& b = m_runtime.form<boss::Boss>();
            if (!m_onBoss) { // a fresh boss: its shot slots start again from the first
                m_onBoss = true;
                m_bossShots = 0;
                m_bossSinceUs = nowUs();
                m_spot = Spot::Sight;
                m_seenShields = rt::counter(b.Shields);
            }
            press(b, lingering() ? linger(b) : decide(b), m_bossShots);
            return;
        }
        if (!m_runtime.isLoaded<wave::Form1>())
            return;
        wave::Form1& f = m_runtime.form<wave::Form1>();
        if (!f.visible())
            return;
        if (m_onBoss) {
            m_onBoss = false;
            m_justCleared = true;
            ++m_loops;
            m_watchingMarch = false;
        }
        watchMarch(f);
        foreseeMarch(f);
        press(f, decide(f), m_waveShots);
    }

private:
    struct Target {
        float shipLeft; // where the ship should stand for the next shot
        float distance; // how far that is from where it stands, less a bonus for low rows
    };

    template <class Stage> Action decide(Stage& s)
    {
        if (const std::optional<Action> away = dodge(s))
            return *away;
        return attack(s);
    }

    // `shots` counts the presses of Space on this window: the slot the next shot takes.
    void press(rt::Form& window, Action action, int& shots)
    {
        constexpr int kKeys[] = {0, stage::kKeyLeft, stage::kKeyRight, stage::kKeySpace};
        if (action == Action::None)
            return;
        if (action == Action::Fire)
            ++shots;
        m_runtime.keyDown(window, kKeys[static_cast<int>(action)], 0);
    }

    // ---- What the ship has to keep out of ----

    // The wave stage's bomb hits when its left edge lies strictly inside the ship's span.
    std::optional<Action> dodge(wave::Form1& f) const
    {
        if (!f.bomb.Visible || f.bomb.Top > f.Player.Top + f.Player.Height)
            return std::nullopt;
        return stepAside(f.Player, f.bomb.Left, f.bomb.Left);
    }

    // The boss's weapons come later; nothing falls on the ship yet.
    std::optional<Action> dodge(boss::Boss&) const { return std::nullopt; }

    // One step out of the way of something that falls on the ship with its left edge somewhere
    // in [from, to]: towards the side that needs fewer steps and is still open.
    static std::optional<Action> stepAside(const rt::PictureBox& ship, float from, float to)
    {
        const float left = ship.Left;
        if (to <= left || from >= left + ship.Width)
            return std::nullopt;
        const float stepsRight = std::ceil((to - left) / stage::kShipStep);
        const float stepsLeft = std::ceil((left + ship.Width - from) / stage::kShipStep);
        const bool canRight = left < stage::kRightBound;
        const bool canLeft = left > stage::kLeftBound;
        if (canRight && (!canLeft || stepsRight <= stepsLeft))
            return Action::Right;
        if (canLeft)
            return Action::Left;
        return std::nullopt;
    }

    // Would a step put the ship under the bomb?
    static bool stepsIntoBomb(const wave::Form1& f, Action action)
    {
        if (!f.bomb.Visible || f.bomb.Top > f.Player.Top + f.Player.Height)
            return false;
        const float left =
            f.Player.Left + (action == Action::Right ? 1.0f : -1.0f) * stage::kShipStep;
        return f.bomb.Left > left - kBombRoom && f.bomb.Left < left + f.Player.Width + kBombRoom;
    }

    // ---- Going for the target ----

    // The next shot leaves from the ship's left edge, centre or right edge, by the slot it takes.
    static float shotOffset(const rt::PictureBox& ship, const rt::Shape& shot, int presses)
    {
        const float offsets[] = {0, ship.Width / 2 - shot.Width / 2, ship.Width - shot.Width};
        return offsets[presses % stage::kShotSlots % 3];
    }

    // Milliseconds until a shot fired now from `from` climbs past `bottom`.
    static double flightMs(float from, float bottom)
    {
        const float climb = std::max(0.0f, from - bottom);
        return (std::floor(climb / stage::kShotClimb) + 1) * kShotTickMs;
    }

    // The wave stage: the march is seen as the enemies move; its pace follows from the level.
    void watchMarch(const wave::Form1& f)
    {
        for (int e = 0; e < wave::kFormationSize; ++e) {
            const float left = f.Enemy(e).Left;
            const float before = m_seenLeft[static_cast<std::size_t>(e)];
            m_seenLeft[static_cast<std::size_t>(e)] = left;
            if (!f.Enemy(e).Visible || !m_watchingMarch)
                continue;
            const float moved = left - before;
            if (moved != 0 && std::abs(moved) <= kMaxSeenMarch)
                m_marchDirection = moved > 0 ? 1.0f : -1.0f;
        }
        m_watchingMarch = true;
    }

    double marchMs(const wave::Form1& f) const
    {
        if (f.Level.Caption == wave::kTopLevel)
            return wave::kMarchSpeedup.floor;
        const double level = rt::counter(f.Level);
        return std::max(kFastestMarchMs, kFirstMarchMs - 25 * (level - 1));
    }

    // The block's sideways offset after each number of march ticks from now, turning at the lines
    // by where its living enemies stand.
    void foreseeMarch(const wave::Form1& f)
    {
        float lowest = 1e9f, highest = -1e9f;
        for (int k = 0; k < wave::kFormationSize; ++k)
            if (f.Enemy(k).Visible) {
                lowest = std::min(lowest, f.Enemy(k).Left.value());
                highest = std::max(highest, f.Enemy(k).Left.value());
            }
        float offset = 0;
        float direction = m_marchDirection;
        m_offsetAfter[0] = 0;
        for (std::size_t s = 1; s < m_offsetAfter.size(); ++s) {
            offset += direction * wave::kMarchStep;
            if (direction > 0 && highest + offset > wave::kRightTurnLine)
                direction = -1;
            else if (direction < 0 && lowest + offset < wave::kLeftTurnLine)
                direction = 1;
            m_offsetAfter[s] = offset;
        }
        m_marchMs = marchMs(f);
    }

    // Where enemy e's left edge stands once `ms` have passed.
    float predictedLeft(const wave::Form1& f, int e, double ms) const
    {
        const auto steps = static_cast<std::size_t>(ms / m_marchMs + 0.5);
        return f.Enemy(e).Left + m_offsetAfter[std::min(steps, m_offsetAfter.size() - 1)];
    }

    // The lowest living enemy that a shot leaving from x now will meet, if any.
    std::optional<int> enemyMet(const wave::Form1& f, float x, float from) const
    {
        std::optional<int> met;
        for (int e = 0; e < wave::kFormationSize; ++e) {
            const rt::PictureBox& enemy = f.Enemy(e);
            if (!enemy.Visible || enemy.Top >= from - stage::kShotClimb)
                continue;
            const float left = predictedLeft(f, e, flightMs(from, enemy.Top + enemy.Height));
            if (x <= left + kAimMargin || x >= left + enemy.Width - kAimMargin)
                continue;
            if (!met || enemy.Top > f.Enemy(*met).Top)
                met = e;
        }
        return met;
    }

    Action attack(wave::Form1& f)
    {
        if (!m_watchingMarch)
            return Action::None;
        const int slot = m_waveShots % stage::kShotSlots;
        const float offset = shotOffset(f.Player, f.Lasers(slot), m_waveShots);
        const float ship = f.Player.Left;
        const bool slotFree = f.Lasers(slot).Top >= stage::kFloorLine;
        if (slotFree && enemyMet(f, ship + offset, f.Player.Top))
            return Action::Fire;
        std::optional<Target> best;
        for (int e = 0; e < wave::kFormationSize; ++e) {
            const rt::PictureBox& enemy = f.Enemy(e);
            if (!enemy.Visible)
                continue;
            const double ms = flightMs(f.Player.Top, enemy.Top + enemy.Height);
            const float centre = predictedLeft(f, e, ms) + enemy.Width / 2 - offset;
            const float place = reachable(ship, centre);
            const float distance = std::abs(place - ship) - enemy.Top / kRowWorth;
            if (!best || distance < best->distance)
                best = Target{place, distance};
        }
        if (!best || std::abs(best->shipLeft - ship) < stage::kShipStep / 2)
            return slotFree ? Action::Fire : Action::None; // a shot from the next slot may reach
        const Action toward = best->shipLeft > ship ? Action::Right : Action::Left;
        return stepsIntoBomb(f, toward) ? Action::None : toward;
    }

    // ---- Lingering on the boss stage ----

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

    bool lingering() const { return m_lingerUs > 0 && nowUs() - m_bossSinceUs < m_lingerUs; }

    // No shots: one step a look towards the current spot.
    Action linger(boss::Boss& b)
    {
        // A hit shows as a drop of the Shields caption by the weapons' damages, as the rules give
        // them; a rise is a life lost, which tells nothing.
        const double drop = m_seenShields - rt::counter(b.Shields);
        m_seenShields = rt::counter(b.Shields);
        const double beams = std::floor(drop / boss::kBeamDamage) * boss::kBeamDamage;
        const bool sprayHit = drop > 0 && drop - beams >= boss::kSprayDamage;
        const bool beamHit = drop > 0 && beams > 0;
        if ((m_spot == Spot::Sight && b.Missile(0).Visible) ||
            (m_spot == Spot::Missile && !b.Missile(0).Visible) ||
            (m_spot == Spot::Spray && sprayHit) || (m_spot == Spot::Beam && beamHit))
            m_spot = static_cast<Spot>(static_cast<int>(m_spot) + 1);
        const float ship = b.Player.Left;
        const float place = reachable(ship, lingerSpot(b));
        if (std::abs(place - ship) < stage::kShipStep / 2)
            return Action::None;
        return place > ship ? Action::Right : Action::Left;
    }

    // The ship's Left for the current spot. The spray hits the ship while its left edge is inside
    // it, a beam while its tip is, and the boss launches a missile while a sight is.
    float lingerSpot(const boss::Boss& b) const
    {
        const float width = b.Player.Width;
        const rt::PictureBox& muzzle = b.BossPart(boss::kSprayMuzzle);
        const float spray = b.Spray.Visible ? b.Spray.Left.value() : muzzle.Left + kSprayFromMuzzle;
        const rt::PictureBox& left = b.BossPart(boss::kLeftEmitter);
        const float leftTip = left.Left + left.Width + kLeftBeamReach;
        const float rightTip = b.BossPart(boss::kRightEmitter).Left - kRightBeamReach;
        const float weapons = (leftTip + spray - width) / 2; // the left tip and the spray
        const float clear = (spray + rightTip - width) / 2;
        const bool beamOn = b.beam1.Visible || b.beam2.Visible;
        switch (m_spot) {
        case Spot::Sight:
            return b.Lsight1.Left - width / 2;
        case Spot::Spray:
            return beamOn ? clear : weapons;
        case Spot::Beam:
            return (std::max(rightTip - width, spray) +
                    std::min(rightTip, b.Lsight2.Left - width)) /
                   2;
        case Spot::Missile:
        case Spot::Clear:
            break;
        }
        return clear;
    }

    // The boss stage: dig a column up to the core and shoot into it.
    Action attack(boss::Boss& b)
    {
        const rt::PictureBox& core = b.BossPart(boss::kCore);
        if (!core.Visible)
            return Action::None; // the blast is running
        const float coreLeft = core.Left;
        if (m_seenCoreLeft != coreLeft && std::abs(m_seenCoreLeft - coreLeft) <= boss::kBossStep)
            m_bossDirection = coreLeft > m_seenCoreLeft ? 1.0f : -1.0f;
        m_seenCoreLeft = coreLeft;

        const int slot = m_bossShots % stage::kShotSlots;
        const float offset = shotOffset(b.Player, b.Lasers(slot), m_bossShots);
        const double ms = flightMs(b.Player.Top, core.Top + core.Height);
        const float drift = m_bossDirection * boss::kBossStep * static_cast<float>(ms / kBossMs);
        const float left = coreLeft + drift;
        const float x = b.Player.Left + offset;
        const bool slotFree = b.Lasers(slot).Top >= stage::kFloorLine;
        if (x > left + kAimMargin && x < left + core.Width - kAimMargin)
            return slotFree ? Action::Fire : Action::None;
        const float ship = b.Player.Left;
        const float place = reachable(ship, left + core.Width / 2 - offset);
        if (std::abs(place - ship) < stage::kShipStep / 2)
            return slotFree ? Action::Fire : Action::None;
        return place > ship ? Action::Right : Action::Left;
    }

    // The ship place nearest to `want` that whole steps from `ship` can reach.
    static float reachable(float ship, float want)
    {
        const float steps = std::round((want - ship) / stage::kShipStep);
        float place = ship + steps * stage::kShipStep;
        while (place > stage::kRightBound + stage::kShipStep)
            place -= stage::kShipStep;
        while (place < stage::kLeftBound - stage::kShipStep)
            place += stage::kShipStep;
        return place;
    }

    // What the player knows of the game's pace, as a player learns it by watching.
    static constexpr double kShotTickMs = 15.625;
    static constexpr double kFirstMarchMs = 301;
    static constexpr double kFastestMarchMs = 26;
    static constexpr double kBossMs = 400;
    static constexpr float kSprayFromMuzzle = 120; // the spray's left edge from the muzzle's left
    static constexpr float kLeftBeamReach = 3015;  // the left beam's tip from its emitter's right
    static constexpr float kRightBeamReach = 2895; // the right beam's tip from its emitter's left
    static constexpr float kMaxSeenMarch = 100;    // more than this between looks is no march
    // How the player plays.
    static constexpr float kAimMargin = 60; // room inside a box for a misjudged tick
    static constexpr float kBombRoom = 20;
    static constexpr float kRowWorth = 2; // lower enemies first: a row down is worth 450 twips

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
    double m_marchMs = kFirstMarchMs;
    float m_seenCoreLeft = 0;
    float m_bossDirection = 1;
    std::int64_t m_lingerUs = 0;
    std::int64_t m_bossSinceUs = 0;
    Spot m_spot = Spot::Sight;
    double m_seenShields = 0;
};

} // namespace autoplay
