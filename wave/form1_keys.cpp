#include "wave/form1.h"

namespace wave {

void Form1::Form_KeyDown(int KeyCode, int /*Shift*/) { stage::shipKeyDown(ship(), KeyCode); }

} // namespace wave
