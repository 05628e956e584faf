#include "tests/firmware/ExpectedPacket.h"

#include <algorithm>

namespace expected_packet {

uint16_t Crc(const std::vector<uint8_t>& data) {
  // Long division of the message, followed by 16 zero bits, by x^16 + x^12 + x^5 + 1.
  std::vector<int> bits;
  for (uint8_t byte : data)
    for (int bit = 7; bit >= 0; --bit) bits.push_back((byte >> bit) & 1);
  bits.insert(bits.end(), 16, 0);
  const int divisor[17] = {1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  for (size_t i = 0; i + 16 < bits.size(); ++i) {
    if (!bits[i]) continue;
    for (int j = 0; j < 17; ++j) bits[i + j] ^= divisor[j];
  }
  uint16_t crc = 0;
  for (size_t i = bits.size() - 16; i < bits.size(); ++i) crc = uint16_t(crc << 1 | bits[i]);
  return crc;
}

std::vector<uint8_t> Packet(uint8_t number, std::vector<uint8_t> data) {
  data.resize(128, 0);
  std::vector<uint8_t> packet(133, 0);
  packet[0] = 0x01;
  packet[1] = number;
  packet[2] = uint8_t(~number);
  std::copy(data.begin(), data.end(), packet.begin() + 3);
  const uint16_t crc = Crc(data);
  packet[131] = uint8_t(crc >> 8);
  packet[132] = uint8_t(crc & 0xFF);
  return packet;
}

std::vector<uint8_t> Header(const std::string& name, size_t size) {
  const std::string field = name + '\0' + std::to_string(size) + "  ";
  return Packet(0, std::vector<uint8_t>(field.begin(), field.end()));
}

std::vector<uint8_t> DataBlock(const std::vector<uint8_t>& image, size_t block) {
  const size_t from = std::min(image.size(), (block - 1) * 128);
  const size_t to = std::min(image.size(), from + 128);
  return Packet(uint8_t(block % 256), std::vector<uint8_t>(image.begin() + std::ptrdiff_t(from),
                                                           image.begin() + std::ptrdiff_t(to)));
}

}  // namespace expected_packet
