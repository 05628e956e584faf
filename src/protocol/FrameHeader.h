#pragma once

#include <cstdint>

#include "protocol/FrameBuilder.h"

inline constexpr uint8_t kHeader120 = 0xAA;
inline constexpr uint8_t kHeader220 = 0xBA;
inline constexpr uint8_t kHeader76 = 0xDA;

constexpr bool IsSecondHeaderByte(uint8_t b) {
  return b == 0xBB || b == 0xCC;
}

// A Frame76 opens with 0xDA and a second byte 0x60..0x6F.
constexpr bool IsFrame76Header(uint8_t b0, uint8_t b1) {
  return b0 == kHeader76 && (b1 & 0xF0) == 0x60;
}

// Length of the whole-checked frame that these two bytes open, or 0. Every
// whole-frame consumer sizes a frame by its own header, never by the kind
// seen before it.
constexpr int FrameLengthForHeader(uint8_t b0, uint8_t b1) {
  if (!IsSecondHeaderByte(b1)) return 0;
  if (b0 == kHeader120) return kFrame120Length;
  if (b0 == kHeader220) return kFrame220Length;
  return 0;
}
