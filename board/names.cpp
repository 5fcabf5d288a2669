#include "board/names.h"

#include "runtime/core/utf8.h"

namespace board {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

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
        // A byte that starts no character reads as one replacement character.
        const char32_t code = rt::utf8At(typed, at, length).value_or(kReplacement);
        if (isControl(code))
            continue;
        rt::appendUtf8(name, code);
        ++kept;
    }
    return name;
}

} // namespace board
