#include "runtime/qt/damage.h"

#include "runtime/controls.h"
#include "runtime/form.h"
#include "runtime/qt/conversions.h"

#include <algorithm>
#include <cmath>

namespace rtqt {

namespace {

QRect roundedOut(const QRectF& rect, double grow)
{
    const QRectF grown = rect.normalized().adjusted(-grow, -grow, grow, grow);
    return QRect(QPoint(static_cast<int>(std::floor(grown.left())),
                        static_cast<int>(std::floor(grown.top()))),
                 QPoint(static_cast<int>(std::ceil(grown.right())),
                        static_cast<int>(std::ceil(grown.bottom()))));
}

bool inside(const rt::Control& control, const rt::PictureBox& box)
{
    for (const rt::PictureBox* c = control.container(); c; c = c->container())
        if (c == &box)
            return true;
    return false;
}

} // namespace

QRect extentOf(const rt::Control& control)
{
    QPointF offset;
    for (const rt::PictureBox* box = control.container(); box; box = box->container())
        offset += QPointF(toPixels(box->Left), toPixels(box->Top));
    switch (control.kind()) {
    case rt::ControlKind::Timer:
        return {};
    case rt::ControlKind::Line: {
        const auto& line = static_cast<const rt::Line&>(control);
        const QRectF span(QPointF(toPixels(line.X1), toPixels(line.Y1)),
                          QPointF(toPixels(line.X2), toPixels(line.Y2)));
        return roundedOut(span.translated(offset), std::max(1, line.BorderWidth.value()));
    }
    default: {
        const auto& box = static_cast<const rt::BoxControl&>(control);
        return roundedOut(pixelRect(box.Left, box.Top, box.Width, box.Height).translated(offset),
                          0);
    }
    }
}

QRegion Damage::collect(rt::Form& form, const QRect& wholeWindow)
{
    const rt::Form::Changes changes = form.takeChanges();
    if (changes.whole || m_drawn.isEmpty()) {
        m_drawn.clear();
        QRegion ignored;
        for (const rt::Control* control : form.controls())
            remember(*control, ignored);
        return wholeWindow;
    }
    QRegion region;
    for (const rt::Control* control : changes.controls) {
        remember(*control, region);
        if (control->kind() != rt::ControlKind::PictureBox)
            continue;
        const auto& box = static_cast<const rt::PictureBox&>(*control);
        for (const rt::Control* other : form.controls())
            if (inside(*other, box))
                remember(*other, region);
    }
    return region;
}

// Adds where the control was drawn and where it is now, and keeps the new place.
void Damage::remember(const rt::Control& control, QRegion& region)
{
    const QRect now = extentOf(control);
    region += m_drawn.value(&control);
    region += now;
    m_drawn.insert(&control, now);
}

} // namespace rtqt
