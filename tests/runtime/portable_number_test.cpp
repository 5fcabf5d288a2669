#include "runtime/text/counter.h"
#include "runtime/text/portable_number.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>

namespace {

// Numbers a game writes into its counters, and the text they must show.
TEST(PortableNumbers, WriteTheCountersText)
{
    const std::pair<double, const char*> cases[] = {
        {212.5, "212.5"},    {-1, "-1"},
        {3000, "3000"},      {0.1 + 0.2, "0.30000000000000004"},
        {1e-7, "0.0000001"}, {1e22, "10000000000000000000000"},
        {-0.0, "0"},         {440500, "440500"},
        {5e-324, nullptr}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(rt::portable::numberText(value),
                  text ? std::string(text) : "0." + std::string(323, '0') + "5")
            << value;
}

// Across doubles of every kind (whole numbers, halves, tenths, random bits, powers of two where
// the gap to the next double is uneven) the portable text is the standard library's, and both
// read back as the same number.
TEST(PortableNumbers, MatchTheStandardLibrary)
{
    std::mt19937_64 draw(20261208);
    const auto check = [](double value) {
        if (!std::isfinite(value))
            return;
        const std::string text = rt::numberText(value);
        ASSERT_EQ(rt::portable::numberText(value), text) << std::hexfloat << value;
        ASSERT_EQ(rt::portable::readNumber(text), rt::parseNumber(text)) << text;
    };
    for (int i = 0; i < 10'000; ++i) {
        check(std::bit_cast<double>(draw()));
        check(static_cast<double>(static_cast<std::int64_t>(draw() % 2'000'001) - 1'000'000) / 8);
        check(static_cast<double>(draw() % 100'000) / 10);
    }
    for (int e = -1074; e < 1024; ++e)
        for (const double near : {std::ldexp(1.0, e), std::nextafter(std::ldexp(1.0, e), 0.0)})
            check(near);
}

// The standard library's reading of a whole text as a finite number.
std::optional<double> fromChars(std::string_view text)
{
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc{} || result.ptr != text.data() + text.size() ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
}

// Reading takes exactly the texts the standard library takes, as the same numbers.
TEST(PortableNumbers, ReadWhatTheStandardLibraryReads)
{
    for (const char* text :
         {"12",    "-3.5",   "1.",     ".5",  "-.5", "1e3", "1E+3",    "2e-3", "1e",
          "e3",    "-",      ".",      "+1",  " 1",  "1 ",  "0x10",    "inf",  "nan",
          "1e400", "1e-400", "1e-310", "1,5", "12a", "",    "00012.50"}) {
        std::optional<double> read = rt::portable::readNumber(text);
        if (read && !std::isfinite(*read))
            read.reset();
        EXPECT_EQ(read, fromChars(text)) << '"' << text << '"';
    }
}

} // namespace
