// Game code that reaches for the desktop front end: this must not build, since the game links
// the core runtime only and its include root holds no front end's header.
#include "platforms/qt/qt_runtime.h"
