#include "wave/form1.h"

#include "runtime/counter.h"
#include "runtime/runtime.h"

namespace wave {

namespace {
constexpr int kEnemyCount = 28;        // range of the bomber draw
constexpr double kAllDown = 28;        // with every enemy down the first draw stands
constexpr float kBombStep = 100;       // twips the bomb falls per tick
constexpr float kBombSpentLine = 6500; // a bomb below this is spent
} // namespace

// Picks a living enemy at random and puts the bomb at its top-left corner.
void Form1::bombwait_Timer()
{
    int i = drawEnemyIndex();
    if (rt::counter(Ghosts) < kAllDown)
        while (!Enemy(i).Visible)
            i = drawEnemyIndex();
    bomb.Top = Enemy(i).Top;
    bomb.Left = Enemy(i).Left;
    tmrBomb.Enabled = true;
    bombwait.Enabled = false;
}

int Form1::drawEnemyIndex()
{
    return static_cast<int>(runtime().random().next() * static_cast<float>(kEnemyCount));
}

// The bomb falls; its top-left corner strictly inside the ship costs a life.
void Form1::tmrBomb_Timer()
{
    bomb.Top = bomb.Top + kBombStep;
    bomb.Visible = true;
    if (bombHitsShip()) {
        rt::setCounter(Lives, rt::counter(Lives) - 1);
        bomb.Visible = false;
        tmrBomb.Enabled = false;
        bombwait.Enabled = true;
    }
    if (bomb.Top > kBombSpentLine) {
        tmrBomb.Enabled = false;
        bombwait.Enabled = true;
    }
}

bool Form1::bombHitsShip() const
{
    return bomb.Top > Player.Top && Player.Height + Player.Top > bomb.Top &&
           bomb.Left > Player.Left && Player.Width + Player.Left > bomb.Left;
}

} // namespace wave
