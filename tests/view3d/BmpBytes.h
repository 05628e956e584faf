#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

// Hand-made BMP files for the decoder's tests: any header kind, bit depth,
// palette and compression, exactly as described, so that tests can also
// make them wrong on purpose.
struct BmpSpec {
  bool fileHeader = true;
  bool core = false;        // 12-byte core header instead of the 40-byte one
  uint32_t headerSize = 0;  // 0: the size the kind has; anything else to test refusals
  int32_t width = 1;
  int32_t height = 1;  // negative: top row first
  uint16_t bitCount = 24;
  uint32_t compression = 0;
  uint32_t usedColours = 0;
  std::vector<std::array<uint8_t, 3>> palette;  // R, G, B
  std::vector<uint32_t> masks;                  // red, green, blue for bit fields
  std::vector<uint8_t> pixels;                  // as stored in the file
  int64_t pixelOffsetAdjust = 0;                // moves the file header's pixel offset
};

std::vector<uint8_t> MakeBmp(const BmpSpec& layout);

// Rows as the file stores them, each padded to four bytes; value(x, fileRow)
// gives the index or the packed pixel.
std::vector<uint8_t> PackRows(int width, int rows, int bitCount,
                              const std::function<uint32_t(int x, int fileRow)>& value);
