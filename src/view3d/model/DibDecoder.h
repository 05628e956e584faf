#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "view3d/model/RGBImage.h"

// Why a bitmap gave no image. Each has its own message (see BitmapFile).
enum class BitmapStatus {
  Ok,
  NoPath,           // nothing asked for
  NotOpened,        // the file does not open: no message
  NotMapped,        // it opens but cannot be read through
  UnknownFormat,    // a bitmap header of neither 12 nor 40 bytes
  ConversionError,  // sizes that do not fit the file, or pixels we cannot convert
  OutOfMemory,
};

struct BitmapResult {
  BitmapStatus status = BitmapStatus::ConversionError;
  std::unique_ptr<RGBImage> image;
};

// Decodes a Windows device-independent bitmap, with or without its 14-byte
// "BM" file header: 12-byte core or 40-byte information headers, colour
// tables, 1, 4, 8, 16, 24 and 32 bits per pixel, RLE8 and RLE4, bit-field
// masks. Every size is checked against the buffer before it is used, so a
// malformed file is refused and never read beyond its end.
class DibDecoder {
 public:
  // Larger pictures than this are refused as absurd: no GL takes them as a
  // texture, and an RLE file of a few bytes could otherwise ask for gigabytes.
  static constexpr int32_t kMaxSide = 16384;
  static constexpr int64_t kMaxPixels = int64_t{1} << 26;

  static BitmapResult decode(std::span<const uint8_t> bytes);
};
