#include "curves/PointLabelTicker.h"

#include <algorithm>
#include <cmath>

double PointLabelTicker::getTickStep(const QCPRange& range) {
  // Points sit on whole numbers; a finer step would label nothing.
  return std::max(1.0, std::round(QCPAxisTicker::getTickStep(range)));
}

QString PointLabelTicker::getTickLabel(double tick, const QLocale&, QChar, int) {
  return m_source ? m_source(tick) : QString();
}

QVector<QString> PointLabelTicker::createLabelVector(const QVector<double>& ticks,
                                                     const QLocale& locale, QChar formatChar,
                                                     int precision) {
  QVector<QString> labels = QCPAxisTicker::createLabelVector(ticks, locale, formatChar, precision);
  QString shown;
  for (QString& label : labels) {
    if (label.isEmpty()) continue;
    if (label == shown) {
      label.clear();
    } else {
      shown = label;
    }
  }
  return labels;
}
