// The board's server reaching for a front end: this must not build, since it links the game and
// the verifier only and plays every recording headless.
#include "platforms/qt/qt_runtime.h"
