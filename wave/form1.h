#pragma once

#include "runtime/core/control_array.h"
#include "runtime/core/controls.h"
#include "runtime/core/form.h"
#include "stage/stage.h"
#include "wave/constants.h"

namespace rt {
class Runtime;
}
namespace boss {
class Boss;
}

namespace wave {

// The stage's window, the largest of the game's: the page zooms every window by what fits it.
inline constexpr rt::FormFrame kFrame{9945, 7320, 60, 450};

// The wave stage: a formation of 28 enemies marches and bombs the player's ship. All the stage's
// state lives in these controls; the boss stage and the high-score table read and write a few.
// Controls are declared in layout order, which is also their drawing order.
class Form1 : public rt::Form {
public:
    explicit Form1(rt::Runtime& runtime);

    rt::ControlArray<rt::PictureBox> Enemy{*this, "Enemy", kFormationSize};
    rt::PictureBox Player{*this, "Player"};
    rt::ControlArray<rt::Shape> Lasers{*this, "Lasers", stage::kShotSlots};
    rt::Shape bomb{*this, "bomb"};

    rt::Line Line1{*this, "Line1"};
    rt::Label Label2{*this, "Label2"};
    rt::Label Level{*this, "Level"};
    rt::Label Ghosts{*this, "Ghosts"};
    rt::Label lblScore{*this, "lblScore"};
    rt::Label Score{*this, "Score"};
    rt::Label current{*this, "current"};
    rt::Label Label1{*this, "Label1"};
    rt::Label Lives{*this, "Lives"};

    rt::Timer tmrfire{*this, "tmrfire"};
    rt::Timer tmrAliensRight{*this, "tmrAliensRight"};
    rt::Timer tmrAliensLeft{*this, "tmrAliensLeft"};
    rt::Timer bombwait{*this, "bombwait"};
    rt::Timer tmrBomb{*this, "tmrBomb"};

    void Form_Load() override;
    void Form_KeyDown(int KeyCode, int Shift) override;
    void tmrAliensRight_Timer();
    void tmrAliensLeft_Timer();
    void tmrfire_Timer();
    void bombwait_Timer();
    void tmrBomb_Timer();

    // After a cleared boss: faster timers, the level raised and the bonus paid on the boss
    // stage's score, the formation back in its grid (still all dead) and the stage running again.
    void startNextWave(double clearedScore);
    // The player is beaten: the stage stops taking keys and the high-score table takes the game.
    void endGame();

private:
    boss::Boss& Boss();
    stage::Ship ship() { return {Player, Lasers, current}; }
    void reviveIfCarriedDown(int i);
    void dropFormation(float drop);
    void pushBackIfAtBottom(int i);
    void clearFormationIfAllDown();
    void killEnemy(int shot, int j);
    int drawEnemyIndex();
    int speedUp();
    void payStageBonus(double clearedScore, int stepsUp);
    void resumeMarch();
    void rebuildFormation();
};

} // namespace wave
