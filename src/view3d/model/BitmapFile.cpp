#include "view3d/model/BitmapFile.h"

#include <vector>

#include "view3d/model/FileBytes.h"

BitmapResult BitmapFile::load(const std::string& path) {
  BitmapResult result;
  if (path.empty()) {
    result.status = BitmapStatus::NoPath;
    return result;
  }
  std::vector<uint8_t> bytes;
  switch (FileBytes::read(path, bytes)) {
    case FileBytes::Result::NotOpened:
      result.status = BitmapStatus::NotOpened;
      return result;
    case FileBytes::Result::NotRead:
      result.status = BitmapStatus::NotMapped;
      return result;
    case FileBytes::Result::Ok:
      break;
  }
  return DibDecoder::decode(bytes);
}

std::string BitmapFile::message(BitmapStatus status, const std::string& path) {
  switch (status) {
    case BitmapStatus::UnknownFormat:
      return kUnknownFormat;
    case BitmapStatus::ConversionError:
      return kConversionError;
    case BitmapStatus::OutOfMemory:
      return kOutOfMemory;
    case BitmapStatus::NotMapped:
      return "Failed to open DIB file " + path + ".\n";
    case BitmapStatus::Ok:
    case BitmapStatus::NoPath:
    case BitmapStatus::NotOpened:
      break;
  }
  return {};
}
