#include "boss/boss.h"

#include "runtime/core/runtime.h"
#include "wave/form1.h"

namespace boss {

namespace {
constexpr rt::Color kFullRed = rt::rgb(0xFF, 0, 0);
} // namespace

// The stage opens centred on the screen and takes the score, the lives and the ship's place over
// from the wave stage, texts as they stand; everything else comes fresh from the layout.
void Boss::Form_Load()
{
    Left = Screen.Width / 2 - Width / 2;
    Top = Screen.Height / 2 - Height / 2;
    Score.Caption = Form1().Score.Caption;
    Lives.Caption = Form1().Lives.Caption;
    Player.Left = Form1().Player.Left;
}

// The core brightens one red step per tick; it holds at full red, 63 ticks after the layout's 192.
void Boss::Fade1_Timer()
{
    if (BossPart(kCore).BackColor < kFullRed)
        BossPart(kCore).BackColor = BossPart(kCore).BackColor + 1;
}

wave::Form1& Boss::Form1() { return runtime().form<wave::Form1>(); }

} // namespace boss
