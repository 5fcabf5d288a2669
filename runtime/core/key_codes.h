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

// The other keys a front end hands on, so a replay records them as the desktop does.
inline constexpr int kKeyBackspace = 8;
inline constexpr int kKeyShift = 16;
inline constexpr int kKeyControl = 17;
inline constexpr int kKeyAlt = 18;
inline constexpr int kKeyPageUp = 33;
inline constexpr int kKeyPageDown = 34;
inline constexpr int kKeyEnd = 35;
inline constexpr int kKeyHome = 36;
inline constexpr int kKeyInsert = 45;
inline constexpr int kKeyDelete = 46;
// The first of each run of keys numbered in a row: 0 to 9, A to Z, the keypad's 0 to 9, F1 to F12.
inline constexpr int kKey0 = 48;
inline constexpr int kKeyA = 65;
inline constexpr int kKeyNumpad0 = 96;
inline constexpr int kKeyF1 = 112;
inline constexpr int kKeyF12 = 123;

// The bits of a key's shift mask; only Shift is read by a rule.
inline constexpr int kShiftKey = 1;
inline constexpr int kCtrlKey = 2;
inline constexpr int kAltKey = 4;

} // namespace rt
