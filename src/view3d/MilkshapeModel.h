#pragma once

#include <string>

#include "view3d/Model.h"

// A model read from a MilkShape 3D file.
class MilkshapeModel : public Model {
 public:
  MilkshapeModel() = default;
  ~MilkshapeModel() override = default;

  // Reads the whole file in one go, takes it only if every block fits, then
  // makes the texture objects. A refused file leaves the model empty.
  bool load(const std::string& filename) override;
};
