#pragma once

#include "runtime/core/controls.h"

#include <algorithm>
#include <string>

namespace rt {

// The free face a front end draws one of the game's fonts with, of the same kind, and its size
// in pixels at 96 dpi, so the look does not depend on the desktop's or the browser's settings.
struct Face {
    std::string family;
    int px;
    // DejaVu Sans Mono stands in for Lucida Console but spaces its lines 1.16 em apart; Lucida
    // Console's lines are 1 em apart with the baseline at 0.79 em, which the game's captions need
    // to fit their boxes. The other faces keep their own spacing.
    bool lucidaLines;
};

inline Face faceOf(const Font& font)
{
    const int px = std::max(1, static_cast<int>(font.Size * 96.0 / 72.0 + 0.5));
    if (font.Name == "Lucida Console")
        return {"DejaVu Sans Mono", px, true};
    if (font.Name == "MS Sans Serif")
        return {"DejaVu Sans", px, false};
    return {font.Name, px, false};
}

} // namespace rt
