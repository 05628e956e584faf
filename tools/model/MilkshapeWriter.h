#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "view3d/model/ModelData.h"

// Writes a model as an MS3D file, version 4, the layout the reader takes:
// t is written back as 1 - t, group and material names are given here, and
// the file ends with an empty animation section so other MS3D readers take
// it too.
class MilkshapeWriter {
 public:
  struct Names {
    std::vector<std::string> groups;     // one per mesh; missing ones are numbered
    std::vector<std::string> materials;  // one per material
  };

  static std::vector<uint8_t> write(const ModelData& model, const Names& names = {});
  static bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes);
};
