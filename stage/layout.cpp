#include "stage/layout.h"

namespace stage {

namespace {
constexpr float kShipWidth = 560;
constexpr float kShipHeight = 648;
constexpr float kShotWidth = 135;
constexpr float kShotHeight = 375;
constexpr float kFieldWidth = 9960;
constexpr int kFloorWidth = 2;
} // namespace

void stripLabel(rt::Label& label, const StripLabel& place)
{
    label.place(place.left, place.top, place.width, place.height);
    label.Caption = place.caption;
    label.BackColor = kBlack;
    label.ForeColor = kLightGrey;
    label.Font = place.font;
}

void layShip(rt::PictureBox& Player, float left, float top)
{
    Player.place(left, top, kShipWidth, kShipHeight);
    Player.BackColor = rt::SystemColor::WindowBackground;
    Player.Picture = "ship";
}

void layShot(rt::Shape& shot, float left)
{
    shot.place(left, kStripTop, kShotWidth, kShotHeight);
    shot.setStyle({.Kind = rt::ShapeKind::Oval, .FillColor = kShotRed});
}

void layFloor(rt::Line& line)
{
    line.place(0, kFloorLine, kFieldWidth, kFloorLine);
    line.BorderWidth = kFloorWidth;
}

} // namespace stage
