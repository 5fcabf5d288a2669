#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rt {

class Label;

// A counter label holds a number as the text of its caption.
double counter(const Label& label);
void setCounter(Label& label, double value);

// Shortest decimal text: "212.5", "-1", "3000"; no leading blank, no point for whole numbers.
std::string numberText(double value);
// The number a text holds (blanks around it allowed), or nothing when it holds none.
std::optional<double> parseNumber(std::string_view text);

} // namespace rt
