#include "wave/form1.h"

#include "runtime/counter.h"

namespace wave {

namespace {
constexpr int kKeyLeft = 37;
constexpr int kKeyRight = 39;
constexpr int kKeySpace = 32;

constexpr float kShipStep = 250;    // twips the ship moves per key press
constexpr float kRightBound = 9000; // the ship moves right only while its Left is below this
constexpr float kLeftBound = 200;   // and left only while its Left is above this
constexpr double kLastSlot = 9;     // `current` past the last of the ten shot slots wraps to 0
} // namespace

// Modifier keys make no difference; every other key is ignored.
void Form1::Form_KeyDown(int KeyCode, int /*Shift*/)
{
    if (KeyCode == kKeyRight) {
        if (Player.Left < kRightBound)
            Player.Left = Player.Left + kShipStep;
    } else if (KeyCode == kKeyLeft) {
        if (Player.Left > kLeftBound)
            Player.Left = Player.Left - kShipStep;
    } else if (KeyCode == kKeySpace) {
        fire();
    }
}

// Puts the shot of slot `current` at the ship: left edge, centre or right edge by slot modulo 3.
// A slot still in flight is simply taken back, so holding fire recycles the oldest shot.
void Form1::fire()
{
    if (rt::counter(current) > kLastSlot)
        current.Caption = "0";
    const int s = static_cast<int>(rt::counter(current));
    rt::Shape& shot = Lasers(s);
    const int r = s % 3;
    if (r < 1) {
        shot.Top = Player.Top;
        shot.Left = Player.Left;
    } else if (r > 1) {
        shot.Top = Player.Top;
        shot.Left = Player.Width + Player.Left - shot.Width;
    } else {
        shot.Left = Player.Width / 2 + Player.Left - shot.Width / 2;
        shot.Top = Player.Top;
    }
    rt::setCounter(current, rt::counter(current) + 1);
}

} // namespace wave
