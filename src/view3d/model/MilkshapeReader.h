#pragma once

#include <cstdint>
#include <span>

#include "view3d/model/ModelData.h"

// Parses the MilkShape 3D model format (versions 3 and 4): header, vertices,
// triangles, groups and materials; everything after the materials (joints,
// animation) is ignored. A file is taken whole or not at all: a block that
// runs past the end, an index that points outside its table, or a texture
// name without its terminator refuses it and leaves the output untouched.
class MilkshapeReader {
 public:
  static constexpr size_t kHeaderSize = 14;
  static constexpr size_t kVertexSize = 15;
  static constexpr size_t kTriangleSize = 70;
  static constexpr size_t kMaterialSize = 361;
  static constexpr size_t kNameSize = 32;
  static constexpr size_t kTextureNameSize = 128;

  static bool parse(std::span<const uint8_t> bytes, ModelData& model);
};
