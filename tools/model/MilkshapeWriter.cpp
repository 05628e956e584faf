#include "MilkshapeWriter.h"

#include <bit>
#include <cstdio>
#include <memory>

namespace {

class Out {
 public:
  explicit Out(std::vector<uint8_t>& bytes) : m_bytes(bytes) {}
  void u8(uint8_t v) { m_bytes.push_back(v); }
  void u16(uint16_t v) {
    u8(static_cast<uint8_t>(v));
    u8(static_cast<uint8_t>(v >> 8));
  }
  void u32(uint32_t v) {
    u16(static_cast<uint16_t>(v));
    u16(static_cast<uint16_t>(v >> 16));
  }
  void f32(float v) { u32(std::bit_cast<uint32_t>(v)); }
  void floats(const float* v, int count) {
    for (int i = 0; i < count; ++i) f32(v[i]);
  }
  // A fixed-size field, NUL-padded; a longer text is cut to leave its NUL.
  void text(const std::string& value, size_t size) {
    for (size_t i = 0; i < size; ++i) u8(i + 1 < size && i < value.size() ? value[i] : 0);
  }

 private:
  std::vector<uint8_t>& m_bytes;
};

std::string nameOr(const std::vector<std::string>& names, size_t index, const char* stem) {
  return index < names.size() ? names[index] : stem + std::to_string(index);
}

}  // namespace

std::vector<uint8_t> MilkshapeWriter::write(const ModelData& model, const Names& names) {
  std::vector<uint8_t> bytes;
  Out out(bytes);
  for (char c : std::string("MS3D000000")) out.u8(static_cast<uint8_t>(c));
  out.u32(4);

  out.u16(static_cast<uint16_t>(model.vertices.size()));
  for (const Vertex& v : model.vertices) {
    out.u8(0);
    out.floats(v.location, 3);
    out.u8(static_cast<uint8_t>(v.boneId));
    out.u8(1);
  }

  out.u16(static_cast<uint16_t>(model.triangles.size()));
  for (const Triangle& t : model.triangles) {
    out.u16(0);
    for (int32_t index : t.vertexIndices) out.u16(static_cast<uint16_t>(index));
    for (const auto& normal : t.vertexNormals) out.floats(normal, 3);
    out.floats(t.s, 3);
    for (float value : t.t) out.f32(1.0f - value);
    out.u8(1);  // smoothing group
    out.u8(0);  // group index, informative only
  }

  out.u16(static_cast<uint16_t>(model.meshes.size()));
  for (size_t i = 0; i < model.meshes.size(); ++i) {
    const Mesh& mesh = model.meshes[i];
    out.u8(0);
    out.text(nameOr(names.groups, i, "group"), 32);
    out.u16(static_cast<uint16_t>(mesh.triangleIndices.size()));
    for (int32_t index : mesh.triangleIndices) out.u16(static_cast<uint16_t>(index));
    out.u8(static_cast<uint8_t>(static_cast<int8_t>(mesh.materialIndex)));
  }

  out.u16(static_cast<uint16_t>(model.materials.size()));
  for (size_t i = 0; i < model.materials.size(); ++i) {
    const Material& m = model.materials[i];
    out.text(nameOr(names.materials, i, "material"), 32);
    out.floats(m.ambient, 4);
    out.floats(m.diffuse, 4);
    out.floats(m.specular, 4);
    out.floats(m.emissive, 4);
    out.f32(m.shininess);
    out.f32(1.0f);  // transparency: opaque
    out.u8(0);      // mode
    out.text(m.textureFilename, 128);
    out.text("", 128);
  }

  // No animation: frames per second, current time, frame count, no joints.
  out.f32(24.0f);
  out.f32(0.0f);
  out.u32(1);
  out.u16(0);
  return bytes;
}

bool MilkshapeWriter::writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                       &std::fclose);
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  return std::fclose(file.release()) == 0 && written;
}
