#pragma once

#include <cstdint>

namespace rt {

// A colour number 0x00BBGGRR, or a named system colour (top bit set) resolved by one table.
using Color = std::uint32_t;

constexpr Color rgb(int r, int g, int b)
{
    return static_cast<Color>(r) | static_cast<Color>(g) << 8 | static_cast<Color>(b) << 16;
}

namespace SystemColor {
constexpr Color WindowText = 0x80000008;
constexpr Color WindowFrame = 0x80000006;
constexpr Color WindowBackground = 0x80000005;
constexpr Color HighlightText = 0x8000000E;
constexpr Color MenuText = 0x80000007;
constexpr Color ButtonFace = 0x8000000F;
constexpr Color ButtonText = 0x80000012;
constexpr Color ActiveBorder = 0x8000000A;
} // namespace SystemColor

// The game's fixed reading of the system colours: the desktop theme never changes them.
Color resolveColor(Color color);

inline int redOf(Color c) { return static_cast<int>(resolveColor(c) & 0xFF); }
inline int greenOf(Color c) { return static_cast<int>(resolveColor(c) >> 8 & 0xFF); }
inline int blueOf(Color c) { return static_cast<int>(resolveColor(c) >> 16 & 0xFF); }

} // namespace rt
