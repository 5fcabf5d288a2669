#pragma once

#include <cstdint>
#include <string>

namespace rt {

// One input from the player as the game took it: a key heard by a window's Form_KeyDown, a
// button pressed (by a click, Enter or Space), the new text of a text box, or a window closed
// with its frame, or the game paused or resumed on a stage window, at the scheduler's instant. A
// game is its input events: the random draws never reseed and every tick runs at its due instant,
// so the same events replay the game. Moving the focus is not one: it changes nothing but where the
// next Enter goes, and that press is recorded.
struct InputEvent {
    enum class Kind { Key, Click, Text, Close, Pause, Resume };
    Kind kind = Kind::Key;
    std::int64_t atUs = 0;
    std::string form = {}; // the window's name: "Form1"
    std::string control =
        {}; // the button or text box: "OKButton", "PlayerName"; empty for the other kinds
    int keyCode = 0;
    int shift = 0;
    std::string text = {};
};

} // namespace rt
