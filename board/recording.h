#pragma once

#include "tools/verify/verifier.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace board {

// A game a recording finished, as the board would enter it.
struct FinishedGame {
    // The same game in a longer recording of the same session has the same key: the SHA-256 of
    // the recording's text up to the game's last input, and the game's place in it.
    std::string key;
    std::string name; // as the board shows it
    std::string level;
    std::int32_t score = 0;
};

// A recording the server played to its end itself.
struct CheckedRecording {
    std::string sha256; // of the whole text, in hex
    std::vector<FinishedGame> games;
};

// Why a recording is not taken, and the line that showed it (0 for the whole text).
struct Refusal {
    int line = 0;
    std::string why;
};

// Plays a recording headless under the limits and reads off every game it finished. Only a
// recording that plays out whole is taken: one refused part-way, or past a limit, adds nothing.
std::variant<CheckedRecording, Refusal> checkRecording(std::string_view text,
                                                       const verify::Limits& limits);

std::string sha256Hex(std::string_view bytes);

} // namespace board
