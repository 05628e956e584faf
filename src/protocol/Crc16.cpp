#include "protocol/Crc16.h"

#include <array>

namespace {

// Slicing-by-8 tables: table[k][b] is the CRC contribution of byte b
// followed by k zero bytes, so eight bytes fold in per step.
using Tables = std::array<std::array<uint16_t, 256>, 8>;

constexpr Tables MakeTables() {
  Tables t{};
  for (unsigned b = 0; b < 256; ++b) {
    uint16_t crc = uint16_t(b);
    for (int bit = 0; bit < 8; ++bit)
      crc = (crc & 1) ? uint16_t((crc >> 1) ^ 0xA001) : uint16_t(crc >> 1);
    t[0][b] = crc;
  }
  for (unsigned b = 0; b < 256; ++b)
    for (int k = 1; k < 8; ++k) t[k][b] = uint16_t((t[k - 1][b] >> 8) ^ t[0][t[k - 1][b] & 0xFF]);
  return t;
}

constexpr Tables kTables = MakeTables();

}  // namespace

uint16_t Crc16Modbus(const uint8_t* data, size_t count) {
  uint16_t crc = 0xFFFF;
  while (count >= 8) {
    crc = kTables[7][(data[0] ^ crc) & 0xFF] ^ kTables[6][(data[1] ^ (crc >> 8)) & 0xFF] ^
          kTables[5][data[2]] ^ kTables[4][data[3]] ^ kTables[3][data[4]] ^ kTables[2][data[5]] ^
          kTables[1][data[6]] ^ kTables[0][data[7]];
    data += 8;
    count -= 8;
  }
  while (count--) crc = uint16_t((crc >> 8) ^ kTables[0][(crc ^ *data++) & 0xFF]);
  return crc;
}

uint8_t Sum8(const uint8_t* data, size_t count) {
  unsigned sum = 0;
  for (size_t i = 0; i < count; ++i) sum += data[i];
  return uint8_t(sum);
}
