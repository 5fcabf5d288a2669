#pragma once

#include "runtime/core/color.h"
#include "runtime/core/controls.h"
#include "runtime/presentation/geometry.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QRectF>
#include <QRegion>
#include <QSize>

namespace rtqt {

inline QRect toQRect(const rt::Rect& rect)
{
    return {rect.left, rect.top, rect.width, rect.height};
}
inline QRectF toQRectF(const rt::RectF& rect)
{
    return {rect.left, rect.top, rect.width, rect.height};
}
inline rt::Rect fromQRect(const QRect& rect)
{
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}
inline rt::Size fromQSize(const QSize& size) { return {size.width(), size.height()}; }
QRegion toQRegion(const rt::Region& region);

// Always through the runtime's table, so system colours look the same on every desktop.
QColor toQColor(rt::Color color);

// The free face that draws one of the game's fonts (rt::faceOf).
QFont toQFont(const rt::Font& font);

} // namespace rtqt
