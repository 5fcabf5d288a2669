#include "runtime/text/portable_number.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace rt::portable {

namespace {

// A decimal with `digits` significant digits, "d.ddd" times ten to the power `exponent`.
struct Decimal {
    std::string digits;
    int exponent = 0;
};

// `value` (positive) correctly rounded to `count` significant digits.
Decimal rounded(double value, int count)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*e", count - 1, value);
    Decimal d;
    const char* c = text;
    for (; *c && *c != 'e'; ++c)
        if (*c >= '0' && *c <= '9')
            d.digits += *c;
    d.exponent = std::atoi(c + 1);
    return d;
}

double valueOf(const Decimal& d)
{
    const std::string text =
        d.digits + "e" + std::to_string(d.exponent - static_cast<int>(d.digits.size()) + 1);
    return std::strtod(text.c_str(), nullptr);
}

// The decimal one unit in the last digit above or below, with as many digits.
Decimal step(Decimal d, int by)
{
    int i = static_cast<int>(d.digits.size()) - 1;
    for (; i >= 0; --i) {
        char& c = d.digits[static_cast<std::size_t>(i)];
        if (by > 0 && c == '9') {
            c = '0';
            continue;
        }
        if (by < 0 && c == '0') {
            c = '9';
            continue;
        }
        c = static_cast<char>(c + by);
        break;
    }
    if (i < 0 && by > 0) { // 999 + 1: one more power of ten
        d.digits.pop_back();
        d.digits.insert(d.digits.begin(), '1');
        ++d.exponent;
    }
    if (d.digits[0] == '0') { // 100 - 1: one fewer
        d.digits.erase(d.digits.begin());
        d.digits.push_back('9');
        --d.exponent;
    }
    return d;
}

// The fewest significant digits that read back as `value`: the correctly rounded ones, or a
// neighbour where the gap to the next double is uneven (at a power of two).
Decimal shortest(double value)
{
    for (int count = 1; count < 17; ++count) {
        const Decimal nearest = rounded(value, count);
        if (valueOf(nearest) == value)
            return nearest;
        for (const int by : {1, -1}) {
            const Decimal next = step(nearest, by);
            if (next.digits[0] != '0' && valueOf(next) == value)
                return next;
        }
    }
    return rounded(value, 17);
}

} // namespace

std::string numberText(double value)
{
    if (value == 0)
        return "0";
    Decimal d = shortest(std::fabs(value));
    while (d.digits.size() > 1 && d.digits.back() == '0')
        d.digits.pop_back();
    const int count = static_cast<int>(d.digits.size());
    std::string text = value < 0 ? "-" : "";
    if (d.exponent >= count - 1) {
        // A whole number: every digit shows, so the nearest text is the exact value's.
        char whole[400];
        std::snprintf(whole, sizeof whole, "%.0f", std::fabs(value));
        text += whole;
    } else if (d.exponent >= 0)
        text += d.digits.substr(0, static_cast<std::size_t>(d.exponent + 1)) + "." +
                d.digits.substr(static_cast<std::size_t>(d.exponent + 1));
    else
        text += "0." + std::string(static_cast<std::size_t>(-d.exponent - 1), '0') + d.digits;
    return text;
}

std::optional<double> readNumber(std::string_view text)
{
    std::size_t i = 0;
    const auto digitsFrom = [&text](std::size_t& at) {
        const std::size_t start = at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9')
            ++at;
        return at - start;
    };
    if (i < text.size() && text[i] == '-')
        ++i;
    std::size_t mantissa = digitsFrom(i);
    if (i < text.size() && text[i] == '.') {
        ++i;
        mantissa += digitsFrom(i);
    }
    if (mantissa == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t at = i + 1;
        if (at < text.size() && (text[at] == '+' || text[at] == '-'))
            ++at;
        if (digitsFrom(at) > 0)
            i = at; // an "e" without digits is not part of the number
    }
    if (i != text.size())
        return std::nullopt;
    const std::string copy(text);
    errno = 0;
    const double value = std::strtod(copy.c_str(), nullptr);
    if (errno == ERANGE && (value == 0 || std::isinf(value)))
        return std::nullopt;
    return value;
}

} // namespace rt::portable
