#include "wave/form1.h"

#include "runtime/core/runtime.h"
#include "stage/layout.h"

namespace wave {

namespace {

constexpr float kEnemySize = 480;

// Shots stand spread out in the status strip when the stage loads.
constexpr float kShotLoadLeft = 4680;
constexpr float kShotLoadSpacing = 120;

constexpr rt::Color kBombPurple = rt::rgb(0xC0, 0, 0xC0);

} // namespace

Form1::Form1(rt::Runtime& runtime) : Form(runtime, "Form1", kFrame)
{
    using stage::kCaptionFont;
    using stage::kCounterFont;
    using stage::stripLabel;

    Caption = "The Front Line";
    BackColor = rt::SystemColor::WindowText;
    KeyPreview = true;
    pausable = true;

    for (int i = 0; i <= kLastEnemy; ++i) {
        rt::PictureBox& enemy = Enemy(i);
        enemy.place(kColumnLeft[i % kColumns], kRowTop[i / kColumns], kEnemySize, kEnemySize);
        enemy.BackColor = rt::SystemColor::WindowFrame;
        enemy.Picture = "enemy";
    }

    stage::layShip(Player, 4440, 5880);
    for (int i = 0; i <= stage::kLastSlot; ++i)
        stage::layShot(Lasers(i), kShotLoadLeft + kShotLoadSpacing * static_cast<float>(i));

    bomb.place(2040, 4440, 255, 255);
    bomb.Visible = false;
    bomb.setStyle({.Kind = rt::ShapeKind::Oval, .FillColor = kBombPurple});

    stage::layFloor(Line1);
    Line1.BorderColor = stage::kLightGrey;

    stripLabel(Label2, {.left = 240, .width = 1815, .caption = "Level:", .font = kCaptionFont});
    stripLabel(Level, {.left = 1680, .width = 975, .caption = "1", .font = kCaptionFont});
    Level.BackColor = rt::SystemColor::WindowText;
    Level.ForeColor = rt::SystemColor::HighlightText;
    stripLabel(Ghosts, {.left = 2640,
                        .width = 330,
                        .height = 435,
                        .caption = "0",
                        .font = {"MS Sans Serif", 13.5f}});
    Ghosts.Visible = false;
    stripLabel(lblScore, {.left = 3120, .width = 1815, .caption = "Score :", .font = kCaptionFont});
    stripLabel(Score, {.left = 4920, .width = 1815, .caption = "0", .font = kCounterFont});
    stripLabel(current,
               {.left = 6840, .width = 255, .height = 495, .caption = "0", .font = kCounterFont});
    current.Visible = false;
    stripLabel(Label1, {.left = 7200, .width = 1815, .caption = "Lives:", .font = kCaptionFont});
    stripLabel(Lives, {.left = 9120, .width = 735, .caption = "5", .font = kCounterFont});

    tmrfire.setUp({.Interval = 1, .Enabled = true, .handler = [this] { tmrfire_Timer(); }});
    tmrAliensRight.setUp(
        {.Interval = 301, .Enabled = false, .handler = [this] { tmrAliensRight_Timer(); }});
    tmrAliensLeft.setUp(
        {.Interval = 301, .Enabled = false, .handler = [this] { tmrAliensLeft_Timer(); }});
    bombwait.setUp({.Interval = 301, .Enabled = true, .handler = [this] { bombwait_Timer(); }});
    tmrBomb.setUp({.Interval = 151, .Enabled = false, .handler = [this] { tmrBomb_Timer(); }});
}

} // namespace wave
