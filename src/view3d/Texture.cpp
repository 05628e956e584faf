#include "view3d/Texture.h"

#include <GL/gl.h>

#include "view3d/model/BitmapFile.h"

std::unique_ptr<RGBImage> Texture::loadBitmap(const std::string& path) const {
  BitmapResult result = BitmapFile::load(path);
  if (result.status != BitmapStatus::Ok) {
    const std::string message = BitmapFile::message(result.status, path);
    if (!message.empty() && m_reporter) m_reporter(message);
    return nullptr;
  }
  return std::move(result.image);
}

unsigned int Texture::createGLTexture(const std::string& path) const {
  const std::unique_ptr<RGBImage> image = loadBitmap(path);
  if (!image || image->data.empty()) return 0;

  GLint largest = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
  if (image->width > largest || image->height > largest) return 0;

  GLint previousBinding = 0;
  GLint previousAlignment = 4;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &previousBinding);
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &previousAlignment);

  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  // The decoded rows are packed without padding.
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, 3, image->width, image->height, 0, GL_RGB, GL_UNSIGNED_BYTE,
               image->data.data());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);

  glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previousBinding));
  return name;
}
