#include "device/IntelHexRecord.h"

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

uint8_t ByteAt(std::string_view digits, size_t index) {
  return uint8_t(HexDigit(digits[2 * index]) << 4 | HexDigit(digits[2 * index + 1]));
}

// Byte count, two address bytes, type and checksum.
constexpr size_t kFrameBytes = 5;

}  // namespace

const char* IntelHexRecord::Parse(std::string_view line, IntelHexRecord& record) {
  if (line.empty() || line.front() != ':') return IntelHexFault::kMissingColon;
  const std::string_view digits = line.substr(1);
  for (char c : digits) {
    if (HexDigit(c) < 0) return IntelHexFault::kNotHex;
  }
  if (digits.size() % 2 != 0) return IntelHexFault::kOddDigits;
  const size_t bytes = digits.size() / 2;
  if (bytes < kFrameBytes) return IntelHexFault::kTooShort;
  const uint8_t count = ByteAt(digits, 0);
  if (bytes != kFrameBytes + count) return IntelHexFault::kCountMismatch;
  const uint8_t type = ByteAt(digits, 3);
  if (type > uint8_t(Type::StartLinearAddress)) return IntelHexFault::kUnknownType;
  uint8_t sum = 0;
  for (size_t i = 0; i < bytes; ++i) sum = uint8_t(sum + ByteAt(digits, i));
  if (sum != 0) return IntelHexFault::kBadChecksum;

  record.type = Type(type);
  record.address = uint16_t(ByteAt(digits, 1) << 8 | ByteAt(digits, 2));
  record.count = count;
  for (size_t i = 0; i < count; ++i) record.data[i] = ByteAt(digits, 4 + i);
  return nullptr;
}
