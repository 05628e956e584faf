#include "device/HexImageConverter.h"

#include <fstream>
#include <iterator>

#include "device/FirmwareTexts.h"
#include "device/IntelHexReader.h"

namespace {

using Outcome = HexImageConverter::Outcome;

HexImageConverter::Result Refused(Outcome outcome, std::string message) {
  HexImageConverter::Result result;
  result.outcome = outcome;
  result.message = std::move(message);
  return result;
}

bool ReadWhole(const std::filesystem::path& path, std::string& text) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return false;
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return !file.bad();
}

bool EnsureDirectory(const std::filesystem::path& directory) {
  if (directory.empty()) return true;
  std::error_code error;
  if (std::filesystem::exists(directory, error)) {
    return std::filesystem::is_directory(directory, error);
  }
  return std::filesystem::create_directories(directory, error) && !error;
}

bool WriteImage(const std::filesystem::path& path, const std::vector<uint8_t>& image) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) return false;
  file.write(reinterpret_cast<const char*>(image.data()), std::streamsize(image.size()));
  file.close();
  if (file) return true;
  std::error_code error;
  std::filesystem::remove(path, error);  // a short image must not be taken for a whole one
  return false;
}

}  // namespace

HexImageConverter::Result HexImageConverter::Convert(const std::filesystem::path& hexPath,
                                                     const std::filesystem::path& imagePath) {
  std::string text;
  if (!ReadWhole(hexPath, text))
    return Refused(Outcome::HexNotOpened, FirmwareTexts::kHexNotOpened);

  std::error_code ignored;
  std::filesystem::remove(imagePath, ignored);
  if (!EnsureDirectory(imagePath.parent_path())) {
    return Refused(Outcome::NoImageDirectory, FirmwareTexts::kNoImageDirectory);
  }

  const IntelHexReader::Result hex = IntelHexReader::Read(text);
  if (!hex.Sound()) {
    return Refused(Outcome::BadRecord, std::string(FirmwareTexts::kBadRecordBefore) +
                                           std::to_string(hex.faultLine) +
                                           FirmwareTexts::kBadRecordMiddle + hex.fault +
                                           FirmwareTexts::kBadRecordAfter);
  }
  if (!WriteImage(imagePath, hex.image)) {
    return Refused(Outcome::ImageNotCreated, FirmwareTexts::kImageNotCreated);
  }

  Result result;
  result.outcome = hex.endOfFileSeen ? Outcome::Converted : Outcome::NoEndRecord;
  result.imageSize = hex.image.size();
  return result;
}
