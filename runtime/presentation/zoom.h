#pragma once

#include "runtime/core/form.h"
#include "runtime/presentation/geometry.h"

#include <algorithm>
#include <cmath>

namespace rt {

// How a window's layout, drawn in device-independent pixels, sits in a client area of any size:
// scaled by `factor` and centred, with black around it. The game always sees the layout's size.
struct Zoom {
    double factor = 1;
    Point offset;

    // The largest whole factor that fits, so pixel art keeps square pixels; a client area smaller
    // than the layout shrinks it by whatever fraction fits.
    static Zoom toFit(const Size& layout, const Size& client)
    {
        if (layout.isEmpty() || client.isEmpty())
            return {};
        const double fit = std::min(static_cast<double>(client.width) / layout.width,
                                    static_cast<double>(client.height) / layout.height);
        const double factor = fit >= 1 ? std::floor(fit) : fit;
        const Point offset{
            static_cast<int>(std::floor((client.width - layout.width * factor) / 2)),
            static_cast<int>(std::floor((client.height - layout.height * factor) / 2))};
        return {factor, offset};
    }

    RectF map(const RectF& rect) const
    {
        return {rect.left * factor + offset.x, rect.top * factor + offset.y, rect.width * factor,
                rect.height * factor};
    }

    // Rounded out to whole pixels, so a repaint covers every pixel the layout's rect touches.
    Rect map(const Rect& rect) const { return roundedOut(map(toRectF(rect))); }

    Region map(const Region& region) const
    {
        Region mapped;
        for (const Rect& rect : region)
            mapped.add(map(rect));
        return mapped;
    }

    // Back from the client area to the layout, rounded out.
    Rect unmap(const Rect& rect) const
    {
        return roundedOut({(rect.left - offset.x) / factor, (rect.top - offset.y) / factor,
                           rect.width / factor, rect.height / factor});
    }

    bool operator==(const Zoom&) const = default;
};

// A window's whole size on the screen, in pixels: its client area, the borders and the title bar.
inline Size outerSize(const FormFrame& frame)
{
    const auto pixels = [](float twips) { return static_cast<int>(std::lround(toPixels(twips))); };
    return {pixels(frame.clientWidth) + 2 * pixels(frame.designLeft),
            pixels(frame.clientHeight) + pixels(frame.designTop) + pixels(frame.designLeft)};
}

} // namespace rt
