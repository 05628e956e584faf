#pragma once

#include <QFont>
#include <QPoint>
#include <QString>

class QPainter;

// The angle texts' look: a bold sans font with a cell 20 pixels high, black
// on an opaque white box, placed by the top left corner of the text.
class OverlayFont {
 public:
  static constexpr int kCellHeight = 20;
  static constexpr int kWeight = 700;

  static QFont font();
  static void prepare(QPainter& painter);
  static void draw(QPainter& painter, QPoint topLeft, const QString& text);
};
