#pragma once

#include "runtime/presentation/geometry.h"

#include <string_view>

namespace rt {

// What a paused stage shows over its field; drawn by the front end, not a control of the form.
inline constexpr std::string_view kPausedText = "PAUSED";
inline constexpr std::string_view kResumeText = "Press P to play on";
// Bold white words on a band of black that lets the field show through at this opacity.
inline constexpr std::string_view kBannerFamily = "DejaVu Sans";
inline constexpr double kBandOpacity = 0.72;
inline constexpr unsigned kHintGrey = 0xC8C8C8; // the hint's colour, 0xRRGGBB

// Where the banner goes on a window's client area of `client` pixels (before the zoom): a dark
// band across the middle, the big word and the line under it. Both front ends draw this.
struct PauseBanner {
    Rect band;
    Rect word;
    Rect hint;
    int wordPixels; // the faces' pixel sizes
    int hintPixels;
};

inline PauseBanner pauseBanner(Size client)
{
    const int bandHeight = client.height / 4;
    const int top = (client.height - bandHeight) / 2;
    const int wordHeight = bandHeight * 11 / 20;
    const int hintHeight = bandHeight - wordHeight;
    return {
        .band = {0, top, client.width, bandHeight},
        .word = {0, top + bandHeight / 12, client.width, wordHeight},
        .hint = {0, top + bandHeight / 12 + wordHeight, client.width, hintHeight - bandHeight / 6},
        .wordPixels = wordHeight * 3 / 4,
        .hintPixels = hintHeight * 2 / 5,
    };
}

} // namespace rt
