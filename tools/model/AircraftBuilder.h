#pragma once

#include <string>

#include "MilkshapeWriter.h"
#include "view3d/model/ModelData.h"

// The 3D window's aircraft: a small jet trainer, nose towards -z (away from
// a camera on +z), right wing towards +x, fin up along +y, about ten units
// long so that it fills the window's narrow view. Fuselage, wings and
// tailplane wear the skin texture; the fin is painted red; the canopy is
// dark glass.
class AircraftBuilder {
 public:
  static constexpr const char* kTextureName = "aereo.bmp";
  static constexpr float kLength = 10.0f;
  static constexpr float kSpan = 11.0f;

  struct Result {
    ModelData model;
    MilkshapeWriter::Names names;
  };

  static Result build(const std::string& textureName = kTextureName);
};
