#include "runtime/text/counter.h"

#include "runtime/core/check.h"
#include "runtime/core/controls.h"

#include "runtime/text/portable_number.h"

#include <charconv>
#include <cmath>
#include <version>

// libc++ 13, the browser build's library, has no floating-point to_chars or from_chars.
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
#define ZELVATRON_FLOAT_CHARCONV 1
#else
#define ZELVATRON_FLOAT_CHARCONV 0
#endif

namespace rt {

double counter(const Label& label)
{
    const auto value = parseNumber(label.Caption.value());
    RT_CHECK(value.has_value(),
             label.displayName() + ".Caption \"" + label.Caption.value() + "\" is not a number");
    return value.value_or(0.0);
}

void setCounter(Label& label, double value) { label.Caption = numberText(value); }

std::string numberText(double value)
{
    if (value == 0)
        return "0"; // never "-0"
#if ZELVATRON_FLOAT_CHARCONV
    char buffer[400];
    // Fixed notation in the fewest digits that read back as the same number.
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return std::string(buffer, result.ptr);
#else
    return portable::numberText(value);
#endif
}

std::optional<double> parseNumber(std::string_view text)
{
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    // from_chars takes no plus sign: drop one, but never let "+-1" read as -1.
    if (text.starts_with('+') && !text.starts_with("+-"))
        text.remove_prefix(1);
#if ZELVATRON_FLOAT_CHARCONV
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc{} || result.ptr != text.data() + text.size() ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
#else
    const std::optional<double> value = portable::readNumber(text);
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    return value;
#endif
}

} // namespace rt
