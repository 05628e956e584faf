#pragma once

#include <QImage>

class QPainter;
class QPointF;

// Paints the heading dial's face: 491 x 492, a blue compass rose on light grey with a tick
// every 5 degrees, labels every 45 degrees with 0 at the top, long marks at the cardinal
// points and a small aircraft, nose up, in the middle.
class CompassRoseArt {
 public:
  static constexpr int kWidth = 491;
  static constexpr int kHeight = 492;
  static constexpr int kRingRadius = 172;

  static QColor RoseColor() { return QColor(0, 102, 158); }
  static QColor LabelColor() { return QColor(31, 26, 23); }
  static QColor GroundColor() { return QColor(241, 241, 241); }

  static QImage Paint();

 private:
  static void PaintTicks(QPainter& painter, const QPointF& center);
  static void PaintLabels(QPainter& painter, const QPointF& center);
  static void PaintAircraft(QPainter& painter, const QPointF& center);
};
