#include "device/FirmwareImageFile.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

std::filesystem::path FirmwareImageFile::PathFor(const char* xdgDataHome, const char* home) {
  std::filesystem::path dataHome;
  if (xdgDataHome && std::filesystem::path(xdgDataHome).is_absolute()) {
    dataHome = xdgDataHome;
  } else if (home && *home) {
    dataHome = std::filesystem::path(home) / ".local" / "share";
  }
  return dataHome / "tavrik" / "test.bin";
}

std::filesystem::path FirmwareImageFile::DefaultPath() {
  return PathFor(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

std::optional<std::vector<uint8_t>> FirmwareImageFile::Read(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file),
                             std::istreambuf_iterator<char>()};
  if (file.bad()) return std::nullopt;
  return bytes;
}
