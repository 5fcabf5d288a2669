#include "boss/boss.h"

#include "runtime/core/runtime.h"
#include "stage/layout.h"

namespace boss {

namespace {

constexpr rt::FormFrame kFrame{9870, 7305, 60, 450};

constexpr rt::Color kTeal = rt::rgb(0, 0xC0, 0xC0);
constexpr rt::Color kRed = rt::rgb(0xC0, 0, 0);
constexpr rt::Color kBlue = rt::rgb(0, 0, 0xC0);
constexpr rt::Color kGrey = rt::rgb(0x40, 0x40, 0x40);

constexpr rt::Color kYellow = rt::rgb(0xFF, 0xFF, 0);
constexpr rt::Color kBeamBlue = rt::rgb(0x80, 0x80, 0xFF);
constexpr rt::Color kBulletGrey = rt::rgb(0x80, 0x80, 0x80);
constexpr rt::Color kMissileMaroon = rt::rgb(0x80, 0, 0);
constexpr rt::Color kOrange = rt::rgb(0xFF, 0xC0, 0x80);
constexpr rt::Color kPaleYellow = rt::rgb(0xFF, 0xFF, 0x80);

constexpr float kSide = 615; // most blocks are 615 x 615

struct Block {
    int index;
    float left;
    float top;
    float width;
    float height;
    rt::Color colour;
};

// The boss body, row by row from the top.
// clang-format off
constexpr Block kBlocks[] = {
    { 0,  960,  120, kSide, kSide, kTeal}, { 1, 1560,  120, kSide, kSide, kTeal},
    { 2, 2160,  120, kSide, kSide, kTeal}, { 3, 2760,  120, kSide, kSide, kTeal},
    { 4, 3360,  120, kSide, kSide, kTeal}, { 5, 3960,  120, kSide, kSide, kRed },
    { 6, 4560,  120, kSide, kSide, kTeal}, { 7, 5160,  120, kSide, kSide, kTeal},
    { 8, 5760,  120, kSide, kSide, kTeal}, { 9, 6360,  120, kSide, kSide, kTeal},
    {10, 6960,  120, kSide, kSide, kTeal},

    {11,  960,  720, kSide, kSide, kTeal}, {12, 1560,  720, kSide, kSide, kTeal},
    {13, 2160,  720, kSide, kSide, kTeal}, {14, 2760,  720, kSide, kSide, kTeal},
    {15, 3360,  720, kSide, kSide, kTeal}, {16, 3960,  720, kSide, kSide, kTeal},
    {17, 4560,  720, kSide, kSide, kTeal}, {18, 5160,  720, kSide, kSide, kTeal},
    {19, 5760,  720, kSide, kSide, kTeal}, {20, 6360,  720, kSide, kSide, kTeal},
    {21, 6960,  720, kSide, kSide, kTeal},

    {22,  480, 1320, kSide, kSide, kTeal}, {23, 1080, 1320, kSide, kSide, kTeal},
    {24, 2160, 1320, kSide, kSide, kTeal}, {25, 2760, 1320, kSide, kSide, kTeal},
    {26, 3360, 1320, kSide, kSide, kTeal}, {27, 3960, 1320, kSide, kSide, kTeal},
    {28, 4560, 1320, kSide, kSide, kTeal}, {29, 5160, 1320, kSide, kSide, kTeal},
    {30, 5760, 1320, kSide, kSide, kTeal}, {31, 6840, 1320, kSide, kSide, kTeal},
    {32, 7440, 1320, kSide, kSide, kTeal},

    {33,  240, 1920, kSide, kSide, kTeal}, {34,  840, 1920, kSide, kSide, kTeal},
    {35, 2475, 1920, kSide, kSide, kTeal}, {36, 3075, 1920, kSide, kSide, kTeal},
    {37, 3675, 1920, kSide, kSide, kTeal}, {38, 4275, 1920, kSide, kSide, kTeal},
    {39, 4875, 1920, kSide, kSide, kTeal}, {40, 5475, 1920, kSide, kSide, kTeal},
    {41, 7080, 1920, kSide, kSide, kTeal}, {42, 7680, 1920, kSide, kSide, kTeal},

    {43,  120, 2520, kSide, kSide, kTeal}, {44,  720, 2520, kSide, kSide, kTeal},
    {45, 2160, 2520, kSide, kSide, kRed }, {46, 2760, 2520, kSide, kSide, kRed },
    {47, 3360, 2520, kSide, kSide, kTeal}, {48, 3960, 2520, kSide, kSide, kGrey},
    {49, 4560, 2520, kSide, kSide, kTeal}, {50, 5160, 2520, kSide, kSide, kRed },
    {51, 5760, 2520, kSide, kSide, kRed }, {52, 7200, 2520, kSide, kSide, kTeal},
    {53, 7800, 2520, kSide, kSide, kTeal},

    {54,  120, 3120, kSide, kSide, kBlue}, {55,  720, 3120,   735, kSide, kBlue},
    {56, 2475, 3120, kSide, kSide, kRed }, {57, 3675, 3120, kSide, kSide, kGrey},
    {58, 4320, 3120, kSide, kSide, kGrey}, {59, 5475, 3120, kSide, kSide, kRed },
    {60, 7080, 3120,   735, kSide, kBlue}, {61, 7800, 3120, kSide, kSide, kBlue},

    {62,  120, 3720, kSide, kSide, kBlue}, {63,  720, 3720, kSide,   495, kBlue},
    {64, 1320, 3720,   255,   495, kBlue}, {65, 3960, 3720, kSide, kSide, kGrey},
    {66, 6960, 3720,   255,   495, kBlue}, {67, 7200, 3720, kSide,   495, kBlue},
    {68, 7800, 3720, kSide, kSide, kBlue},

    {69,  720, 4200, kSide,   375, kBlue}, {70, 1320, 4200, kSide, kSide, kBlue},
    {71, 6600, 4200, kSide, kSide, kBlue}, {72, 7200, 4200, kSide,   375, kBlue},
};
// clang-format on

// The spray's bullets inside their box; there is no bullet 3.
struct BulletPlace {
    int index;
    float left;
    float top;
};
constexpr BulletPlace kBullets[] = {{0, 240, 120}, {1, 120, 480}, {2, 120, 0}, {4, 240, 1080},
                                    {5, 120, 960}, {6, 120, 240}, {7, 0, 360}, {8, 0, 840},
                                    {9, 240, 600}, {10, 120, 720}};

constexpr float kShotSpacing = 120; // idle shots stand in a row at Left = index x this
constexpr float kRingLeft = 4200;   // the blast rings wait hidden over the core
constexpr float kRingTop = 360;

const rt::Font kShieldsFont{"Lucida Console", 14.25f};

// The short decoration strokes inside blocks 25 and 46.
void decoration(rt::Line& line, rt::PictureBox& block)
{
    line.setContainer(block);
    line.place(360, 600, 240, 600);
}

// A number shown on a boss block, in the label's default colours.
void blockCounter(rt::Label& label, rt::PictureBox& block, const char* caption)
{
    label.setContainer(block);
    label.place(120, 120, 375, 375);
    label.Caption = caption;
    label.Font = stage::kCounterFont;
}

// A hatched oval without outline, hidden at load: the blast rings and a small decoration.
void hatchedOval(rt::Shape& shape, rt::Color colour)
{
    shape.setStyle({.Kind = rt::ShapeKind::Oval,
                    .FillStyle = rt::Fill::DownwardDiagonal,
                    .FillColor = colour});
    shape.Visible = false;
}

} // namespace

Boss::Boss(rt::Runtime& runtime) : Form(runtime, "Boss", kFrame)
{
    using stage::kCaptionFont;
    using stage::kCounterFont;
    using stage::stripLabel;

    BackColor = rt::SystemColor::WindowText;
    KeyPreview = true;
    pausable = true;

    for (const Block& b : kBlocks) {
        rt::PictureBox& block = BossPart(b.index);
        block.place(b.left, b.top, b.width, b.height);
        block.BackColor = b.colour;
    }
    blockCounter(Charge, BossPart(54), "0");
    blockCounter(charge2, BossPart(61), "0");
    blockCounter(DischargeW, BossPart(48), "3");
    decoration(Line11, BossPart(25));
    decoration(Line1(2), BossPart(25));
    decoration(Line3, BossPart(46));
    decoration(Line1(0), BossPart(46));
    decoration(Line2, BossPart(46));
    Fade1.setContainer(BossPart(5));

    stage::layShip(Player, 3960, 6000);
    for (int i = 0; i <= stage::kLastSlot; ++i)
        stage::layShot(Lasers(i), kShotSpacing * static_cast<float>(i));

    Lsight1.place(3120, 3120, 15, 3615);
    Lsight1.BackColor = kYellow;
    Lsight2.place(5400, 3120, 15, 3615);
    Lsight2.BackColor = kYellow;

    beam1.place(720, 3720, 3015, 2655);
    beam1.Visible = false;
    beam1.BackColor = stage::kBlack;
    Line4.setContainer(beam1);
    Line4.place(0, 0, 3000, 2640);
    Line4.BorderColor = kBeamBlue;
    Line4.BorderWidth = 10;

    beam2.place(4920, 3720, 2895, 2655);
    beam2.Visible = false;
    beam2.BackColor = rt::SystemColor::MenuText;
    Line5.setContainer(beam2);
    Line5.place(2880, 0, 0, 2640);
    Line5.BorderColor = kBeamBlue;
    Line5.BorderWidth = 10;

    Spray.place(4080, 4320, 375, 1215);
    Spray.BackColor = stage::kBlack;
    for (const BulletPlace& p : kBullets) {
        rt::Shape& bullet = Bullet(p.index);
        bullet.setContainer(Spray);
        bullet.place(p.left, p.top, 135, 135);
        bullet.setStyle(
            {.Kind = rt::ShapeKind::Circle, .FillColor = kBulletGrey, .BorderVisible = true});
    }

    rt::PictureBox& missile = Missile(0);
    missile.place(360, 5880, 255, 615);
    missile.Visible = false;
    missile.BackColor = rt::SystemColor::WindowBackground;
    rt::Shape& missileBody = Shape1(0);
    missileBody.setContainer(missile);
    missileBody.place(0, 0, 255, 375);
    missileBody.setStyle({.Kind = rt::ShapeKind::RoundedRectangle, .FillColor = kMissileMaroon});
    rt::Shape& missileTail = Shape2(0);
    missileTail.setContainer(missile);
    missileTail.place(0, 240, 255, 375);
    missileTail.setStyle({.Kind = rt::ShapeKind::Oval, .FillColor = stage::kShotRed});

    Ring(0).place(kRingLeft, kRingTop, 240, 75);
    hatchedOval(Ring(0), stage::kShotRed);
    Ring(0).BorderVisible = true;
    Ring(0).BorderColor = stage::kShotRed;
    Ring(0).BorderWidth = 3;
    Ring(1).place(kRingLeft, kRingTop, 120, 45);
    hatchedOval(Ring(1), kOrange);
    Ring(2).place(kRingLeft, kRingTop, 240, 195);
    hatchedOval(Ring(2), kPaleYellow);
    Shape1(2).place(4305, 480, 15, 45);
    hatchedOval(Shape1(2), kPaleYellow);

    stage::layFloor(Line1(1));

    stripLabel(
        Label2,
        {.left = 1200, .top = 6960, .width = 1335, .caption = "Shields:", .font = kShieldsFont});
    stripLabel(Shields,
               {.left = 2520, .top = 6960, .width = 495, .caption = "100", .font = kShieldsFont});
    stripLabel(lblScore, {.left = 3120, .width = 1815, .caption = "Score :", .font = kCaptionFont});
    stripLabel(Score, {.left = 4920, .width = 1815, .caption = "0", .font = kCounterFont});
    current.place(6960, stage::kStripTop, 255, stage::kStripLabelHeight);
    current.Caption = "0";
    current.Visible = false;
    current.Font = kCounterFont;
    stripLabel(Label1, {.left = 7200, .width = 1815, .caption = "Lives:", .font = kCaptionFont});
    stripLabel(Lives, {.left = 9120, .width = 735, .caption = "5", .font = kCounterFont});

    tmrfire.setUp({.Interval = 1, .Enabled = true, .handler = [this] { tmrfire_Timer(); }});
    tmrHoming.setUp({.Interval = 1, .Enabled = true, .handler = [this] { tmrHoming_Timer(); }});
    Fade1.setUp({.Interval = 1, .Enabled = true, .handler = [this] { Fade1_Timer(); }});
    tmrMiniGun.setUp({.Interval = 120, .Enabled = true, .handler = [this] { tmrMiniGun_Timer(); }});
    tmrbeamwait.setUp(
        {.Interval = 180, .Enabled = true, .handler = [this] { tmrbeamwait_Timer(); }});
    tmrBossRight.setUp(
        {.Interval = 400, .Enabled = true, .handler = [this] { tmrBossRight_Timer(); }});
    tmrBossLeft.setUp(
        {.Interval = 400, .Enabled = false, .handler = [this] { tmrBossLeft_Timer(); }});
    tmrBeam.setUp({.Interval = 200, .Enabled = false, .handler = [this] { tmrBeam_Timer(); }});
    tmrMissiles.setUp(
        {.Interval = 50, .Enabled = false, .handler = [this] { tmrMissiles_Timer(); }});
    tmrDischarge.setUp(
        {.Interval = 60, .Enabled = false, .handler = [this] { tmrDischarge_Timer(); }});
    tmrNuke.setUp({.Interval = 100, .Enabled = false, .handler = [this] { tmrNuke_Timer(); }});
}

} // namespace boss
