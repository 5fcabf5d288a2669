#pragma once

#include <optional>
#include <string>
#include <string_view>

// The counters' text written and read without the standard library's floating-point
// to_chars and from_chars, for libraries that lack them (the browser build's): the same text and
// the same numbers, from the C library's correctly rounded printf and strtod in the "C" locale.
namespace rt::portable {

// The shortest fixed-notation text that reads back as `value`; among texts as short, the nearest.
std::string numberText(double value);
// A whole text in the form [-]digits[.digits][(e|E)[+|-]digits] as the nearest double; nothing
// for any other text or a number out of range.
std::optional<double> readNumber(std::string_view text);

} // namespace rt::portable
