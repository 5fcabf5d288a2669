#pragma once

#include <Qt>

namespace rtqt {

// The Windows virtual-key code the game's key handlers expect for a Qt key: 37-40 arrows,
// 32 space, 13 Enter, 65-90 letters of either case, ...; 0 for a key the game never sees.
int virtualKey(int qtKey, Qt::KeyboardModifiers modifiers);

// The handlers' shift mask: 1 Shift, 2 Ctrl, 4 Alt.
int shiftMask(Qt::KeyboardModifiers modifiers);

} // namespace rtqt
