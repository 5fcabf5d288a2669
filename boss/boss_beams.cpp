#include "boss/boss.h"

#include "runtime/core/hit.h"
#include "runtime/text/counter.h"
#include "stage/sounds.h"

namespace boss {

// The emitters charge while at least one of them stands; a full charge shows the beam of every
// emitter still standing and hands over to the firing.
void Boss::tmrbeamwait_Timer()
{
    if (BossPart(kLeftEmitter).Visible || BossPart(kRightEmitter).Visible)
        rt::setCounter(Charge, rt::counter(Charge) + 1);
    charge2.Caption = Charge.Caption;
    if (rt::counter(Charge) > kFullCharge) {
        tmrBeam.Enabled = true;
        tmrbeamwait.Enabled = false;
        Charge.Caption = kNoCount;
        Play(stage::kBeamsSound);
        if (BossPart(kLeftEmitter).Visible)
            beam1.Visible = true;
        if (BossPart(kRightEmitter).Visible)
            beam2.Visible = true;
    }
}

// One firing tick: the beams follow their emitters, a tip over the ship drains the shields once
// however many beams are on it, and after six ticks both beams go out and charging starts over.
// A beam shown at the start of the firing keeps firing even if its emitter is shot away.
void Boss::tmrBeam_Timer()
{
    hangBeams();
    const bool leftOnShip = beam1.Visible && rt::strictlyAcross(beam1.Left + beam1.Width, Player);
    const bool rightOnShip = beam2.Visible && rt::strictlyAcross(beam2.Left, Player);
    if (leftOnShip || rightOnShip)
        damageShields(kBeamDamage);
    rt::setCounter(Charge, rt::counter(Charge) + 1);
    charge2.Caption = Charge.Caption;
    if (rt::counter(Charge) > kFiringTicks) {
        Charge.Caption = kNoCount;
        tmrBeam.Enabled = false;
        tmrbeamwait.Enabled = true;
        beam1.Visible = false;
        beam2.Visible = false;
    }
}

// beam1 hangs from the left emitter's bottom-right corner, beam2 from the right emitter's
// bottom-left one; their tips are beam1's right edge and beam2's left edge.
void Boss::hangBeams()
{
    const rt::PictureBox& left = BossPart(kLeftEmitter);
    const rt::PictureBox& right = BossPart(kRightEmitter);
    beam1.Left = left.Width + left.Left;
    beam1.Top = left.Height + left.Top;
    beam2.Left = right.Left - beam2.Width;
    beam2.Top = right.Height + right.Top;
}

} // namespace boss
