#pragma once

#include <functional>
#include <vector>

#include "view3d/model/ModelData.h"

struct Vec3 {
  float x = 0, y = 0, z = 0;
  Vec3 operator+(Vec3 o) const { return {x + o.x, y + o.y, z + o.z}; }
  Vec3 operator-(Vec3 o) const { return {x - o.x, y - o.y, z - o.z}; }
  Vec3 operator*(float k) const { return {x * k, y * k, z * k}; }
  float dot(Vec3 o) const { return x * o.x + y * o.y + z * o.z; }
  Vec3 cross(Vec3 o) const { return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x}; }
  Vec3 normalised() const;
};

// Texture coordinates of a point: s across, t from the picture's bottom,
// as GL and the model hold them.
struct TexCoord {
  float s = 0, t = 0;
};

// Builds meshes out of parametric patches. A patch is a grid of points over
// u and v in [0, 1]; each point's normal is the average of the faces around
// it, so curved parts light smoothly, and a patch is turned so that its
// normals point the way the caller calls outward.
class SurfaceBuilder {
 public:
  using PointAt = std::function<Vec3(float u, float v)>;
  using TexAt = std::function<TexCoord(float u, float v)>;
  using OutwardAt = std::function<Vec3(float u, float v)>;

  explicit SurfaceBuilder(ModelData& model) : m_model(model) {}

  int addMaterial(const Material& material);
  // Later triangles go into a new mesh with this material.
  void beginMesh(int materialIndex);

  void addPatch(int uSteps, int vSteps, const PointAt& point, const TexAt& tex,
                const OutwardAt& outward);
  // A flat, convex outline closed by a fan of triangles, all facing normal.
  void addCap(const std::vector<Vec3>& outline, Vec3 normal, TexCoord tex);

 private:
  int addVertex(Vec3 p);
  void addTriangle(const int vertices[3], const Vec3 normals[3], const TexCoord tex[3]);

  ModelData& m_model;
};
