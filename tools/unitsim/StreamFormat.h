#pragma once

#include <cstdint>
#include <optional>

// What the unit streams: the frame kind and, for a 120-byte frame, the
// format byte at its offset 117.
enum class FrameKind { Frame120, Frame220, Frame76 };

struct StreamFormat {
  FrameKind kind = FrameKind::Frame120;
  uint8_t formatByte = 0;

  // The digit of "*PA AUTO FRAME<n>": 1 and 2 are 120-byte frames with format
  // byte 0 and 1, 3 the 220-byte frame, 6 the 76-byte frame.
  static std::optional<StreamFormat> FromCommandDigit(char digit);
  char CommandDigit() const;
  int FrameLength() const;
};
