#pragma once

#include "runtime/core/form.h"
#include "runtime/presentation/geometry.h"

#include <unordered_map>

namespace rt {

class Control;

// Where a control draws in its window's client area, in device-independent pixels, rounded out
// and with room for line widths; it ignores clipping by containers, so it may be larger. Nothing
// is antialiased, so nothing is drawn outside it.
Rect extentOf(const Control& control);
// Where the control's container stands on the window, in pixels: the containers' places added.
PointF originOf(const Control& control);

// The part of a window to repaint: where each changed control was drawn last and where it is
// now. A picture box carries its contents with it, so they are counted with it. One per window
// of a front end, fed with what Presenter::takeChanges gives each time the window is brought up
// to date.
class Damage {
public:
    Region collect(const Form& form, const Form::Changes& changes, const Rect& wholeWindow);

private:
    void remember(const Control& control, Region& region);

    std::unordered_map<const Control*, Rect> m_drawn;
};

} // namespace rt
