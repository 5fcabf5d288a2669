#include "bots/scripted_player.h"

#include "boss/boss.h"
#include "runtime/text/counter.h"
#include "title/dialog.h"
#include "title/form2.h"
#include "wave/form1.h"

#include <algorithm>
#include <cmath>

namespace bots {

namespace {

// What the player knows of the game's pace, as a player learns it by watching.
constexpr double kShotTickMs = 15.625;
constexpr double kFirstMarchMs = 301;
constexpr double kFastestMarchMs = 26;
constexpr double kBossMs = 400;
constexpr float kSprayFromMuzzle = 120; // the spray's left edge from the muzzle's left
constexpr float kLeftBeamReach = 3015;  // the left beam's tip from its emitter's right
constexpr float kRightBeamReach = 2895; // the right beam's tip from its emitter's left
constexpr float kMaxSeenMarch = 100;    // more than this between looks is no march
// How the player plays.
constexpr float kAimMargin = 60; // room inside a box for a misjudged tick
constexpr float kBombRoom = 20;
constexpr float kRowWorth = 2; // lower enemies first: a row down is worth 450 twips

constexpr int kKeys[] = {0, stage::kKeyLeft, stage::kKeyRight, stage::kKeySpace}; // by Action

struct Target {
    float shipLeft; // where the ship should stand for the next shot
    float distance; // how far that is from where it stands, less a bonus for low rows
};

// ---- What the ship has to keep out of ----

// One step out of the way of something that falls on the ship with its left edge somewhere
// in [from, to]: towards the side that needs fewer steps and is still open.
std::optional<Action> stepAside(const rt::PictureBox& ship, float from, float to)
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

// The wave stage's bomb hits when its left edge lies strictly inside the ship's span.
std::optional<Action> dodge(const wave::Form1& f)
{
    if (!f.bomb.Visible || f.bomb.Top > f.Player.Top + f.Player.Height)
        return std::nullopt;
    return stepAside(f.Player, f.bomb.Left, f.bomb.Left);
}

// The boss's weapons come later; nothing falls on the ship yet.
std::optional<Action> dodge(const boss::Boss&) { return std::nullopt; }

// One step towards standing under the falling bomb, so that it hits.
Action under(const wave::Form1& f)
{
    if (!f.bomb.Visible || f.bomb.Top > f.Player.Top + f.Player.Height)
        return Action::None;
    const float middle = f.Player.Left + f.Player.Width / 2;
    if (std::abs(f.bomb.Left - middle) < stage::kShipStep)
        return Action::None;
    return f.bomb.Left > middle ? Action::Right : Action::Left;
}

// Would a step put the ship under the bomb?
bool stepsIntoBomb(const wave::Form1& f, Action action)
{
    if (!f.bomb.Visible || f.bomb.Top > f.Player.Top + f.Player.Height)
        return false;
    const float left = f.Player.Left + (action == Action::Right ? 1.0f : -1.0f) * stage::kShipStep;
    return f.bomb.Left > left - kBombRoom && f.bomb.Left < left + f.Player.Width + kBombRoom;
}

// ---- Going for the target ----

// The next shot leaves from the ship's left edge, centre or right edge, by the slot it takes.
float shotOffset(const rt::PictureBox& ship, const rt::Shape& shot, int presses)
{
    const float offsets[] = {0, ship.Width / 2 - shot.Width / 2, ship.Width - shot.Width};
    return offsets[presses % stage::kShotSlots % 3];
}

// Milliseconds until a shot fired now from `from` climbs past `bottom`.
double flightMs(float from, float bottom)
{
    const float climb = std::max(0.0f, from - bottom);
    return (std::floor(climb / stage::kShotClimb) + 1) * kShotTickMs;
}

double marchMs(const wave::Form1& f)
{
    if (f.Level.Caption == wave::kTopLevel)
        return wave::kMarchSpeedup.floor;
    const double level = rt::counter(f.Level);
    return std::max(kFastestMarchMs, kFirstMarchMs - 25 * (level - 1));
}

// The ship place nearest to `want` that whole steps from `ship` can reach.
float reachable(float ship, float want)
{
    const float steps = std::round((want - ship) / stage::kShipStep);
    float place = ship + steps * stage::kShipStep;
    while (place > stage::kRightBound + stage::kShipStep)
        place -= stage::kShipStep;
    while (place < stage::kLeftBound - stage::kShipStep)
        place += stage::kShipStep;
    return place;
}

} // namespace

Player::Player(rt::Runtime& runtime, std::uint32_t seed)
    : m_runtime(runtime), m_seed(seed), m_marchMs(kFirstMarchMs)
{
}

void Player::startGame()
{
    m_runtime.dispatch([this] { m_runtime.form<title::Form2>().Show(); });
    m_runtime.click(m_runtime.form<title::Form2>().Start);
    m_runtime.click(m_runtime.form<title::Dialog>().OKButton);
}

void Player::step()
{
    look();
    m_runtime.scheduler().advanceUs(untilNextLookUs());
}

std::int64_t Player::untilNextLookUs()
{
    m_seed = m_seed * 1664525u + 1013904223u;
    return kLookUs + (m_seed >> 16) % kLookJitterUs;
}

bool Player::gameOver() const { return !m_runtime.isLoaded<wave::Form1>(); }

std::int64_t Player::nowUs() const { return m_runtime.scheduler().now(); }

template <class Stage> Action Player::decide(Stage& s)
{
    if (const std::optional<Action> away = dodge(s))
        return *away;
    return attack(s);
}

void Player::press(rt::Form& window, Action action, int& shots)
{
    if (action == Action::None)
        return;
    if (action == Action::Fire)
        ++shots;
    m_runtime.keyDown(window, kKeys[static_cast<int>(action)], 0);
}

void Player::look()
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
    if (m_seekingBombs) {
        press(f, under(f), m_waveShots);
        return;
    }
    watchMarch(f);
    foreseeMarch(f);
    press(f, decide(f), m_waveShots);
}

void Player::watchMarch(const wave::Form1& f)
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

void Player::foreseeMarch(const wave::Form1& f)
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

float Player::predictedLeft(const wave::Form1& f, int e, double ms) const
{
    const auto steps = static_cast<std::size_t>(ms / m_marchMs + 0.5);
    return f.Enemy(e).Left + m_offsetAfter[std::min(steps, m_offsetAfter.size() - 1)];
}

std::optional<int> Player::enemyMet(const wave::Form1& f, float x, float from) const
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

Action Player::attack(wave::Form1& f)
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

bool Player::lingering() const { return m_lingerUs > 0 && nowUs() - m_bossSinceUs < m_lingerUs; }

Action Player::linger(boss::Boss& b)
{
    // A hit shows as a drop of the Shields caption by the weapons' damages, as the rules give
    // them; a rise is a life lost, which tells nothing.
    const double drop = m_seenShields - rt::counter(b.Shields);
    m_seenShields = rt::counter(b.Shields);
    const double beams = std::floor(drop / boss::kBeamDamage) * boss::kBeamDamage;
    const bool sprayHit = drop > 0 && drop - beams >= boss::kSprayDamage;
    const bool beamHit = drop > 0 && beams > 0;
    if ((m_spot == Spot::Sight && b.Missile(0).Visible) ||
        (m_spot == Spot::Missile && !b.Missile(0).Visible) || (m_spot == Spot::Spray && sprayHit) ||
        (m_spot == Spot::Beam && beamHit))
        m_spot = static_cast<Spot>(static_cast<int>(m_spot) + 1);
    const float ship = b.Player.Left;
    const float place = reachable(ship, lingerSpot(b));
    if (std::abs(place - ship) < stage::kShipStep / 2)
        return Action::None;
    return place > ship ? Action::Right : Action::Left;
}

// The spray hits the ship while its left edge is inside it, a beam while its tip is, and the boss
// launches a missile while a sight is.
float Player::lingerSpot(const boss::Boss& b) const
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
        return (std::max(rightTip - width, spray) + std::min(rightTip, b.Lsight2.Left - width)) / 2;
    case Spot::Missile:
    case Spot::Clear:
        break;
    }
    return clear;
}

Action Player::attack(boss::Boss& b)
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

} // namespace bots
