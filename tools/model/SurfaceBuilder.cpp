#include "SurfaceBuilder.h"

#include <cmath>
#include <map>
#include <tuple>

Vec3 Vec3::normalised() const {
  const float length = std::sqrt(dot(*this));
  return length > 0 ? *this * (1.0f / length) : Vec3{0, 0, 0};
}

int SurfaceBuilder::addMaterial(const Material& material) {
  m_model.materials.push_back(material);
  return static_cast<int>(m_model.materials.size()) - 1;
}

void SurfaceBuilder::beginMesh(int materialIndex) {
  Mesh mesh;
  mesh.materialIndex = materialIndex;
  m_model.meshes.push_back(mesh);
}

int SurfaceBuilder::addVertex(Vec3 p) {
  Vertex vertex;
  vertex.boneId = -1;
  vertex.location[0] = p.x;
  vertex.location[1] = p.y;
  vertex.location[2] = p.z;
  m_model.vertices.push_back(vertex);
  return static_cast<int>(m_model.vertices.size()) - 1;
}

void SurfaceBuilder::addTriangle(const int vertices[3], const Vec3 normals[3],
                                 const TexCoord tex[3]) {
  Triangle triangle;
  for (int c = 0; c < 3; ++c) {
    triangle.vertexIndices[c] = vertices[c];
    triangle.vertexNormals[c][0] = normals[c].x;
    triangle.vertexNormals[c][1] = normals[c].y;
    triangle.vertexNormals[c][2] = normals[c].z;
    triangle.s[c] = tex[c].s;
    triangle.t[c] = tex[c].t;
  }
  m_model.triangles.push_back(triangle);
  m_model.meshes.back().triangleIndices.push_back(static_cast<int32_t>(m_model.triangles.size()) -
                                                  1);
}

void SurfaceBuilder::addPatch(int uSteps, int vSteps, const PointAt& point, const TexAt& tex,
                              const OutwardAt& outward) {
  const int columns = vSteps + 1;
  auto at = [columns](int i, int j) { return i * columns + j; };
  std::vector<Vec3> points;
  std::vector<TexCoord> coords;
  std::vector<Vec3> outwards;
  for (int i = 0; i <= uSteps; ++i) {
    for (int j = 0; j <= vSteps; ++j) {
      const float u = static_cast<float>(i) / uSteps;
      const float v = static_cast<float>(j) / vSteps;
      points.push_back(point(u, v));
      coords.push_back(tex(u, v));
      outwards.push_back(outward(u, v));
    }
  }

  // Faces weighted by their area; a degenerate corner (a pointed nose) adds
  // nothing.
  std::vector<Vec3> normals(points.size());
  auto face = [&](int a, int b, int c) {
    const Vec3 n = (points[b] - points[a]).cross(points[c] - points[a]);
    normals[a] = normals[a] + n;
    normals[b] = normals[b] + n;
    normals[c] = normals[c] + n;
  };
  for (int i = 0; i < uSteps; ++i) {
    for (int j = 0; j < vSteps; ++j) {
      face(at(i, j), at(i + 1, j), at(i + 1, j + 1));
      face(at(i, j), at(i + 1, j + 1), at(i, j + 1));
    }
  }
  // Points that coincide (a closed seam, a pointed nose) share one normal,
  // so the surface shows no edge there.
  auto key = [&points](size_t k) {
    constexpr float kGrain = 1e4f;  // a tenth of a millimetre on a ten-metre aircraft
    return std::tuple(std::lround(points[k].x * kGrain), std::lround(points[k].y * kGrain),
                      std::lround(points[k].z * kGrain));
  };
  std::map<std::tuple<long, long, long>, Vec3> shared;
  for (size_t k = 0; k < points.size(); ++k) shared[key(k)] = shared[key(k)] + normals[k];
  for (size_t k = 0; k < points.size(); ++k) normals[k] = shared[key(k)];

  float agreement = 0;
  for (size_t k = 0; k < normals.size(); ++k) agreement += normals[k].dot(outwards[k]);
  const bool flip = agreement < 0;
  for (Vec3& n : normals) n = (flip ? n * -1.0f : n).normalised();

  std::vector<int> vertices;
  for (const Vec3& p : points) vertices.push_back(addVertex(p));
  auto emit = [&](int a, int b, int c) {
    const int ids[3] = {vertices[a], flip ? vertices[c] : vertices[b],
                        flip ? vertices[b] : vertices[c]};
    const Vec3 ns[3] = {normals[a], flip ? normals[c] : normals[b], flip ? normals[b] : normals[c]};
    const TexCoord ts[3] = {coords[a], flip ? coords[c] : coords[b], flip ? coords[b] : coords[c]};
    addTriangle(ids, ns, ts);
  };
  for (int i = 0; i < uSteps; ++i) {
    for (int j = 0; j < vSteps; ++j) {
      emit(at(i, j), at(i + 1, j), at(i + 1, j + 1));
      emit(at(i, j), at(i + 1, j + 1), at(i, j + 1));
    }
  }
}

void SurfaceBuilder::addCap(const std::vector<Vec3>& outline, Vec3 normal, TexCoord tex) {
  if (outline.size() < 3) return;
  const Vec3 n = normal.normalised();
  std::vector<int> vertices;
  for (const Vec3& p : outline) vertices.push_back(addVertex(p));
  const Vec3 ns[3] = {n, n, n};
  const TexCoord ts[3] = {tex, tex, tex};
  for (size_t k = 1; k + 1 < outline.size(); ++k) {
    const Vec3 faceNormal = (outline[k] - outline[0]).cross(outline[k + 1] - outline[0]);
    const bool flip = faceNormal.dot(n) < 0;
    const int ids[3] = {vertices[0], vertices[flip ? k + 1 : k], vertices[flip ? k : k + 1]};
    addTriangle(ids, ns, ts);
  }
}
