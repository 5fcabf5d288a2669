#pragma once

#include "runtime/presentation/geometry.h"

namespace rt {
class Form;
struct PauseBanner;
} // namespace rt

namespace rtweb {

// Draws the parts of a form's client area in `damaged` on its panel's canvas, from its
// controls; reads the form and changes nothing. The order is the desktop's: each container (the
// window, then every picture box inside it) draws its back colour and picture, its lines, shapes
// and labels in layout order, then its picture boxes, each clipped to its box. With a `banner`
// (the game paused on the form), its band is painted whole when any of it is damaged, then the
// banner over it.
void paintForm(int panel, const rt::Form& form, const rt::Region& damaged,
               const rt::PauseBanner* banner);

} // namespace rtweb
