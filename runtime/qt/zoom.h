#pragma once

#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QRegion>
#include <QSize>

#include <algorithm>
#include <cmath>

namespace rtqt {

// How a window's layout, drawn in device-independent pixels, sits in a client area of any size:
// scaled by `factor` and centred, with black around it. The game always sees the layout's size.
struct Zoom {
    double factor = 1;
    QPoint offset;

    // The largest whole factor that fits, so pixel art keeps square pixels; a client area smaller
    // than the layout shrinks it by whatever fraction fits.
    static Zoom toFit(const QSize& layout, const QSize& client)
    {
        if (layout.isEmpty() || client.isEmpty())
            return {};
        const double fit = std::min(static_cast<double>(client.width()) / layout.width(),
                                    static_cast<double>(client.height()) / layout.height());
        const double factor = fit >= 1 ? std::floor(fit) : fit;
        const QPoint offset(
            static_cast<int>(std::floor((client.width() - layout.width() * factor) / 2)),
            static_cast<int>(std::floor((client.height() - layout.height() * factor) / 2)));
        return {factor, offset};
    }

    QRectF map(const QRectF& rect) const
    {
        return {rect.left() * factor + offset.x(), rect.top() * factor + offset.y(),
                rect.width() * factor, rect.height() * factor};
    }

    // Rounded out to whole pixels, so a repaint covers every pixel the layout's rect touches.
    QRect map(const QRect& rect) const { return roundedOut(map(QRectF(rect))); }

    QRegion map(const QRegion& region) const
    {
        QRegion mapped;
        for (const QRect& rect : region)
            mapped += map(rect);
        return mapped;
    }

    // Back from the client area to the layout, rounded out.
    QRect unmap(const QRect& rect) const
    {
        return roundedOut(QRectF((rect.left() - offset.x()) / factor,
                                 (rect.top() - offset.y()) / factor, rect.width() / factor,
                                 rect.height() / factor));
    }

    QRegion unmap(const QRegion& region) const
    {
        QRegion unmapped;
        for (const QRect& rect : region)
            unmapped += unmap(rect);
        return unmapped;
    }

    static QRect roundedOut(const QRectF& rect)
    {
        const int left = static_cast<int>(std::floor(rect.left()));
        const int top = static_cast<int>(std::floor(rect.top()));
        const int right = static_cast<int>(std::ceil(rect.right()));
        const int bottom = static_cast<int>(std::ceil(rect.bottom()));
        return {QPoint(left, top), QSize(right - left, bottom - top)};
    }

    bool operator==(const Zoom&) const = default;
};

} // namespace rtqt
