#include "stage/stage.h"

#include "runtime/core/form.h"
#include "runtime/text/counter.h"
#include "stage/sounds.h"

namespace stage {

void shipKeyDown(const Ship& ship, int KeyCode)
{
    rt::PictureBox& Player = ship.Player;
    if (KeyCode == kKeyRight) {
        if (Player.Left < kRightBound)
            Player.Left = Player.Left + kShipStep;
    } else if (KeyCode == kKeyLeft) {
        if (Player.Left > kLeftBound)
            Player.Left = Player.Left - kShipStep;
    } else if (KeyCode == kKeySpace) {
        fire(ship);
    }
}

// The shot leaves from the ship's left edge, centre or right edge by slot modulo 3. A slot still
// in flight is simply taken back, so holding fire recycles the oldest shot.
void fire(const Ship& ship)
{
    const rt::PictureBox& Player = ship.Player;
    rt::Label& current = ship.current;
    if (rt::counter(current) > kLastSlot)
        current.Caption = "0";
    const int s = static_cast<int>(rt::counter(current));
    rt::Shape& shot = ship.Lasers(s);
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
    shot.form().Play(kShotSound);
}

void climb(rt::Shape& shot) { shot.Top = shot.Top - kShotClimb; }

void parkShot(rt::Shape& shot)
{
    shot.Top = kStripTop;
    shot.Left = static_cast<float>(shot.index()) * shot.Width;
}

void parkIfOffField(const Ship& ship, int slot)
{
    if (ship.Lasers(slot).Top < kTopLine) {
        parkShot(ship.Lasers(slot));
        if (rt::counter(ship.current) > kLastSlot)
            ship.current.Caption = "0";
    }
}

} // namespace stage
