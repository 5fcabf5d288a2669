#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace board {

// The most characters of a name the board shows; the rest of a longer name is cut off.
inline constexpr std::size_t kLongestBoardName = 40;

// A name as typed, made fit to show anywhere as text: bytes that are not UTF-8 become U+FFFD,
// control characters go, and it is cut to kLongestBoardName characters.
std::string boardName(std::string_view typed);

} // namespace board
