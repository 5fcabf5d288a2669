// A platform that reaches for a window of the game: this must not build, since a platform links
// the runtime only and its include root holds no header of the game.
#include "wave/form1.h"
