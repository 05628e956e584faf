// Any bytes as an MS3D file: the reader takes them or refuses them, and what
// it takes is whole: every index points inside its table.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "view3d/model/MilkshapeReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ModelData model;
  if (!MilkshapeReader::parse({data, size}, model)) {
    if (!model.empty()) std::abort();
    return 0;
  }
  for (const Triangle& t : model.triangles) {
    for (int32_t v : t.vertexIndices) {
      if (v < 0 || static_cast<size_t>(v) >= model.vertices.size()) std::abort();
    }
  }
  for (const Mesh& mesh : model.meshes) {
    for (int32_t t : mesh.triangleIndices) {
      if (t < 0 || static_cast<size_t>(t) >= model.triangles.size()) std::abort();
    }
    if (mesh.materialIndex < -1 ||
        mesh.materialIndex >= static_cast<int32_t>(model.materials.size())) {
      std::abort();
    }
  }
  return 0;
}
