// The runtime's core reaching for painting: this must not build, since the core links no other
// part of the runtime and its include root holds none of their headers.
#include "runtime/presentation/zoom.h"
