#pragma once

#include "runtime/presentation/display_list.h"

#include <string>
#include <vector>

namespace rtweb {

// A display list as the page's painter reads it straight from the compiled game's memory: one
// array of numbers and one of UTF-8 bytes, made again for each frame. Each command is its code
// (rt::draw::Code) followed by its fields in a fixed order, a shape as outline, left, top, width,
// height, radius and a string as its offset and length in `strings`:
//   Clip     left top width height
//   Unclip
//   Fill     shape rgb hatch opacity
//   Ring     shape(outer) shape(inner) rgb
//   Band     x0 y0 x1 y1 x2 y2 x3 y3 rgb
//   Picture  string(name) x y scale
//   Text     string(text) left top width height string(family) px rgb bold align layout
struct PageCommands {
    std::vector<double> numbers;
    std::string strings;

    void write(const std::vector<rt::draw::Command>& commands);
};

} // namespace rtweb
