#include "wave/form1.h"

#include "runtime/counter.h"

namespace wave {

namespace {
constexpr float kShotStep = 50;          // twips a shot in flight climbs per tick
constexpr float kParkTop = 6840;         // a spent shot waits in the status strip
constexpr float kTopLine = 100;          // a shot above this has left the field
constexpr float kKillLift = 3600;        // a killed enemy is lifted out of sight by this much
constexpr int kFastMarchInterval = 31;   // a left march faster than this (ms) pays the high score
constexpr double kFastKillScore = 2000;  // points per kill at the fastest march
constexpr double kKillScoreFactor = 100; // otherwise a kill pays Level times this
constexpr double kLastSlot = 9;
constexpr int kLastShot = 9;
constexpr int kLastEnemy = 27;
} // namespace

// Every shot in flight climbs and kills the first living enemy, in index order, whose box holds
// its top-left corner; then the game ends if the lives have run out.
void Form1::tmrfire_Timer()
{
    for (int i = 0; i <= kLastShot; ++i) {
        if (Lasers(i).Top < Line1.Y1) {
            Lasers(i).Top = Lasers(i).Top - kShotStep;
            for (int j = 0; j <= kLastEnemy; ++j)
                if (Enemy(j).Visible && hitsEnemy(i, j))
                    killEnemy(i, j);
        }
        if (Lasers(i).Top < kTopLine) {
            parkShot(i);
            if (rt::counter(current) > kLastSlot)
                current.Caption = "0";
        }
    }
    if (rt::counter(Lives) < 0)
        endGame();
}

// Strictly inside on all four sides; the sums are single precision like every position.
bool Form1::hitsEnemy(int shot, int j) const
{
    const rt::Shape& laser = Lasers(shot);
    const rt::PictureBox& enemy = Enemy(j);
    return laser.Top > enemy.Top && enemy.Height + enemy.Top > laser.Top &&
           laser.Left > enemy.Left && enemy.Width + enemy.Left > laser.Left;
}

// A killed enemy is not removed: it is hidden, lifted, and marches on until the block carries it
// back down into the field.
void Form1::killEnemy(int shot, int j)
{
    Enemy(j).Visible = false;
    Enemy(j).Top = Enemy(j).Top - kKillLift;
    parkShot(shot);
    if (tmrAliensLeft.Interval < kFastMarchInterval)
        rt::setCounter(Score, rt::counter(Score) + kFastKillScore);
    else
        rt::setCounter(Score, rt::counter(Score) + rt::counter(Level) * kKillScoreFactor);
    rt::setCounter(Ghosts, rt::counter(Ghosts) + 1);
}

void Form1::parkShot(int i)
{
    Lasers(i).Top = kParkTop;
    Lasers(i).Left = i * Lasers(i).Width;
}

} // namespace wave
