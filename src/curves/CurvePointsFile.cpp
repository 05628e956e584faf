#include "curves/CurvePointsFile.h"

#include <QLocale>
#include <QSaveFile>

#include "curves/CTChart.h"

namespace {

QString Number(double value) {
  return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

// Titles and labels are plain words and times; a comma or quote would still
// need quoting.
QString Field(const QString& text) {
  if (!text.contains(',') && !text.contains('"')) return text;
  QString quoted = text;
  quoted.replace('"', QStringLiteral("\"\""));
  return '"' + quoted + '"';
}

}  // namespace

bool CurvePointsFile::Write(const CTChart& chart, const QString& path) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) return false;
  QByteArray text = "series,x,label,y\n";
  for (long s = 0; s < chart.SeriesTotal(); ++s) {
    const CTChartSeries& series = *chart.GetSeries(s);
    if (!series.Visible()) continue;
    const QString title = Field(series.SeriesTitle());
    for (long i = 0; i < series.GetSeriesCount(); ++i) {
      text += (title + ',' + Number(series.XValue(i)) + ',' + Field(series.Label(i)) + ',' +
               Number(series.YValue(i)) + '\n')
                  .toUtf8();
    }
  }
  if (file.write(text) != text.size()) return false;
  return file.commit();
}
