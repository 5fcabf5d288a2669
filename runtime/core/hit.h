#pragma once

#include "runtime/core/controls.h"

namespace rt {

// The game's one hit rule: a point hits a box only when it lies strictly inside it, on all four
// sides, with the box's far edges (Left + Width, Top + Height) summed in single precision. A point
// exactly on an edge misses.
inline bool strictlyInside(float x, float y, const BoxControl& box)
{
    const float right = box.Width + box.Left;
    const float bottom = box.Height + box.Top;
    return y > box.Top && bottom > y && x > box.Left && right > x;
}

// The beams and the missile sights look only across: x strictly between the box's left and right
// edges.
inline bool strictlyAcross(float x, const BoxControl& box)
{
    const float right = box.Width + box.Left;
    return x > box.Left && right > x;
}

// Shots and the wave stage's bomb hit with their top-left corner.
inline bool topLeftInside(const BoxControl& mover, const BoxControl& box)
{
    return strictlyInside(mover.Left, mover.Top, box);
}

// The boss's missile and spray hit with their bottom-left corner.
inline bool bottomLeftInside(const BoxControl& mover, const BoxControl& box)
{
    const float bottom = mover.Height + mover.Top;
    return strictlyInside(mover.Left, bottom, box);
}

} // namespace rt
