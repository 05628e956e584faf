#include "update/common/LeadingDigits.h"

uint64_t leadingDigits(std::string_view text, uint64_t limit) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  if (i < text.size() && text[i] == '+') ++i;
  uint64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    const uint64_t digit = static_cast<uint64_t>(text[i] - '0');
    if (value > (limit - digit) / 10) return limit;
    value = value * 10 + digit;
  }
  return value;
}
