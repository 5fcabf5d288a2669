#pragma once

#include "runtime/core/color.h"
#include "runtime/core/control_array.h"
#include "runtime/core/controls.h"
#include "runtime/core/key_codes.h"

namespace stage {

// Keys both stages answer; every other key does nothing.
using rt::kKeyLeft;
using rt::kKeyRight;
using rt::kKeySpace;

constexpr float kShipStep = 250;    // twips the ship moves per key press
constexpr float kRightBound = 9000; // the ship moves right only while its Left is below this
constexpr float kLeftBound = 200;   // and left only while its Left is above this

constexpr int kShotSlots = 10; // the shot slots are Lasers(0) to Lasers(9)
constexpr int kLastSlot = kShotSlots - 1;
constexpr float kFloorLine = 6720; // a shot above this line is in flight
constexpr float kShotClimb = 50;   // twips a shot in flight climbs per tick
constexpr float kTopLine = 100;    // a shot above this has left the field
constexpr float kStripTop = 6840;  // the status strip's row, where spent shots are parked too

// The controls a stage flies the player's ship and its shots with.
struct Ship {
    rt::PictureBox& Player;
    rt::ControlArray<rt::Shape>& Lasers;
    rt::Label& current;
};

// The arrow keys move the ship, Space fires; modifier keys make no difference.
void shipKeyDown(const Ship& ship, int KeyCode);
// Puts the shot of slot `current` at the ship and counts `current` on.
void fire(const Ship& ship);
// Moves a shot in flight up one step.
void climb(rt::Shape& shot);
// A spent shot waits in the status strip, in its slot's place in a row from the left edge.
void parkShot(rt::Shape& shot);
// A shot that has climbed off the field is parked, and `current` past the last slot starts over.
void parkIfOffField(const Ship& ship, int slot);

} // namespace stage
