#pragma once

#include <string>

// The three values of one odometer parameter group as the unit printed them,
// left to right; the parameter dialog shows them in its three edit boxes.
struct OdometerValueTexts {
  std::string left;
  std::string middle;
  std::string right;

  bool operator==(const OdometerValueTexts&) const = default;
};
