#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace rt {

// The character UTF-8 `text` holds at byte `at`, and in `length` how many bytes it takes; nothing
// where no valid sequence starts there (a stray continuation byte, an overlong or surrogate
// form, a sequence cut off by the end).
std::optional<char32_t> utf8At(std::string_view text, std::size_t at, std::size_t& length);
bool validUtf8(std::string_view text);
void appendUtf8(std::string& out, char32_t code);

} // namespace rt
