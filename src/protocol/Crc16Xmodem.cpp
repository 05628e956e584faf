#include "protocol/Crc16Xmodem.h"

#include <array>

namespace {

// table[b] is the CRC of the single byte b, so a byte folds in per step.
constexpr std::array<uint16_t, 256> MakeTable() {
  std::array<uint16_t, 256> table{};
  for (unsigned b = 0; b < 256; ++b) {
    uint16_t crc = uint16_t(b << 8);
    for (int bit = 0; bit < 8; ++bit)
      crc = (crc & 0x8000) ? uint16_t((crc << 1) ^ 0x1021) : uint16_t(crc << 1);
    table[b] = crc;
  }
  return table;
}

constexpr std::array<uint16_t, 256> kTable = MakeTable();

}  // namespace

uint16_t Crc16Xmodem(const uint8_t* data, size_t count) {
  uint16_t crc = 0;
  for (size_t i = 0; i < count; ++i) crc = uint16_t((crc << 8) ^ kTable[(crc >> 8) ^ data[i]]);
  return crc;
}
