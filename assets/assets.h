#pragma once

#include <span>
#include <string_view>

// The game's pictures as PNG bytes, the same for every front end: the desktop decodes them, a
// web page can be handed them as they are.
namespace assets {

struct Picture {
    std::string_view name; // as a layout names it: "title", "enemy", "ship", "icon-48"
    std::span<const unsigned char> png;
};

// Every picture, the window icon's sizes included, so a front end can take them all at once.
std::span<const Picture> pictures();

// The PNG bytes of the picture a layout names; empty for an empty or unknown name.
std::span<const unsigned char> png(std::string_view name);

} // namespace assets
