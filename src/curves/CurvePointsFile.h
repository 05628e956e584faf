#pragma once

#include <QString>

class CTChart;

// The chart's points as a CSV file: a header line "series,x,label,y", then
// one line per point of every shown series, series by series, oldest
// first. Numbers are written exactly as plotted (shortest form that reads
// back the same).
class CurvePointsFile {
 public:
  static bool Write(const CTChart& chart, const QString& path);
};
