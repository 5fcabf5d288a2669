#include "runtime/core/color.h"

#include "runtime/core/check.h"

namespace rt {

Color resolveColor(Color color)
{
    if ((color & 0x80000000u) == 0)
        return color;
    switch (color) {
    case SystemColor::WindowText:
    case SystemColor::WindowFrame:
    case SystemColor::MenuText:
    case SystemColor::ButtonText:
        return rgb(0, 0, 0);
    case SystemColor::WindowBackground:
    case SystemColor::HighlightText:
        return rgb(255, 255, 255);
    case SystemColor::ButtonFace:
        return rgb(0xF0, 0xF0, 0xF0);
    case SystemColor::ActiveBorder:
        return rgb(0xB4, 0xB4, 0xB4);
    default:
        RT_CHECK(false, "unknown system colour");
        return rgb(0, 0, 0);
    }
}

} // namespace rt
