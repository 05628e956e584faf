#pragma once

#include "OdometerParameters.h"
#include "StreamFormat.h"

// The unit's configuration as the commands change it.
struct UnitSettings {
  bool streaming = true;
  StreamFormat format;
  int rateHz = 100;
  int baudCode = 3;  // "*PA AUTO BAUD n": 1 = 115200, 2 = 230400, 3 = 460800
  int scene = 1;     // "*PA AUTO SCENES n", 1 to 6
  OdometerParameters odometer;
};
