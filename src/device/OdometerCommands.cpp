#include "device/OdometerCommands.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

constexpr std::array<std::string_view, 5> kGroups{"ATB", "ATG", "LTC", "LTG", "KWS"};
constexpr std::string_view kUnsignedGroup = "KWS";

// The absolute value with three decimals, zero-padded on the left to `width`,
// like "%0*.3f" but free of the locale Qt installs.
std::string PaddedAbsolute(double value, size_t width) {
  char digits[400];
  const auto result =
      std::to_chars(digits, digits + sizeof digits, std::fabs(value), std::chars_format::fixed, 3);
  std::string text(digits, result.ptr);
  if (text.size() < width) text.insert(0, width - text.size(), '0');
  return text;
}

std::string SignedField(double value) {
  constexpr size_t kWidth = 6;
  return (value < 0 ? '-' : '+') + PaddedAbsolute(value, kWidth);
}

std::string UnsignedField(double value) {
  constexpr size_t kWidth = 7;
  return PaddedAbsolute(value, kWidth);
}

}  // namespace

bool IsOdometerGroup(std::string_view group) {
  return std::find(kGroups.begin(), kGroups.end(), group) != kGroups.end();
}

std::optional<std::string> OdometerReadCommand(std::string_view group) {
  if (!IsOdometerGroup(group)) return std::nullopt;
  return "*PA AUTO ODO RAD_" + std::string(group);
}

bool OdometerGroupTakesNegatives(std::string_view group) {
  return group != kUnsignedGroup;
}

std::optional<std::string> OdometerWriteCommand(std::string_view group,
                                                const std::array<double, 3>& values) {
  if (!IsOdometerGroup(group)) return std::nullopt;
  // A field without room for a sign would turn a negative value positive.
  if (!OdometerGroupTakesNegatives(group) &&
      std::any_of(values.begin(), values.end(), [](double v) { return v < 0; })) {
    return std::nullopt;
  }
  std::string command = "*PA AUTO ODO SET_" + std::string(group);
  for (double value : values) {
    command += ' ';
    command += group == kUnsignedGroup ? UnsignedField(value) : SignedField(value);
  }
  return command;
}
