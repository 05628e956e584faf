#pragma once

#include <functional>
#include <memory>
#include <string>

#include "view3d/model/RGBImage.h"

// Turns BMP files into GL texture objects. A bitmap that cannot be read is
// reported through the reporter with the reader's message; the caller
// decides where the message is shown.
class Texture {
 public:
  using Reporter = std::function<void(const std::string& message)>;

  virtual ~Texture() = default;

  void setReporter(Reporter reporter) { m_reporter = std::move(reporter); }

  std::unique_ptr<RGBImage> loadBitmap(const std::string& path) const;
  // Needs a current GL context. 0 when the picture cannot be read or is
  // larger than the GL takes.
  unsigned int createGLTexture(const std::string& path) const;

 private:
  Reporter m_reporter;
};
