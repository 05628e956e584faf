#include "update/common/VersionNumber.h"

#include <cstdint>
#include <limits>

#include "update/common/LeadingDigits.h"

namespace {

// Takes the next dot-separated field off the front of `text`.
uint64_t nextField(std::string_view& text) {
  const size_t dot = text.find('.');
  const std::string_view field = text.substr(0, dot);
  text = dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
  size_t digits = 0;
  while (digits < field.size() && field[digits] >= '0' && field[digits] <= '9') ++digits;
  return leadingDigits(field.substr(0, digits), std::numeric_limits<uint64_t>::max());
}

}  // namespace

int VersionNumber::compare(std::string_view a, std::string_view b) {
  while (!a.empty() || !b.empty()) {
    const uint64_t left = nextField(a);
    const uint64_t right = nextField(b);
    if (left != right) return left < right ? -1 : 1;
  }
  return 0;
}
