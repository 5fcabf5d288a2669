#include "boss/boss.h"

#include "runtime/core/hit.h"
#include "stage/sounds.h"

#include <algorithm>

namespace boss {

// While no missile flies the boss watches both sights; a ship under a sight draws a missile from
// that side's launch point as long as any part of its launcher stands, and a spent side's sight
// goes out instead. The right side is looked at last, so it would win a tie.
void Boss::tmrHoming_Timer()
{
    watchSight(Lsight1, kLeftLauncher, kLeftLaunchPoint);
    watchSight(Lsight2, kRightLauncher, kRightLaunchPoint);
    if (Missile(0).Visible) {
        tmrHoming.Enabled = false;
        tmrMissiles.Enabled = true;
    }
}

// The sight's own Visible is not looked at: a hidden sight still sees the ship, and hides again.
void Boss::watchSight(rt::PictureBox& sight, std::span<const int> launcher, int launchPoint)
{
    if (!rt::strictlyAcross(sight.Left, Player))
        return;
    const bool armed = std::any_of(launcher.begin(), launcher.end(),
                                   [this](int part) { return BossPart(part).Visible.value(); });
    if (!armed) {
        sight.Visible = false;
        return;
    }
    const rt::PictureBox& from = BossPart(launchPoint);
    Missile(0).Left = from.Left + from.Width / 2;
    Missile(0).Top = from.Top;
    Missile(0).Visible = true;
    Play(stage::kMissileLaunchSound);
}

// One flight step: steer and drop first, then every test on the new place. A hit on the ship
// costs 50 once; a shot's box or the floor only take the missile away. Once it is gone the
// launcher watches the sights again from the next tick.
void Boss::tmrMissiles_Timer()
{
    rt::PictureBox& missile = Missile(0);
    steerMissile(missile);
    missile.Top = missile.Top + kMissileDrop;
    if (missile.Visible && rt::bottomLeftInside(missile, Player)) {
        missile.Visible = false;
        Play(stage::kMissileHitSound);
        damageShields(kMissileDamage);
    }
    if (shotDown(missile))
        missile.Visible = false;
    if (pastFloor(missile))
        missile.Visible = false;
    if (!missile.Visible) {
        tmrMissiles.Enabled = false;
        tmrHoming.Enabled = true;
    }
}

// The missile's left edge chases the ship's centre a full step at a time; a tie steers left.
void Boss::steerMissile(rt::PictureBox& missile)
{
    const float shipCentre = Player.Left + Player.Width / 2;
    if (shipCentre > missile.Left)
        missile.Left = missile.Left + kMissileSlew;
    else
        missile.Left = missile.Left - kMissileSlew;
}

// Any of the ten shot boxes holding the missile's bottom-left corner, in flight or parked, shown
// or not, brings it down; the shot flies on and scores nothing.
bool Boss::shotDown(const rt::PictureBox& missile)
{
    bool hit = false;
    for (int i = 0; i <= stage::kLastSlot; ++i)
        hit = rt::bottomLeftInside(missile, Lasers(i)) || hit;
    return hit;
}

} // namespace boss
