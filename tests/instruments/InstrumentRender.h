#pragma once

#include <QColor>
#include <QImage>
#include <string>

class QWidget;

// Renders a widget into an image and reads pixels back as text, so a failed comparison
// shows both colours.
class InstrumentRender {
 public:
  // Pixels the widget does not paint keep this colour.
  static QColor Untouched() { return QColor(255, 0, 255); }

  static QImage Render(QWidget& widget);
  static std::string Pixel(const QImage& image, int x, int y);
  static std::string Text(const QColor& color);

  static bool IsSky(const QImage& image, int x, int y);
  static bool IsGround(const QImage& image, int x, int y);
};
