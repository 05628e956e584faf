#pragma once

#include <QColor>
#include <QImage>

class QPainter;

// Paints the program's icon at one size: a dark rounded tile holding an
// artificial horizon (sky above, ground below, banked a little) inside a
// light bezel, with the yellow aircraft mark in the middle. Everything is
// scaled from the size, so each size is drawn sharp rather than resampled;
// the bezel's heading ticks are left out where they would only blur.
class TavrikIconArt {
 public:
  static QColor TileColor() { return QColor(29, 39, 51); }
  static QColor SkyColor() { return QColor(47, 127, 216); }
  static QColor GroundColor() { return QColor(160, 82, 31); }
  static QColor BezelColor() { return QColor(214, 220, 226); }
  static QColor AircraftColor() { return QColor(255, 184, 0); }

  // Fractions of the size, so tests can find the parts at any size.
  static constexpr double kTileMargin = 1.0 / 16;
  static constexpr double kDialRadius = 0.34;
  static constexpr double kBezelWidth = 0.06;
  static constexpr double kBankDegrees = 12.0;
  static constexpr int kSmallestWithTicks = 32;

  // A square, transparent outside the tile.
  static QImage Paint(int size);

 private:
  static void PaintTile(QPainter& painter, double size);
  static void PaintHorizon(QPainter& painter, double size);
  static void PaintBezel(QPainter& painter, double size);
  static void PaintAircraft(QPainter& painter, double size);
};
