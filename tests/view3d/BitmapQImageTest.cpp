// The decoder against Qt's own BMP reader, on every kind of file both read.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>

#include "BmpBytes.h"
#include "view3d/model/DibDecoder.h"

namespace {

struct Case {
  const char* name;
  BmpSpec layout;
};

std::vector<std::array<uint8_t, 3>> Ramp(int colours) {
  std::vector<std::array<uint8_t, 3>> palette;
  for (int i = 0; i < colours; ++i) {
    palette.push_back({static_cast<uint8_t>(i * 255 / std::max(1, colours - 1)),
                       static_cast<uint8_t>((i * 37) & 0xFF), static_cast<uint8_t>(255 - i)});
  }
  return palette;
}

BmpSpec Packed(int width, int height, int bits) {
  BmpSpec layout;
  layout.width = width;
  layout.height = height;
  layout.bitCount = static_cast<uint16_t>(bits);
  if (bits <= 8) layout.palette = Ramp(1 << bits);
  layout.pixels = PackRows(width, std::abs(height), bits, [bits](int x, int r) {
    const uint32_t v = static_cast<uint32_t>(x * 2654435761u + r * 40503u);
    return bits <= 8 ? v % (1u << bits) : (v >> 3);
  });
  return layout;
}

std::vector<Case> Cases() {
  std::vector<Case> cases;
  cases.push_back({"24 bits", Packed(13, 7, 24)});
  BmpSpec topDown = Packed(6, -5, 24);
  cases.push_back({"24 bits top-down", topDown});
  cases.push_back({"32 bits", Packed(5, 4, 32)});
  cases.push_back({"8 bits", Packed(9, 6, 8)});
  cases.push_back({"4 bits", Packed(9, 6, 4)});
  cases.push_back({"1 bit", Packed(19, 3, 1)});
  BmpSpec core8 = Packed(7, 3, 8);
  core8.core = true;
  cases.push_back({"core 8 bits", core8});
  BmpSpec core24 = Packed(7, 3, 24);
  core24.core = true;
  cases.push_back({"core 24 bits", core24});
  BmpSpec s565 = Packed(7, 3, 16);
  s565.compression = 3;
  s565.masks = {0xF800, 0x07E0, 0x001F};
  cases.push_back({"16 bits 5-6-5", s565});
  BmpSpec rle8;
  rle8.width = 8;
  rle8.height = 2;
  rle8.bitCount = 8;
  rle8.compression = 1;
  rle8.palette = Ramp(256);
  rle8.pixels = {4, 10, 0, 4, 1, 2, 3, 4, 0, 0, 8, 200, 0, 1};
  cases.push_back({"RLE8", rle8});
  BmpSpec rle4;
  rle4.width = 8;
  rle4.height = 2;
  rle4.bitCount = 4;
  rle4.compression = 2;
  rle4.palette = Ramp(16);
  rle4.pixels = {4, 0x5A, 0, 4, 0x12, 0x34, 0, 0, 8, 0xF0, 0, 1};
  cases.push_back({"RLE4", rle4});
  return cases;
}

}  // namespace

TEST(BitmapAgainstQt, SameColoursAsQtsReader) {
  for (const Case& c : Cases()) {
    const std::vector<uint8_t> bytes = MakeBmp(c.layout);
    QImage qt;
    ASSERT_TRUE(qt.loadFromData(bytes.data(), static_cast<int>(bytes.size()), "BMP")) << c.name;
    qt = qt.convertToFormat(QImage::Format_RGB888);
    const BitmapResult ours = DibDecoder::decode(bytes);
    ASSERT_EQ(ours.status, BitmapStatus::Ok) << c.name;
    ASSERT_EQ(ours.image->width, qt.width()) << c.name;
    ASSERT_EQ(ours.image->height, qt.height()) << c.name;
    // 16-bit channels widen to eight bits a little differently in Qt.
    const int tolerance = c.layout.bitCount == 16 ? 8 : 0;
    int differing = 0;
    for (int row = 0; row < qt.height(); ++row) {
      const uint8_t* theirs = qt.constScanLine(qt.height() - 1 - row);  // Qt: top row first
      const uint8_t* mine = ours.image->data.data() + row * ours.image->width * 3;
      for (int i = 0; i < qt.width() * 3; ++i) {
        if (std::abs(int(theirs[i]) - int(mine[i])) > tolerance) ++differing;
      }
    }
    EXPECT_EQ(differing, 0) << c.name;
  }
}
