// Game code that reaches for the real clock: this must not build, since the game runs on the
// virtual clock of the core runtime only.
#include "runtime/realtime/ticker.h"
