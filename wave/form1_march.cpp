#include "wave/form1.h"

#include "boss/boss.h"
#include "runtime/counter.h"

namespace wave {

namespace {
constexpr float kRevivalLine = 100;    // a dead enemy carried below this comes back to life
constexpr float kMarchStep = 50;       // twips every enemy moves sideways per tick
constexpr float kRightTurnLine = 9000; // a living enemy right of this turns the block left
constexpr float kLeftTurnLine = 200;   // and one left of this turns it right
constexpr float kTurnDrop = 150;       // the block drops this much per turning enemy
constexpr float kBottomLine = 5400;    // a living enemy below this has reached the ship's row
constexpr float kPushBack = 3000;      // which costs a life and lifts the whole block this much
constexpr double kFormationSize = 28;  // this many down at the end of a tick clears the wave
constexpr int kLastEnemy = 27;
} // namespace

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
}

} // namespace wave
