#include "wave/form1.h"

#include "runtime/runtime.h"

namespace wave {

namespace {

constexpr rt::FormFrame kFrame{9945, 7320, 60, 450};

// The formation: 4 rows of 7, index = row * 7 + column.
constexpr int kColumns = 7;
constexpr float kColumnLeft[] = {120, 1320, 2520, 3720, 4920, 6120, 7320};
constexpr float kRowTop[] = {100, 1000, 2000, 3000};
constexpr float kEnemySize = 480;

// Shots stand spread out in the status strip when the stage loads.
constexpr float kShotLoadLeft = 4680;
constexpr float kShotLoadSpacing = 120;

constexpr rt::Color kRed = rt::rgb(0xFF, 0, 0);
constexpr rt::Color kBombPurple = rt::rgb(0xC0, 0, 0xC0);
constexpr rt::Color kBlack = rt::rgb(0, 0, 0);
constexpr rt::Color kLightGrey = rt::rgb(0xE0, 0xE0, 0xE0);

const rt::Font kCaptionFont{"Lucida Console", 20.25f};
const rt::Font kCounterFont{"MS Sans Serif", 18};

void solidOval(rt::Shape& shape, rt::Color colour)
{
    shape.Kind = rt::ShapeKind::Oval;
    shape.FillStyle = rt::Fill::Solid;
    shape.FillColor = colour;
    shape.BorderVisible = false;
}

// A label of the status strip; every one of them has Top 6840.
void stripLabel(rt::Label& label, float left, float width, float height, const char* caption,
                const rt::Font& font)
{
    label.place(left, 6840, width, height);
    label.Caption = caption;
    label.BackColor = kBlack;
    label.ForeColor = kLightGrey;
    label.Font = font;
}

void timer(rt::Timer& timer, int interval, bool enabled, std::function<void()> handler)
{
    timer.Interval = interval;
    timer.Enabled = enabled;
    timer.onTick = std::move(handler);
}

} // namespace

Form1::Form1(rt::Runtime& runtime) : Form(runtime, "Form1", kFrame)
{
    Caption = "The Front Line";
    BackColor = rt::SystemColor::WindowText;
    KeyPreview = true;

    for (int i = 0; i < 28; ++i) {
        rt::PictureBox& enemy = Enemy(i);
        enemy.place(kColumnLeft[i % kColumns], kRowTop[i / kColumns], kEnemySize, kEnemySize);
        enemy.BackColor = rt::SystemColor::WindowFrame;
        enemy.Picture = "enemy";
    }

    Player.place(4440, 5880, 560, 648);
    Player.BackColor = rt::SystemColor::WindowBackground;
    Player.Picture = "ship";

    for (int i = 0; i < 10; ++i) {
        rt::Shape& shot = Lasers(i);
        shot.place(kShotLoadLeft + kShotLoadSpacing * i, 6840, 135, 375);
        solidOval(shot, kRed);
    }

    bomb.place(2040, 4440, 255, 255);
    bomb.Visible = false;
    solidOval(bomb, kBombPurple);

    Line1.place(0, 6720, 9960, 6720);
    Line1.BorderColor = kLightGrey;
    Line1.BorderWidth = 2;

    stripLabel(Label2, 240, 1815, 375, "Level:", kCaptionFont);
    stripLabel(Level, 1680, 975, 375, "1", kCaptionFont);
    Level.BackColor = rt::SystemColor::WindowText;
    Level.ForeColor = rt::SystemColor::HighlightText;
    stripLabel(Ghosts, 2640, 330, 435, "0", {"MS Sans Serif", 13.5f});
    Ghosts.Visible = false;
    stripLabel(lblScore, 3120, 1815, 375, "Score :", kCaptionFont);
    stripLabel(Score, 4920, 1815, 375, "0", kCounterFont);
    stripLabel(current, 6840, 255, 495, "0", kCounterFont);
    current.Visible = false;
    stripLabel(Label1, 7200, 1815, 375, "Lives:", kCaptionFont);
    stripLabel(Lives, 9120, 735, 375, "5", kCounterFont);

    timer(tmrfire, 1, true, [this] { tmrfire_Timer(); });
    timer(tmrAliensRight, 301, false, [this] { tmrAliensRight_Timer(); });
    timer(tmrAliensLeft, 301, false, [this] { tmrAliensLeft_Timer(); });
    timer(bombwait, 301, true, [this] { bombwait_Timer(); });
    timer(tmrBomb, 151, false, [this] { tmrBomb_Timer(); });
}

} // namespace wave
