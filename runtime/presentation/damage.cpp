#include "runtime/presentation/damage.h"

#include "runtime/core/controls.h"

#include <algorithm>

namespace rt {

namespace {

// The whole pixels a drawing touches, and one more column and row: at a fractional device pixel
// ratio an edge that ends on a whole layout pixel may still colour the device pixel beyond it.
Rect touched(const RectF& rect, double grow = 0)
{
    Rect r = roundedOut(
        {rect.left - grow, rect.top - grow, rect.width + 2 * grow, rect.height + 2 * grow});
    ++r.width;
    ++r.height;
    return r;
}

bool inside(const Control& control, const PictureBox& box)
{
    for (const PictureBox* c = control.container(); c; c = c->container())
        if (c == &box)
            return true;
    return false;
}

} // namespace

PointF originOf(const Control& control)
{
    float left = 0;
    float top = 0;
    for (const PictureBox* box = control.container(); box; box = box->container()) {
        left += box->Left;
        top += box->Top;
    }
    return {toPixels(left), toPixels(top)};
}

Rect extentOf(const Control& control)
{
    const auto [dx, dy] = originOf(control);
    switch (control.kind()) {
    case ControlKind::Timer:
        return {};
    case ControlKind::Line: {
        const auto& line = static_cast<const Line&>(control);
        const double x1 = toPixels(line.X1) + dx;
        const double y1 = toPixels(line.Y1) + dy;
        const double x2 = toPixels(line.X2) + dx;
        const double y2 = toPixels(line.Y2) + dy;
        const RectF span{std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1), std::abs(y2 - y1)};
        return touched(span, std::max(1, line.BorderWidth.value()));
    }
    default: {
        const auto& box = static_cast<const BoxControl&>(control);
        RectF rect = pixelRect(box.Left, box.Top, box.Width, box.Height);
        rect.left += dx;
        rect.top += dy;
        return touched(rect);
    }
    }
}

Region Damage::collect(const Form& form, const Form::Changes& changes, const Rect& wholeWindow)
{
    if (changes.whole || m_drawn.empty()) {
        m_drawn.clear();
        Region ignored;
        for (const Control* control : form.controls())
            remember(*control, ignored);
        return wholeWindow;
    }
    Region region;
    for (const Control* control : changes.controls) {
        remember(*control, region);
        if (control->kind() != ControlKind::PictureBox)
            continue;
        const auto& box = static_cast<const PictureBox&>(*control);
        for (const Control* other : form.controls())
            if (inside(*other, box))
                remember(*other, region);
    }
    return region;
}

// Adds where the control was drawn and where it is now, and keeps the new place.
void Damage::remember(const Control& control, Region& region)
{
    const Rect now = extentOf(control);
    if (const auto drawn = m_drawn.find(&control); drawn != m_drawn.end()) {
        region.add(drawn->second);
        drawn->second = now;
    } else {
        m_drawn.emplace(&control, now);
    }
    region.add(now);
}

} // namespace rt
