#include "boss/boss.h"

#include "runtime/core/hit.h"

namespace boss {

// One step of the blast: the rings grow about a point fixed on the window, not on the boss, and
// every part whose centre lies inside the outer ring's box goes. Once the ring comes near the
// ship the stage is cleared, in this same tick.
void Boss::tmrNuke_Timer()
{
    Ring(0).Width = Ring(0).Width + kRingGrowWidth;
    Ring(0).Height = Ring(0).Height + kRingGrowHeight;
    centreOnBlast(Ring(0));
    // Each inner ring is a fraction of the one outside it, already grown this tick.
    for (int c = 1; c <= 2; ++c) {
        Ring(c).Width = Ring(c - 1).Width / static_cast<float>(c + 1);
        Ring(c).Height = Ring(c - 1).Height / static_cast<float>(c + 1);
        centreOnBlast(Ring(c));
    }
    for (int i = 0; i <= kLastPart; ++i) {
        const rt::PictureBox& part = BossPart(i);
        const float cx = part.Left + part.Width * 0.5f;
        const float cy = part.Top + part.Height * 0.5f;
        if (rt::strictlyInside(cx, cy, Ring(0)))
            BossPart(i).Visible = false;
    }
    if (Ring(0).Top + Ring(0).Height > Player.Top - kBlastEndMargin)
        returnToWaveStage();
}

// The window's own outer size places the centre, so the blast is the same on every desktop.
void Boss::centreOnBlast(rt::Shape& ring)
{
    ring.Left = Width / 2 - ring.Width / 2;
    ring.Top = Height / kBlastCentreDepth - ring.Height / 2;
}

} // namespace boss
