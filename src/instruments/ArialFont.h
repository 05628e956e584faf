#pragma once

#include <QFont>

// Builds the instruments' label fonts from the figures they were laid out with: a cell height
// (ascent plus descent, in pixels), a weight on the 1..1000 scale and optionally an average
// character width. Arial is asked for first, then its metric twin Liberation Sans; the
// system's sans-serif stands in when both are missing, scaled so the cell height still holds.
class ArialFont {
 public:
  static QFont Make(int cellHeight, int weight, int averageWidth = 0);
};
