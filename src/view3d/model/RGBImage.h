#pragma once

#include <cstdint>
#include <vector>

// A decoded bitmap: R, G, B per pixel, rows tightly packed, bottom row first,
// the row order OpenGL expects of a texture image.
struct RGBImage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> data;  // width * height * 3 bytes
};
