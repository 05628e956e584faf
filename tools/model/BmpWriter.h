#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "view3d/model/RGBImage.h"

// Writes an image as an ordinary 24-bit BMP: file header, 40-byte
// information header, rows bottom first, each padded to four bytes.
class BmpWriter {
 public:
  // image rows run bottom first, as RGBImage holds them.
  static std::vector<uint8_t> write(const RGBImage& image);
};
