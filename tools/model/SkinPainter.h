#pragma once

#include "view3d/model/RGBImage.h"

// Paints the aircraft's skin texture. The upper half wraps the fuselage
// (across: nose to tail; down: round the body from the top, right side,
// underside, left side), the lower half covers the wings (across: left tip
// to right tip; down: leading to trailing edge).
class SkinPainter {
 public:
  static constexpr int kSize = 256;
  static RGBImage paint();
};
