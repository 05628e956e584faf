#pragma once

#include <QImage>

// Paints the gauge's attitude picture: 799 x 800, sky above row 400 and ground from it, two
// lighter pitch-ladder strips marked from 80 to -80 every 10 degrees at 2 pixels per degree,
// and white rounded corners.
class AttitudePictureArt {
 public:
  static constexpr int kWidth = 799;
  static constexpr int kHeight = 800;
  static constexpr int kHorizonRow = 400;
  static constexpr int kPixelsPerDegree = 2;

  static QImage Paint();

 private:
  static void PaintSkyAndGround(QImage& image);
  static void PaintLadder(QPainter& painter, int left, bool numbersOnLeft);
};
