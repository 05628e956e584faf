#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

// The raw image between conversion and loading. It lives at one fixed path
// under the user's data directory, so the loader finds it without asking.
class FirmwareImageFile {
 public:
  // <data home>/tavrik/test.bin, the data home being $XDG_DATA_HOME when that
  // is an absolute path, else $HOME/.local/share. Either may be null.
  static std::filesystem::path PathFor(const char* xdgDataHome, const char* home);
  // The same, from this process's environment.
  static std::filesystem::path DefaultPath();

  // The whole file; none when it cannot be read.
  static std::optional<std::vector<uint8_t>> Read(const std::filesystem::path& path);
};
