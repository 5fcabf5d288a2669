#pragma once

#include "runtime/core/color.h"
#include "runtime/core/controls.h"
#include "stage/stage.h"

namespace stage {

// The look both stages share.
constexpr rt::Color kBlack = rt::rgb(0, 0, 0);
constexpr rt::Color kLightGrey = rt::rgb(0xE0, 0xE0, 0xE0); // the status strip's text
constexpr rt::Color kShotRed = rt::rgb(0xFF, 0, 0);
inline const rt::Font kCaptionFont{"Lucida Console", 20.25f}; // "Score :", "Lives:"
inline const rt::Font kCounterFont{"MS Sans Serif", 18};      // the numbers beside them

constexpr float kStripLabelHeight = 375;

// A label of the status strip, light grey on black.
struct StripLabel {
    float left;
    float top = kStripTop;
    float width;
    float height = kStripLabelHeight;
    const char* caption;
    rt::Font font;
};
void stripLabel(rt::Label& label, const StripLabel& place);

// The player's ship, the same picture on both stages.
void layShip(rt::PictureBox& Player, float left, float top);
// A shot slot: a red oval, standing in the status strip until it is fired.
void layShot(rt::Shape& shot, float left);
// The line between the field and the status strip.
void layFloor(rt::Line& line);

} // namespace stage
