#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What an MS3D file holds for drawing, as the reader fills it and the model
// draws it. Indices are widened to signed 32 bits so that 16-bit values of
// the file above 32767 stay what they are.

struct Vertex {
  int8_t boneId = 0;  // kept from the file, not used for drawing
  float location[3] = {0, 0, 0};
};

struct Triangle {
  float vertexNormals[3][3] = {};  // one normal per corner
  float s[3] = {0, 0, 0};
  float t[3] = {0, 0, 0};  // already turned to 1 - t of the file
  int32_t vertexIndices[3] = {0, 0, 0};
};

struct Mesh {
  int32_t materialIndex = -1;  // -1: drawn with the colours last set, untextured
  std::vector<int32_t> triangleIndices;
};

struct Material {
  float ambient[4] = {0, 0, 0, 0};
  float diffuse[4] = {0, 0, 0, 0};
  float specular[4] = {0, 0, 0, 0};
  float emissive[4] = {0, 0, 0, 0};
  float shininess = 0;
  uint32_t texture = 0;         // GL texture name, 0 = none
  std::string textureFilename;  // possibly empty
};

struct ModelData {
  std::vector<Mesh> meshes;
  std::vector<Material> materials;
  std::vector<Triangle> triangles;
  std::vector<Vertex> vertices;

  bool empty() const {
    return meshes.empty() && materials.empty() && triangles.empty() && vertices.empty();
  }
};
