#pragma once

#include <string>

#include "view3d/model/DibDecoder.h"

// Reads a BMP file from disk and decodes it, and words the messages the
// user sees when that fails.
class BitmapFile {
 public:
  static constexpr const char* kUnknownFormat = "Unknown DIB file format.";
  static constexpr const char* kConversionError = "Image file conversion error.";
  static constexpr const char* kOutOfMemory = "Out of memory.";
  static constexpr const char* kMessageCaption = "Error";

  static BitmapResult load(const std::string& path);
  // The message for a failed load; empty where the user is told nothing
  // (no path, a file that does not open).
  static std::string message(BitmapStatus status, const std::string& path);
};
