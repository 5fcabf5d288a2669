#include "wave/form1.h"

#include "runtime/core/hit.h"
#include "runtime/text/counter.h"
#include "stage/sounds.h"
#include "wave/constants.h"

namespace wave {

// Every shot in flight climbs and kills the first living enemy, in index order, whose box holds
// its top-left corner; then the game ends if the lives have run out.
void Form1::tmrfire_Timer()
{
    for (int i = 0; i <= stage::kLastSlot; ++i) {
        if (Lasers(i).Top < Line1.Y1) {
            stage::climb(Lasers(i));
            for (int j = 0; j <= kLastEnemy; ++j)
                if (Enemy(j).Visible && rt::topLeftInside(Lasers(i), Enemy(j)))
                    killEnemy(i, j);
        }
        stage::parkIfOffField(ship(), i);
    }
    if (rt::counter(Lives) < 0)
        endGame();
}

// A killed enemy is not removed: it is hidden, lifted, and marches on until the block carries it
// back down into the field.
void Form1::killEnemy(int shot, int j)
{
    Enemy(j).Visible = false;
    Enemy(j).Top = Enemy(j).Top - kKillLift;
    stage::parkShot(Lasers(shot));
    if (tmrAliensLeft.Interval < kFastMarchInterval)
        rt::setCounter(Score, rt::counter(Score) + kFastKillScore);
    else
        rt::setCounter(Score, rt::counter(Score) + rt::counter(Level) * kKillScoreFactor);
    rt::setCounter(Ghosts, rt::counter(Ghosts) + 1);
    Play(stage::kEnemyHitSound);
}

} // namespace wave
