#include "wave/form1.h"

#include "runtime/core/hit.h"
#include "runtime/core/runtime.h"
#include "runtime/text/counter.h"
#include "stage/sounds.h"
#include "wave/constants.h"

namespace wave {

// Picks a living enemy at random and puts the bomb at its top-left corner.
void Form1::bombwait_Timer()
{
    int i = drawEnemyIndex();
    if (rt::counter(Ghosts) < kFormationSize)
        while (!Enemy(i).Visible)
            i = drawEnemyIndex();
    bomb.Top = Enemy(i).Top;
    bomb.Left = Enemy(i).Left;
    tmrBomb.Enabled = true;
    bombwait.Enabled = false;
}

int Form1::drawEnemyIndex()
{
    return static_cast<int>(runtime().random().next() * static_cast<float>(kFormationSize));
}

// The bomb falls; its top-left corner strictly inside the ship costs a life.
void Form1::tmrBomb_Timer()
{
    bomb.Top = bomb.Top + kBombStep;
    bomb.Visible = true;
    if (rt::topLeftInside(bomb, Player)) {
        rt::setCounter(Lives, rt::counter(Lives) - 1);
        Play(stage::kBombHitSound);
        bomb.Visible = false;
        tmrBomb.Enabled = false;
        bombwait.Enabled = true;
    }
    if (bomb.Top > kBombSpentLine) {
        tmrBomb.Enabled = false;
        bombwait.Enabled = true;
    }
}

} // namespace wave
