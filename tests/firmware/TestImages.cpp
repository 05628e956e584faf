#include "tests/firmware/TestImages.h"

#include <algorithm>
#include <cstdio>

namespace test_images {

std::vector<uint8_t> Pattern(size_t size) {
  std::vector<uint8_t> image(size);
  for (size_t i = 0; i < size; ++i) image[i] = uint8_t(i * 7 + (i >> 7) * 13 + (i >> 8) + 1);
  return image;
}

std::string Record(uint8_t type, uint16_t address, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> bytes{uint8_t(data.size()), uint8_t(address >> 8), uint8_t(address), type};
  bytes.insert(bytes.end(), data.begin(), data.end());
  unsigned sum = 0;
  for (uint8_t b : bytes) sum += b;
  bytes.push_back(uint8_t(0x100 - (sum & 0xFF)));
  std::string line = ":";
  char pair[3];
  for (uint8_t b : bytes) {
    std::snprintf(pair, sizeof pair, "%02X", b);
    line += pair;
  }
  return line;
}

std::string HexFile(const std::vector<uint8_t>& image, size_t perRecord) {
  constexpr uint32_t kBase = 0x08000000;
  std::string text;
  uint32_t upper = 0xFFFFFFFF;
  for (size_t offset = 0; offset < image.size(); offset += perRecord) {
    const uint32_t address = kBase + uint32_t(offset);
    if ((address >> 16) != upper) {
      upper = address >> 16;
      text += Record(4, 0, {uint8_t(upper >> 8), uint8_t(upper)}) + "\r\n";
    }
    const size_t count = std::min(perRecord, image.size() - offset);
    text += Record(0, uint16_t(address),
                   std::vector<uint8_t>(image.begin() + std::ptrdiff_t(offset),
                                        image.begin() + std::ptrdiff_t(offset + count))) +
            "\r\n";
  }
  text += Record(5, 0, {0x08, 0x00, 0x01, 0x01}) + "\r\n";
  text += ":00000001FF\r\n";
  return text;
}

}  // namespace test_images
