#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "tools/model/MilkshapeWriter.h"
#include "view3d/model/ModelData.h"

// Small models for the reader's tests and where their fields lie in the file.
namespace ms3d_test {

inline Material MakeMaterial(const std::string& texture = {}) {
  Material m;
  for (int i = 0; i < 4; ++i) {
    m.ambient[i] = 0.1f * (i + 1);
    m.diffuse[i] = 0.2f + 0.1f * i;
    m.specular[i] = 0.3f + 0.1f * i;
    m.emissive[i] = 0.05f * i;
  }
  m.shininess = 12.5f;
  m.textureFilename = texture;
  return m;
}

// Three vertices, two triangles, two meshes (one per material), two materials.
inline ModelData SmallModel() {
  ModelData model;
  for (int i = 0; i < 3; ++i) {
    Vertex v;
    v.boneId = static_cast<int8_t>(i - 1);
    v.location[0] = 1.0f + i;
    v.location[1] = -2.0f * i;
    v.location[2] = 0.5f * i;
    model.vertices.push_back(v);
  }
  for (int k = 0; k < 2; ++k) {
    Triangle t;
    for (int c = 0; c < 3; ++c) {
      t.vertexIndices[c] = (c + k) % 3;
      t.vertexNormals[c][0] = 0;
      t.vertexNormals[c][1] = 0;
      t.vertexNormals[c][2] = 1.0f - 2.0f * k;
      t.s[c] = 0.25f * c;
      t.t[c] = 0.5f;
    }
    model.triangles.push_back(t);
  }
  model.meshes.push_back(Mesh{0, {0}});
  model.meshes.push_back(Mesh{1, {1, 0}});
  model.materials.push_back(MakeMaterial("skin.bmp"));
  model.materials.push_back(MakeMaterial());
  return model;
}

inline std::vector<uint8_t> Bytes(const ModelData& model) {
  return MilkshapeWriter::write(model);
}

// Offsets of the blocks in a file written from model.
struct Layout {
  size_t vertices, triangles, groups, materials, end;
};
inline Layout LayoutOf(const ModelData& model) {
  Layout l{};
  l.vertices = 14;
  l.triangles = l.vertices + 2 + 15 * model.vertices.size();
  l.groups = l.triangles + 2 + 70 * model.triangles.size();
  size_t p = l.groups + 2;
  for (const Mesh& mesh : model.meshes) p += 1 + 32 + 2 + 2 * mesh.triangleIndices.size() + 1;
  l.materials = p;
  l.end = l.materials + 2 + 361 * model.materials.size();
  return l;
}

inline void Put16(std::vector<uint8_t>& bytes, size_t at, uint16_t value) {
  bytes[at] = static_cast<uint8_t>(value);
  bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}
inline void PutFloat(std::vector<uint8_t>& bytes, size_t at, float value) {
  std::memcpy(bytes.data() + at, &value, 4);
}
inline float FloatAt(const std::vector<uint8_t>& bytes, size_t at) {
  float value;
  std::memcpy(&value, bytes.data() + at, 4);
  return value;
}

}  // namespace ms3d_test
