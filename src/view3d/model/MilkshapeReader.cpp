#include "view3d/model/MilkshapeReader.h"

#include <cstring>
#include <utility>

#include "view3d/model/ByteCursor.h"

namespace {

constexpr char kIdentifier[] = "MS3D000000";
constexpr size_t kIdentifierSize = 10;
constexpr int32_t kOldestVersion = 3;
constexpr int32_t kNewestVersion = 4;

void readFloats(ByteCursor& in, float* out, int count) {
  for (int i = 0; i < count; ++i) out[i] = in.f32();
}

bool readVertices(ByteCursor& in, ModelData& model) {
  const uint16_t count = in.u16();
  if (!in.ok() || !in.holds(count, MilkshapeReader::kVertexSize)) return false;
  model.vertices.resize(count);
  for (Vertex& vertex : model.vertices) {
    in.skip(1);  // flags
    readFloats(in, vertex.location, 3);
    vertex.boneId = in.i8();
    in.skip(1);  // reference count
  }
  return in.ok();
}

bool readTriangles(ByteCursor& in, ModelData& model) {
  const uint16_t count = in.u16();
  if (!in.ok() || !in.holds(count, MilkshapeReader::kTriangleSize)) return false;
  model.triangles.resize(count);
  const size_t vertexCount = model.vertices.size();
  for (Triangle& triangle : model.triangles) {
    in.skip(2);  // flags
    for (int32_t& index : triangle.vertexIndices) {
      index = in.u16();
      if (static_cast<size_t>(index) >= vertexCount) return false;
    }
    for (auto& normal : triangle.vertexNormals) readFloats(in, normal, 3);
    readFloats(in, triangle.s, 3);
    // The file counts t from the top of the picture, GL from the bottom.
    for (float& t : triangle.t) t = 1.0f - in.f32();
    in.skip(2);  // smoothing group, group index
  }
  return in.ok();
}

bool readGroups(ByteCursor& in, ModelData& model) {
  const uint16_t count = in.u16();
  if (!in.ok()) return false;
  model.meshes.resize(count);
  const size_t triangleCount = model.triangles.size();
  for (Mesh& mesh : model.meshes) {
    in.skip(1 + MilkshapeReader::kNameSize);  // flags, name
    const uint16_t indexCount = in.u16();
    if (!in.ok() || !in.holds(indexCount, 2)) return false;
    mesh.triangleIndices.resize(indexCount);
    for (int32_t& index : mesh.triangleIndices) {
      index = in.u16();
      if (static_cast<size_t>(index) >= triangleCount) return false;
    }
    mesh.materialIndex = in.i8();
    if (!in.ok()) return false;
  }
  return true;
}

bool readMaterials(ByteCursor& in, ModelData& model) {
  const uint16_t count = in.u16();
  if (!in.ok() || !in.holds(count, MilkshapeReader::kMaterialSize)) return false;
  model.materials.resize(count);
  for (Material& material : model.materials) {
    in.skip(MilkshapeReader::kNameSize);
    readFloats(in, material.ambient, 4);
    readFloats(in, material.diffuse, 4);
    readFloats(in, material.specular, 4);
    readFloats(in, material.emissive, 4);
    material.shininess = in.f32();
    in.skip(4 + 1);  // transparency, mode
    const auto* name = reinterpret_cast<const char*>(in.here());
    const void* end = std::memchr(name, '\0', MilkshapeReader::kTextureNameSize);
    if (end == nullptr) return false;
    material.textureFilename.assign(name, static_cast<const char*>(end));
    in.skip(2 * MilkshapeReader::kTextureNameSize);  // texture name, alpha map name
  }
  return in.ok();
}

bool meshMaterialsExist(const ModelData& model) {
  const auto materialCount = static_cast<int32_t>(model.materials.size());
  for (const Mesh& mesh : model.meshes) {
    if (mesh.materialIndex < -1 || mesh.materialIndex >= materialCount) return false;
  }
  return true;
}

}  // namespace

bool MilkshapeReader::parse(std::span<const uint8_t> bytes, ModelData& model) {
  if (bytes.size() < kHeaderSize || std::memcmp(bytes.data(), kIdentifier, kIdentifierSize) != 0) {
    return false;
  }
  ByteCursor in(bytes, kIdentifierSize);
  const int32_t version = in.i32();
  if (version < kOldestVersion || version > kNewestVersion) return false;

  ModelData parsed;
  if (!readVertices(in, parsed) || !readTriangles(in, parsed) || !readGroups(in, parsed) ||
      !readMaterials(in, parsed) || !meshMaterialsExist(parsed)) {
    return false;
  }
  model = std::move(parsed);
  return true;
}
