#pragma once

#include <string>

#include "view3d/Texture.h"
#include "view3d/model/ModelData.h"

// Meshes, materials, triangles and vertices that draw themselves in OpenGL
// 1.1 immediate mode. Every GL call needs the caller's context current.
class Model {
 public:
  Model() = default;
  virtual ~Model() = default;
  Model(const Model&) = delete;
  Model& operator=(const Model&) = delete;

  virtual bool load(const std::string& filename) = 0;

  // A texture object for every material that names a picture; the objects
  // made by an earlier call are deleted once the new ones exist.
  void createTextures();
  // Deletes every texture object of this model. Texture objects belong to
  // the context, so this runs while it is current, before the context goes.
  void deleteTextures();
  // Draws every mesh with its material; leaves GL_TEXTURE_2D as it found it.
  void draw() const;

  const ModelData& data() const { return m_data; }
  Texture& texture() { return m_texture; }

 protected:
  Texture m_texture;
  ModelData m_data;
};
