#pragma once

namespace rt {

// The game's key codes are Windows virtual-key codes; these are the keys the runtime itself
// acts on. Each front end maps its own keys to them.
inline constexpr int kKeyTab = 9;
inline constexpr int kKeyEnter = 13;
inline constexpr int kKeyEscape = 27;
inline constexpr int kKeySpace = 32;
inline constexpr int kKeyLeft = 37;
inline constexpr int kKeyUp = 38;
inline constexpr int kKeyRight = 39;
inline constexpr int kKeyDown = 40;
inline constexpr int kKeyM = 77;
inline constexpr int kKeyP = 80;

// The Shift bit of a key's shift mask (Ctrl is 2 and Alt 4; no rule reads them).
inline constexpr int kShiftKey = 1;

} // namespace rt
