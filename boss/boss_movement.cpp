#include "boss/boss.h"

namespace boss {

// One step of the boss to the right; an intact part past the turning line turns it, from the next
// tick on. Destroyed parts move along but never turn it, so its travel widens as it loses parts.
void Boss::tmrBossRight_Timer()
{
    wrapPastRightEdge();
    wrapPastLeftEdge();
    moveSights(kBossStep);
    for (int i = 0; i <= kLastPart; ++i) {
        BossPart(i).Left = BossPart(i).Left + kBossStep;
        if (BossPart(i).Left > kRightTurnLine && BossPart(i).Visible) {
            tmrBossRight.Enabled = false;
            tmrBossLeft.Enabled = true;
        }
    }
}

// The left step mirrors the right one, but only the right-edge wrap is looked at.
void Boss::tmrBossLeft_Timer()
{
    wrapPastRightEdge();
    moveSights(-kBossStep);
    for (int i = 0; i <= kLastPart; ++i) {
        BossPart(i).Left = BossPart(i).Left - kBossStep;
        if (BossPart(i).Left < kLeftTurnLine && BossPart(i).Visible) {
            tmrBossRight.Enabled = true;
            tmrBossLeft.Enabled = false;
        }
    }
}

// A boss that has drifted off the window's right edge comes back in at the left.
void Boss::wrapPastRightEdge()
{
    if (BossPart(kWrapReference).Left > Width)
        rePlaceBody();
}

// One whose lower right part has passed the left edge is pulled back to the same place.
void Boss::wrapPastLeftEdge()
{
    if (BossPart(kLowerRightPart).Left < 0)
        rePlaceBody();
}

// The whole body shifts by one amount, taken once, so that part 47 stands at -100; the sights stay.
void Boss::rePlaceBody()
{
    const float shift = BossPart(kWrapReference).Left - kWrapLeft;
    for (int i = 0; i <= kLastPart; ++i)
        BossPart(i).Left = BossPart(i).Left - shift;
}

void Boss::moveSights(float step)
{
    Lsight1.Left = Lsight1.Left + step;
    Lsight2.Left = Lsight2.Left + step;
}

} // namespace boss
