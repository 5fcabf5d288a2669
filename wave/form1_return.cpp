#include "wave/form1.h"

#include "runtime/text/counter.h"
#include "stage/sounds.h"
#include "wave/constants.h"

namespace wave {

namespace {

// Returns 1 when the timer was shortened, 0 when it was set to its floor.
int shorten(rt::Timer& timer, const Speedup& rule)
{
    if (timer.Interval > rule.above) {
        timer.Interval = timer.Interval - rule.by;
        return 1;
    }
    timer.Interval = rule.floor;
    return 0;
}

} // namespace

// The stage was left hidden with its timers stopped when the formation fell; it picks up from
// there with everything else as it was.
void Form1::startNextWave(double clearedScore)
{
    payStageBonus(clearedScore, speedUp());
    resumeMarch();
    rebuildFormation();
    tmrfire.Enabled = true;
}

// The four timers in order; returns how many of them could still be shortened.
int Form1::speedUp()
{
    int stepsUp = shorten(tmrAliensLeft, kMarchSpeedup);
    stepsUp += shorten(tmrAliensRight, kMarchSpeedup);
    stepsUp += shorten(tmrBomb, kBombSpeedup);
    stepsUp += shorten(bombwait, kBombWaitSpeedup);
    return stepsUp;
}

// Once nothing is left to shorten the level reads "MAX!!" for good and is never read as a number.
void Form1::payStageBonus(double clearedScore, int stepsUp)
{
    Play(stage::kLevelUpSound);
    if (stepsUp == 0) {
        Level.Caption = kTopLevel;
        rt::setCounter(Score, clearedScore + kTopBonus);
        return;
    }
    const double level = rt::counter(Level);
    rt::setCounter(Score, clearedScore + kLevelBonus * level);
    rt::setCounter(Level, level + 1);
}

// The march goes on the way the block was heading when it fell, judged by where it stood then.
void Form1::resumeMarch()
{
    if (Enemy(0).Left < kMarchMidLine)
        tmrAliensRight.Enabled = true;
    else
        tmrAliensLeft.Enabled = true;
    bombwait.Enabled = true;
}

// Every enemy stays dead: the march brings them back row by row as it carries them down.
void Form1::rebuildFormation()
{
    for (int i = 0; i <= kLastEnemy; ++i) {
        Enemy(i).Left = kColumnLeft[i % kColumns];
        Enemy(i).Top = kRowTop[i / kColumns];
    }
}

} // namespace wave
