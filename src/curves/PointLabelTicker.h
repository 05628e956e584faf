#pragma once

#include <qcustomplot.h>

#include <functional>

// Ticks of an axis whose keys are point numbers: ticks fall on whole
// numbers and are labelled with the label of the point there (empty where
// no point is). At a high frame rate several ticks fall within one second
// of "%M:%S" labels; each label is shown at its first tick only, so the
// axis does not read the same time three times over.
class PointLabelTicker : public QCPAxisTicker {
 public:
  using LabelSource = std::function<QString(double key)>;
  explicit PointLabelTicker(LabelSource source) : m_source(std::move(source)) {}

 protected:
  double getTickStep(const QCPRange& range) override;
  QString getTickLabel(double tick, const QLocale& locale, QChar formatChar,
                       int precision) override;
  QVector<QString> createLabelVector(const QVector<double>& ticks, const QLocale& locale,
                                     QChar formatChar, int precision) override;

 private:
  LabelSource m_source;
};
