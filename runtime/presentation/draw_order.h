#pragma once

#include "runtime/core/controls.h"

#include <vector>

namespace rt {

// A control of a window that shows somewhere in the area being painted, and where it draws, in
// the front end's own rectangle type.
template <class Extent> struct Exposed {
    const Control* control;
    Extent extent;
};

// Calls `draw` with each shown control of `container` (nullptr: the window itself) that reaches
// into `area`, as its own type, in the order they are drawn: its lines, shapes and labels in the
// layout's order, then its picture boxes over them, which draw their own contents the same way.
template <class Extent, class Area, class Draw>
void drawInOrder(const std::vector<Exposed<Extent>>& controls, const PictureBox* container,
                 const Area& area, Draw&& draw)
{
    for (const auto& [control, extent] : controls) {
        if (control->container() != container || !area.intersects(extent))
            continue;
        switch (control->kind()) {
        case ControlKind::Line:
            if (const auto& line = static_cast<const Line&>(*control); line.Visible)
                draw(line);
            break;
        case ControlKind::Shape:
            if (const auto& shape = static_cast<const Shape&>(*control); shape.Visible)
                draw(shape);
            break;
        case ControlKind::Label:
            if (const auto& label = static_cast<const Label&>(*control); label.Visible)
                draw(label);
            break;
        default:
            break;
        }
    }
    for (const auto& [control, extent] : controls) {
        if (control->container() != container || control->kind() != ControlKind::PictureBox ||
            !area.intersects(extent))
            continue;
        if (const auto& box = static_cast<const PictureBox&>(*control); box.Visible)
            draw(box);
    }
}

// One callable made of several, each taking one kind of control.
template <class... F> struct Overloaded : F... {
    using F::operator()...;
};
template <class... F> Overloaded(F...) -> Overloaded<F...>;

} // namespace rt
