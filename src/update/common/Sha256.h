#pragma once

#include <optional>
#include <string>
#include <string_view>

// SHA-256 digests as lower-case hex text, for the "SHA256" check of
// downloaded files.
class Sha256 {
 public:
  static std::optional<std::string> ofFile(const std::string& path);
  static std::string ofBytes(std::string_view bytes);
  // Whether `listed` (hex, any case, surrounding blanks allowed) names the
  // same digest as `actual`.
  static bool matches(std::string_view listed, std::string_view actual);
};
