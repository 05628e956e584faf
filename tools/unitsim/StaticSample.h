#pragma once

#include <string>

#include "protocol/FrameBuilder.h"

// The one fixed frame of --static: every field a value that the frame's
// resolution carries exactly, so a test can predict the display.
class StaticSample {
 public:
  static NavSample Sample();
  // The values as a table for --help.
  static std::string Description();
};
