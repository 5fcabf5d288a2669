#include "boss/boss.h"

#include "runtime/text/counter.h"
#include "wave/form1.h"

namespace boss {

// The boss is cleared: the wave stage takes the score, the lives and the ship's place back, starts
// its next wave, and this stage closes. Nothing of it is touched after the unload.
void Boss::returnToWaveStage()
{
    wave::Form1& wave = Form1();
    wave.Score.Caption = Score.Caption;
    wave.Lives.Caption = Lives.Caption;
    wave.Player.Left = Player.Left;
    wave.startNextWave(rt::counter(Score));
    Hide();
    wave.Show();
    tmrNuke.Enabled = false;
    Unload(*this);
}

} // namespace boss
