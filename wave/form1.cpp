#include "wave/form1.h"

#include "boss/boss.h"
#include "runtime/core/runtime.h"
#include "scores/highscores.h"
#include "stage/sounds.h"

namespace wave {

// The stage opens centred on the screen with the formation starting to march right.
void Form1::Form_Load()
{
    Left = Screen.Width / 2 - Width / 2;
    Top = Screen.Height / 2 - Height / 2;
    tmrAliensRight.Enabled = true;
}

void Form1::endGame()
{
    Enabled = false;
    Play(stage::kGameOverSound);
    scores::showFinishedGame(runtime());
}

boss::Boss& Form1::Boss() { return runtime().form<boss::Boss>(); }

} // namespace wave
