#pragma once

#include <string_view>

// Dotted version texts ("1.0.0.10") ordered as numbers, field by field.
// Each field counts by its leading digits; a field without digits, or a field
// that is missing, counts 0. So 1.0.0.10 is newer than 1.0.0.9, and "1.2"
// equals "1.2.0.0".
class VersionNumber {
 public:
  // Negative when a is older than b, 0 when equal, positive when newer.
  static int compare(std::string_view a, std::string_view b);
};
