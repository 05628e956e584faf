#include "InstrumentRender.h"

#include <QWidget>
#include <cstdio>

QImage InstrumentRender::Render(QWidget& widget) {
  QImage image(widget.size(), QImage::Format_RGB32);
  image.fill(Untouched());
  widget.render(&image);
  return image;
}

std::string InstrumentRender::Pixel(const QImage& image, int x, int y) {
  if (!image.rect().contains(x, y)) {
    return "outside";
  }
  return Text(image.pixelColor(x, y));
}

std::string InstrumentRender::Text(const QColor& color) {
  char text[32];
  std::snprintf(text, sizeof text, "(%d,%d,%d)", color.red(), color.green(), color.blue());
  return text;
}

// Sky is blue over red; ground is red over blue, in the picture and in its stand-in alike.
bool InstrumentRender::IsSky(const QImage& image, int x, int y) {
  const QColor c = image.pixelColor(x, y);
  return c.blue() > c.red() + 60;
}

bool InstrumentRender::IsGround(const QImage& image, int x, int y) {
  const QColor c = image.pixelColor(x, y);
  return c.red() > c.blue() + 60;
}
