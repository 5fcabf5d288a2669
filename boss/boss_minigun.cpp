#include "boss/boss.h"

#include "runtime/core/hit.h"
#include "runtime/text/counter.h"
#include "stage/sounds.h"

namespace boss {

// The countdown runs only while the gate stands; at zero the spray drops from the muzzle, which
// fires from its place whether or not it has been shot away.
void Boss::tmrMiniGun_Timer()
{
    if (BossPart(kMinigunGate).Visible)
        rt::setCounter(DischargeW, rt::counter(DischargeW) - 1);
    if (rt::counter(DischargeW) == kSprayNow)
        releaseSpray();
}

void Boss::releaseSpray()
{
    Spray.Visible = true;
    Play(stage::kSpraySound);
    Spray.Top = BossPart(kSprayMuzzle).Top;
    Spray.Left = BossPart(kSprayMuzzle).Left + kMuzzleOffset;
    tmrDischarge.Enabled = true;
    tmrMiniGun.Enabled = false;
}

// The spray falls straight down and drains the shields on every tick its bottom-left corner is
// inside the ship; past the floor it vanishes and the countdown starts again from 3.
void Boss::tmrDischarge_Timer()
{
    Spray.Top = Spray.Top + kSprayDrop;
    if (rt::bottomLeftInside(Spray, Player))
        damageShields(kSprayDamage);
    if (pastFloor(Spray)) {
        tmrMiniGun.Enabled = true;
        tmrDischarge.Enabled = false;
        DischargeW.Caption = kSprayCountdown;
        Spray.Visible = false;
    }
}

bool Boss::pastFloor(const rt::BoxControl& mover)
{
    const float bottom = mover.Top + mover.Height;
    return bottom > stage::kFloorLine;
}

} // namespace boss
