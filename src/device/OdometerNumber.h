#pragma once

#include <optional>
#include <string_view>

// Reads the number a parameter text starts with: leading blanks skipped, then
// the longest decimal number (optional sign, digits with an optional decimal
// point, optional exponent), so "1.5 m" gives 1.5. Nothing when the text does
// not start with a number, or when the number does not fit a double; the
// result never depends on the user's locale.
std::optional<double> ParseLeadingNumber(std::string_view text);
