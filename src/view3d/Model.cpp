#include "view3d/Model.h"

#include <GL/gl.h>

#include <vector>

void Model::createTextures() {
  std::vector<GLuint> previous;
  for (Material& material : m_data.materials) {
    if (material.texture != 0) previous.push_back(material.texture);
    material.texture =
        material.textureFilename.empty() ? 0 : m_texture.createGLTexture(material.textureFilename);
  }
  if (!previous.empty()) glDeleteTextures(static_cast<GLsizei>(previous.size()), previous.data());
}

void Model::deleteTextures() {
  for (Material& material : m_data.materials) {
    if (material.texture != 0) glDeleteTextures(1, &material.texture);
    material.texture = 0;
  }
}

void Model::draw() const {
  const GLboolean textureWasOn = glIsEnabled(GL_TEXTURE_2D);
  for (const Mesh& mesh : m_data.meshes) {
    if (mesh.materialIndex >= 0) {
      const Material& material = m_data.materials[static_cast<size_t>(mesh.materialIndex)];
      glMaterialfv(GL_FRONT, GL_AMBIENT, material.ambient);
      glMaterialfv(GL_FRONT, GL_DIFFUSE, material.diffuse);
      glMaterialfv(GL_FRONT, GL_SPECULAR, material.specular);
      glMaterialfv(GL_FRONT, GL_EMISSION, material.emissive);
      glMaterialf(GL_FRONT, GL_SHININESS, material.shininess);
      if (material.texture != 0) {
        glBindTexture(GL_TEXTURE_2D, material.texture);
        glEnable(GL_TEXTURE_2D);
      } else {
        glDisable(GL_TEXTURE_2D);
      }
    } else {
      glDisable(GL_TEXTURE_2D);
    }

    glBegin(GL_TRIANGLES);
    for (const int32_t triangleIndex : mesh.triangleIndices) {
      const Triangle& triangle = m_data.triangles[static_cast<size_t>(triangleIndex)];
      for (int corner = 0; corner < 3; ++corner) {
        glNormal3fv(triangle.vertexNormals[corner]);
        glTexCoord2f(triangle.s[corner], triangle.t[corner]);
        const auto vertex = static_cast<size_t>(triangle.vertexIndices[corner]);
        glVertex3fv(m_data.vertices[vertex].location);
      }
    }
    glEnd();
  }
  if (textureWasOn) {
    glEnable(GL_TEXTURE_2D);
  } else {
    glDisable(GL_TEXTURE_2D);
  }
}
