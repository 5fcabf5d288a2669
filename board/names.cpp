#include "board/names.h"

#include <cstdint>

namespace board {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The code point that starts at `at`, and how many bytes it takes; a byte that starts no valid
// sequence (a stray continuation, an overlong or surrogate form, a cut-off tail) reads as one
// replacement character.
char32_t decode(std::string_view text, std::size_t at, std::size_t& length)
{
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[at + i]); };
    const std::uint8_t lead = byte(0);
    length = 1;
    if (lead < 0x80)
        return lead;
    std::size_t extra = 0;
    char32_t code = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, code = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, code = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, code = lead & 0x07, least = 0x10000;
    } else {
        return kReplacement;
    }
    if (at + extra >= text.size())
        return kReplacement;
    for (std::size_t i = 1; i <= extra; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return kReplacement;
        code = (code << 6) | (byte(i) & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return kReplacement;
    length = extra + 1;
    return code;
}

void append(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool isControl(char32_t code)
{
    return code < 0x20 || (code >= 0x7F && code < 0xA0) || code == 0x2028 || code == 0x2029;
}

} // namespace

std::string boardName(std::string_view typed)
{
    std::string name;
    std::size_t kept = 0;
    for (std::size_t at = 0, length = 0; at < typed.size() && kept < kLongestBoardName;
         at += length) {
        const char32_t code = decode(typed, at, length);
        if (isControl(code))
            continue;
        append(name, code);
        ++kept;
    }
    return name;
}

} // namespace board
