#include "boss/boss.h"

namespace boss {

// The ship moves and fires as on the wave stage.
void Boss::Form_KeyDown(int KeyCode, int /*Shift*/) { stage::shipKeyDown(ship(), KeyCode); }

} // namespace boss
