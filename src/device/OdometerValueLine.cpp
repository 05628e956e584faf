#include "device/OdometerValueLine.h"

#include <cstddef>

namespace {

bool IsSign(uint8_t byte) {
  return byte == '+' || byte == '-';
}

// Fields of `width` bytes, each starting with a sign.
std::optional<OdometerValueTexts> ReadFields(const ReplyLineBuffer& line, size_t width) {
  if (!IsSign(line.At(0)) || !IsSign(line.At(width)) || !IsSign(line.At(2 * width))) {
    return std::nullopt;
  }
  return OdometerValueTexts{line.Copy(0, width), line.Copy(width, width),
                            line.Copy(2 * width, width)};
}

}  // namespace

std::optional<OdometerValueTexts> ReadOdometerValueLine(const ReplyLineBuffer& line) {
  constexpr size_t kNarrowField = 8;
  constexpr size_t kWideField = 9;
  if (auto narrow = ReadFields(line, kNarrowField)) return narrow;
  return ReadFields(line, kWideField);
}
