#include "device/OdometerNumber.h"

#include <charconv>
#include <cstddef>

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

size_t SkipDigits(std::string_view text, size_t i) {
  while (i < text.size() && IsDigit(text[i])) ++i;
  return i;
}

// Length of the decimal number at the start of `text`, 0 when there is none.
size_t NumberLength(std::string_view text) {
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const size_t integerStart = i;
  i = SkipDigits(text, i);
  size_t digits = i - integerStart;
  if (i < text.size() && text[i] == '.') {
    const size_t fractionStart = i + 1;
    const size_t fractionEnd = SkipDigits(text, fractionStart);
    digits += fractionEnd - fractionStart;
    i = fractionEnd;
  }
  if (digits == 0) return 0;

  // An exponent counts only with at least one digit: "2e" is the number 2.
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t exponent = i + 1;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    const size_t exponentEnd = SkipDigits(text, exponent);
    if (exponentEnd > exponent) i = exponentEnd;
  }
  return i;
}

}  // namespace

std::optional<double> ParseLeadingNumber(std::string_view text) {
  size_t start = 0;
  while (start < text.size() && IsBlank(text[start])) ++start;
  std::string_view number = text.substr(start, NumberLength(text.substr(start)));
  if (number.empty()) return std::nullopt;

  // from_chars takes no plus sign.
  if (number.front() == '+') number.remove_prefix(1);
  double value = 0.0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error != std::errc() || end != number.data() + number.size()) return std::nullopt;
  return value;
}
