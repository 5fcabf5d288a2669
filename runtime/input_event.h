#pragma once

#include <cstdint>
#include <string>

namespace rt {

// One input from the player as the game took it: a key on a window, a click on a button, or the
// new text of a text box, at the scheduler's instant. A game is its input events: the random
// draws never reseed and every tick runs at its due instant, so the same events replay the game.
struct InputEvent {
    enum class Kind { Key, Click, Text };
    Kind kind = Kind::Key;
    std::int64_t atUs = 0;
    std::string form = {};    // the window's name: "Form1"
    std::string control = {}; // the button or text box: "OKButton", "PlayerName"; empty for a key
    int keyCode = 0;
    int shift = 0;
    std::string text = {};
};

} // namespace rt
