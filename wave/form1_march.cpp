#include "wave/form1.h"

#include "boss/boss.h"
#include "runtime/text/counter.h"
#include "stage/sounds.h"
#include "wave/constants.h"

namespace wave {

// One tick of the march to the right; the left march mirrors it. A turn found in this tick
// takes effect from the next one, which comes from the other timer.
void Form1::tmrAliensRight_Timer()
{
    for (int i = 0; i <= kLastEnemy; ++i) {
        reviveIfCarriedDown(i);
        Enemy(i).Left = Enemy(i).Left + kMarchStep;
        if (Enemy(i).Left > kRightTurnLine && Enemy(i).Visible) {
            dropFormation(kTurnDrop);
            tmrAliensRight.Enabled = false;
            tmrAliensLeft.Enabled = true;
        }
        pushBackIfAtBottom(i);
    }
    clearFormationIfAllDown();
}

void Form1::tmrAliensLeft_Timer()
{
    for (int i = 0; i <= kLastEnemy; ++i) {
        reviveIfCarriedDown(i);
        Enemy(i).Left = Enemy(i).Left - kMarchStep;
        if (Enemy(i).Left < kLeftTurnLine && Enemy(i).Visible) {
            dropFormation(kTurnDrop);
            tmrAliensLeft.Enabled = false;
            tmrAliensRight.Enabled = true;
        }
        pushBackIfAtBottom(i);
    }
    clearFormationIfAllDown();
}

void Form1::reviveIfCarriedDown(int i)
{
    if (Enemy(i).Top > kRevivalLine && !Enemy(i).Visible) {
        Enemy(i).Visible = true;
        rt::setCounter(Ghosts, rt::counter(Ghosts) - 1);
    }
}

// Every enemy moves, dead or alive, so the block keeps its shape.
void Form1::dropFormation(float drop)
{
    for (int j = 0; j <= kLastEnemy; ++j)
        Enemy(j).Top = Enemy(j).Top + drop;
}

void Form1::pushBackIfAtBottom(int i)
{
    if (Enemy(i).Top > kBottomLine && Enemy(i).Visible) {
        rt::setCounter(Lives, rt::counter(Lives) - 1);
        Play(stage::kLifeLostSound);
        dropFormation(-kPushBack);
    }
}

// The wave is cleared only if all 28 are down after this tick's revivals.
void Form1::clearFormationIfAllDown()
{
    if (rt::counter(Ghosts) != kFormationSize)
        return;
    tmrfire.Enabled = false;
    tmrAliensLeft.Enabled = false;
    tmrAliensRight.Enabled = false;
    tmrBomb.Enabled = false;
    bombwait.Enabled = false;
    Hide();
    Boss().Show();
    Play(stage::kBossArrivesSound);
}

} // namespace wave
