#pragma once

#include "runtime/color.h"
#include "runtime/controls.h"

#include <QColor>
#include <QFont>
#include <QRectF>

namespace rtqt {

// Twips per device-independent pixel (96 dpi).
constexpr double kTwipsPerPixel = 15;

inline double toPixels(float twips) { return twips / kTwipsPerPixel; }
QRectF pixelRect(float left, float top, float width, float height);

// Always through the runtime's table, so system colours look the same on every desktop.
QColor toQColor(rt::Color color);

// The game's faces mapped to the free faces of the same kind, sized in pixels at 96 dpi so the
// look does not depend on the desktop's DPI setting.
QFont toQFont(const rt::Font& font);

} // namespace rtqt
