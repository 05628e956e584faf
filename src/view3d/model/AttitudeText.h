#pragma once

#include <string>

// The angle texts of the 3D window: a name, a colon and the value with two
// decimals, as the window has always printed them ("Pitch:10.00").
class AttitudeText {
 public:
  static std::string format(const char* name, double value);
};
