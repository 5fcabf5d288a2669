#include "boss/boss.h"

#include "runtime/core/hit.h"
#include "runtime/text/counter.h"
#include "stage/sounds.h"
#include "wave/form1.h"

namespace boss {

// Every shot in flight climbs, sets off the blast if it is in the core, and shoots away the first
// intact part, in index order, whose box holds its top-left corner; then the run ends if the lives
// have run out.
void Boss::tmrfire_Timer()
{
    for (int i = 0; i <= stage::kLastSlot; ++i) {
        if (Lasers(i).Top < stage::kFloorLine) {
            stage::climb(Lasers(i));
            if (rt::topLeftInside(Lasers(i), BossPart(kCore)))
                hitCore();
            for (int j = 0; j <= kLastPart; ++j)
                if (BossPart(j).Visible && rt::topLeftInside(Lasers(i), BossPart(j)))
                    destroyPart(i, j);
        }
        stage::parkIfOffField(ship(), i);
    }
    if (rt::counter(Lives) < 0)
        endRun();
}

// The core goes whether or not it still stands, so a later shot through its place only restarts
// what is already running. The shot flies on and nothing is scored. The blast sounds once, as the
// core goes, however many ticks the shot takes to climb through its place.
void Boss::hitCore()
{
    if (BossPart(kCore).Visible)
        Play(stage::kBlastSound);
    BossPart(kCore).Visible = false;
    tmrNuke.Enabled = true;
    Ring(0).Visible = true;
    Ring(1).Visible = true;
    Ring(2).Visible = true;
}

// A parked shot lies below every part, so one shot takes one part.
void Boss::destroyPart(int shot, int j)
{
    BossPart(j).Visible = false;
    stage::parkShot(Lasers(shot));
    rt::setCounter(Score, rt::counter(Score) + kPartScore);
    Play(stage::kBlockSound);
}

// The wave stage keeps the record of the game, so the table takes the score from there. The stage
// closes inside its own tick: nothing of it is touched after the unload.
void Boss::endRun()
{
    wave::Form1& wave = Form1();
    wave.Score.Caption = Score.Caption;
    Unload(*this);
    wave.endGame();
}

} // namespace boss
