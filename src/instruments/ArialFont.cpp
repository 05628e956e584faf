#include "instruments/ArialFont.h"

#include <QFontMetricsF>
#include <QStringList>
#include <algorithm>
#include <cmath>

QFont ArialFont::Make(int cellHeight, int weight, int averageWidth) {
  const int height = std::max(cellHeight, 1);
  QFont font;
  // Liberation Sans has Arial's metrics, so texts laid out for Arial keep
  // their widths where Arial itself is not installed.
  font.setFamilies(QStringList() << QStringLiteral("Arial") << QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setWeight(static_cast<QFont::Weight>(std::clamp(weight > 0 ? weight : 400, 1, 1000)));
  font.setPixelSize(height);

  // A pixel size is the em height; the figures we get are cell heights, which are larger.
  const double natural = QFontMetricsF(font).height();
  if (natural > 0) {
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(height * height / natural))));
  }
  if (averageWidth > 0) {
    const double average = QFontMetricsF(font).averageCharWidth();
    if (average > 0) {
      font.setStretch(
          std::clamp(static_cast<int>(std::lround(100.0 * averageWidth / average)), 1, 4000));
    }
  }
  return font;
}
