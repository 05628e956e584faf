#include "YmodemSender.h"

#include <algorithm>
#include <cstring>

namespace ymodem_sender {

uint16_t Crc16Xmodem(const uint8_t* data, size_t count) {
  // Table-free and bit-serial, unlike anything the unit's code does.
  uint32_t crc = 0;
  for (size_t i = 0; i < count; ++i) {
    for (int bit = 7; bit >= 0; --bit) {
      const bool top = (crc & 0x8000) != 0;
      const bool in = ((data[i] >> bit) & 1) != 0;
      crc = (crc << 1) & 0xFFFF;
      if (top != in) crc ^= 0x1021;
    }
  }
  return uint16_t(crc);
}

Packet Build(uint8_t block, const uint8_t* data, size_t count) {
  Packet packet(133, 0);
  packet[0] = 0x01;
  packet[1] = block;
  packet[2] = uint8_t(255 - block);
  if (count > 0) std::memcpy(&packet[3], data, std::min<size_t>(count, 128));
  const uint16_t crc = Crc16Xmodem(&packet[3], 128);
  packet[131] = uint8_t(crc >> 8);
  packet[132] = uint8_t(crc);
  return packet;
}

Packet Header(const std::string& name, size_t size) {
  std::string data = name;
  data += '\0';
  data += std::to_string(size) + "  ";
  return Build(0, reinterpret_cast<const uint8_t*>(data.data()), data.size());
}

Packet DataBlock(const std::vector<uint8_t>& image, size_t block) {
  const size_t from = (block - 1) * 128;
  const size_t count = from < image.size() ? std::min<size_t>(128, image.size() - from) : 0;
  return Build(uint8_t(block), image.data() + from, count);
}

Packet Closing() {
  return Build(0, nullptr, 0);
}

size_t DataBlockCount(size_t imageSize) {
  return imageSize / 128 + 1;
}

std::vector<uint8_t> TestImage(size_t size) {
  std::vector<uint8_t> image(size);
  for (size_t i = 0; i < size; ++i) image[i] = uint8_t((i * 31 + 7) ^ (i >> 8));
  return image;
}

}  // namespace ymodem_sender
