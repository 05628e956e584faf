#include "SkinPainter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

struct Rgb {
  int r, g, b;
};

constexpr Rgb kPaint{206, 210, 214};
constexpr Rgb kWingPaint{192, 197, 204};
constexpr Rgb kRed{196, 30, 36};
constexpr Rgb kWhite{244, 244, 244};
constexpr Rgb kBlue{28, 52, 132};
constexpr Rgb kAntiGlare{52, 56, 60};
constexpr Rgb kNozzle{40, 40, 42};

Rgb darker(Rgb c, int by) {
  return {std::max(0, c.r - by), std::max(0, c.g - by), std::max(0, c.b - by)};
}

// A little fixed grain so large panels do not look like plastic.
int grain(int x, int y) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return static_cast<int>((h >> 24) % 7) - 3;
}

Rgb fuselage(int x, int y) {
  const float along = x / 256.0f;   // nose 0 .. tail 1
  const float around = y / 128.0f;  // top 0, right 0.25, bottom 0.5, left 0.75
  const float fromTop = std::min(around, 1.0f - around);
  const float fromSide = std::min(std::fabs(around - 0.25f), std::fabs(around - 0.75f));
  if (along > 0.97f) return kNozzle;
  if (along > 0.1f && along < 0.3f && fromTop < 0.07f) return kAntiGlare;
  if (along < 0.05f) return kRed;  // nose tip
  if (along > 0.08f && along < 0.95f && fromSide > 0.02f && fromSide < 0.05f) return kRed;
  if (along > 0.82f && along < 0.86f) return kRed;  // band ahead of the nozzle
  Rgb c = kPaint;
  if (x % 24 == 0 || (y % 32 == 16 && along > 0.2f)) c = darker(c, 46);  // panel lines
  return c;
}

Rgb wing(int x, int y) {
  const float across = x / 256.0f;                    // left tip 0 .. right tip 1
  const float down = (y - 128) / 128.0f;              // leading 0 .. trailing edge 1
  if (across < 0.04f || across > 0.96f) return kRed;  // tips
  // Roundels near both tips, round on the wing although the picture is not
  // scaled alike in both directions there.
  for (float centre : {0.136f, 0.864f}) {
    const float dx = (across - centre) * 256.0f / 10.5f;
    const float dy = (down - 0.55f) * 128.0f / 23.0f;
    const float r = std::sqrt(dx * dx + dy * dy);
    if (r < 0.35f) return kRed;
    if (r < 0.68f) return kWhite;
    if (r < 1.0f) return kBlue;
  }
  Rgb c = kWingPaint;
  if (x % 20 == 10 || y == 128 + 90) c = darker(c, 40);  // panel lines and the flap line
  if (down > 0.75f && x % 20 != 10) c = darker(c, 12);   // flaps and ailerons
  return c;
}

}  // namespace

RGBImage SkinPainter::paint() {
  RGBImage image;
  image.width = kSize;
  image.height = kSize;
  image.data.resize(kSize * kSize * 3);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      Rgb c = y < kSize / 2 ? fuselage(x, y) : wing(x, y);
      const int g = grain(x, y);
      // The image is kept bottom row first, as the reader returns it.
      uint8_t* p = image.data.data() + ((kSize - 1 - y) * kSize + x) * 3;
      p[0] = static_cast<uint8_t>(std::clamp(c.r + g, 0, 255));
      p[1] = static_cast<uint8_t>(std::clamp(c.g + g, 0, 255));
      p[2] = static_cast<uint8_t>(std::clamp(c.b + g, 0, 255));
    }
  }
  return image;
}
