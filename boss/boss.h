#pragma once

#include "boss/constants.h"
#include "runtime/core/control_array.h"
#include "runtime/core/controls.h"
#include "runtime/core/form.h"
#include "stage/stage.h"

#include <span>

namespace rt {
class Runtime;
}
namespace wave {
class Form1;
}

namespace boss {

// The boss stage: a boss of 73 blocks with twin beams, a minigun spray and a homing missile
// against the player's ship. All the stage's state lives in these controls, fresh from the layout
// on every load; the stage takes the score, the lives and the ship's place over from the wave
// stage.
class Boss : public rt::Form {
public:
    explicit Boss(rt::Runtime& runtime);

    rt::ControlArray<rt::PictureBox> BossPart{*this, "BossPart", kBossParts};
    rt::Label Charge{*this, "Charge"};
    rt::Label charge2{*this, "charge2"};
    rt::Label DischargeW{*this, "DischargeW"};
    rt::Line Line11{*this, "Line11"};
    rt::Line Line3{*this, "Line3"};
    rt::Line Line2{*this, "Line2"};

    rt::PictureBox Player{*this, "Player"};
    rt::ControlArray<rt::Shape> Lasers{*this, "Lasers", stage::kShotSlots};
    rt::PictureBox Lsight1{*this, "Lsight1"};
    rt::PictureBox Lsight2{*this, "Lsight2"};
    rt::PictureBox beam1{*this, "beam1"};
    rt::Line Line4{*this, "Line4"};
    rt::PictureBox beam2{*this, "beam2"};
    rt::Line Line5{*this, "Line5"};
    rt::PictureBox Spray{*this, "Spray"};
    rt::ControlArray<rt::Shape> Bullet{*this, "Bullet", {0, 1, 2, 4, 5, 6, 7, 8, 9, 10}};
    rt::ControlArray<rt::PictureBox> Missile{*this, "Missile", {0}};
    rt::ControlArray<rt::Shape> Shape1{*this, "Shape1", {0, 2}};
    rt::ControlArray<rt::Shape> Shape2{*this, "Shape2", {0}};
    rt::ControlArray<rt::Shape> Ring{*this, "Ring", 3};
    rt::ControlArray<rt::Line> Line1{*this, "Line1", {0, 1, 2}};

    rt::Label Label2{*this, "Label2"};
    rt::Label Shields{*this, "Shields"};
    rt::Label lblScore{*this, "lblScore"};
    rt::Label Score{*this, "Score"};
    rt::Label current{*this, "current"};
    rt::Label Label1{*this, "Label1"};
    rt::Label Lives{*this, "Lives"};

    // Declared in the layout's order, which is the order the enabled ones start in at load.
    rt::Timer tmrfire{*this, "tmrfire"};
    rt::Timer tmrHoming{*this, "tmrHoming"};
    rt::Timer Fade1{*this, "Fade1"};
    rt::Timer tmrMiniGun{*this, "tmrMiniGun"};
    rt::Timer tmrbeamwait{*this, "tmrbeamwait"};
    rt::Timer tmrBossRight{*this, "tmrBossRight"};
    rt::Timer tmrBossLeft{*this, "tmrBossLeft"};
    rt::Timer tmrBeam{*this, "tmrBeam"};
    rt::Timer tmrMissiles{*this, "tmrMissiles"};
    rt::Timer tmrDischarge{*this, "tmrDischarge"};
    rt::Timer tmrNuke{*this, "tmrNuke"};

    void Form_Load() override;
    void Form_KeyDown(int KeyCode, int Shift) override;
    void Fade1_Timer();
    void tmrfire_Timer();
    void tmrBossRight_Timer();
    void tmrBossLeft_Timer();
    void tmrNuke_Timer();
    void tmrbeamwait_Timer();
    void tmrBeam_Timer();
    void tmrMiniGun_Timer();
    void tmrDischarge_Timer();
    void tmrHoming_Timer();
    void tmrMissiles_Timer();

    // Shields minus a weapon's damage; an empty shield costs a life. Every weapon hurts through it.
    void damageShields(double amount);

private:
    void hitCore();
    void destroyPart(int shot, int j);
    void endRun();
    void wrapPastRightEdge();
    void wrapPastLeftEdge();
    void rePlaceBody();
    void moveSights(float step);
    void centreOnBlast(rt::Shape& ring);
    void returnToWaveStage();

    wave::Form1& Form1();
    stage::Ship ship() { return {Player, Lasers, current}; }

    // Weapons.
    // The spray and the missile are spent once their bottom edge has passed the floor line.
    static bool pastFloor(const rt::BoxControl& mover);
    void hangBeams();
    void releaseSpray();
    void steerMissile(rt::PictureBox& missile);
    bool shotDown(const rt::PictureBox& missile);
    void watchSight(rt::PictureBox& sight, std::span<const int> launcher, int launchPoint);
};

} // namespace boss
