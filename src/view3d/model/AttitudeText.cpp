#include "view3d/model/AttitudeText.h"

#include <cstdio>

std::string AttitudeText::format(const char* name, double value) {
  char text[64];
  // The format is the one the window has always used, flags and all.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat"
  std::snprintf(text, sizeof text, "%s:%0003.2f", name, value);
#pragma GCC diagnostic pop
  return text;
}
