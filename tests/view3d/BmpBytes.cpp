#include "BmpBytes.h"

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

}  // namespace

std::vector<uint8_t> MakeBmp(const BmpSpec& layout) {
  std::vector<uint8_t> info;
  const uint32_t headerSize = layout.headerSize != 0 ? layout.headerSize : (layout.core ? 12 : 40);
  put32(info, headerSize);
  if (layout.core) {
    put16(info, static_cast<uint32_t>(layout.width));
    put16(info, static_cast<uint32_t>(layout.height));
    put16(info, 1);
    put16(info, layout.bitCount);
  } else {
    put32(info, static_cast<uint32_t>(layout.width));
    put32(info, static_cast<uint32_t>(layout.height));
    put16(info, 1);
    put16(info, layout.bitCount);
    put32(info, layout.compression);
    put32(info, static_cast<uint32_t>(layout.pixels.size()));
    put32(info, 2835);
    put32(info, 2835);
    put32(info, layout.usedColours);
    put32(info, 0);
  }
  while (info.size() < headerSize) info.push_back(0);
  for (uint32_t mask : layout.masks) put32(info, mask);
  for (const auto& c : layout.palette) {
    info.push_back(c[2]);
    info.push_back(c[1]);
    info.push_back(c[0]);
    if (!layout.core) info.push_back(0);
  }

  std::vector<uint8_t> out;
  if (layout.fileHeader) {
    const uint32_t offset = static_cast<uint32_t>(14 + info.size() + layout.pixelOffsetAdjust);
    out.push_back('B');
    out.push_back('M');
    put32(out, static_cast<uint32_t>(14 + info.size() + layout.pixels.size()));
    put32(out, 0);
    put32(out, offset);
  }
  out.insert(out.end(), info.begin(), info.end());
  out.insert(out.end(), layout.pixels.begin(), layout.pixels.end());
  return out;
}

std::vector<uint8_t> PackRows(int width, int rows, int bitCount,
                              const std::function<uint32_t(int x, int fileRow)>& value) {
  const size_t stride = ((static_cast<size_t>(width) * bitCount + 31) / 32) * 4;
  std::vector<uint8_t> out(stride * rows, 0);
  for (int y = 0; y < rows; ++y) {
    uint8_t* line = out.data() + stride * y;
    for (int x = 0; x < width; ++x) {
      const uint32_t v = value(x, y);
      switch (bitCount) {
        case 1:
          line[x / 8] |= static_cast<uint8_t>((v & 1) << (7 - x % 8));
          break;
        case 4:
          line[x / 2] |= static_cast<uint8_t>((v & 0xF) << (x % 2 ? 0 : 4));
          break;
        default:
          for (int b = 0; b < bitCount / 8; ++b) {
            line[x * (bitCount / 8) + b] = static_cast<uint8_t>(v >> (8 * b));
          }
      }
    }
  }
  return out;
}
