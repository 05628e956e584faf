#pragma once

#include <string>

#include "tools/model/AircraftBuilder.h"

// Writes the aircraft as DIR/AEREO and its skin texture beside it, as the
// 3D window reads them from its working directory. False when either file
// cannot be written.
bool WriteAircraftFiles(const std::string& dir, const AircraftBuilder::Result& aircraft);
