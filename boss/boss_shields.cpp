#include "boss/boss.h"

#include "runtime/text/counter.h"
#include "stage/sounds.h"

namespace boss {

// The one way the boss hurts the ship: its weapons drain the shields, and an empty shield costs a
// life and comes back full. The run itself ends at the next shot tick, not here.
void Boss::damageShields(double amount)
{
    rt::setCounter(Shields, rt::counter(Shields) - amount);
    if (rt::counter(Shields) < kLastShield) {
        rt::setCounter(Lives, rt::counter(Lives) - 1);
        Play(stage::kLifeLostSound);
        Shields.Caption = kFullShields;
    }
}

} // namespace boss
