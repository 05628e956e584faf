// The chart wrapper's series operations, its axis labels and its CSV file.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "curves/CTChart.h"
#include "curves/CurvePointsFile.h"
#include "qcustomplot.h"

namespace {

QStringList Labels(const CTChartSeries& series) {
  QStringList labels;
  for (long i = 0; i < series.GetSeriesCount(); ++i) labels << series.Label(i);
  return labels;
}

QList<double> Xs(const CTChartSeries& series) {
  QList<double> xs;
  for (long i = 0; i < series.GetSeriesCount(); ++i) xs << series.XValue(i);
  return xs;
}

TEST(CTChart, PointsKeepTheirLabelsThroughAdditionsAndDeletions) {
  CTChart chart;
  CTChartSeries& s = chart.AddSeries("Series0", Qt::blue);
  EXPECT_EQ(chart.GetSeries(0), &s);
  EXPECT_EQ(chart.GetSeries(1), nullptr);
  EXPECT_EQ(s.AddSeriesPoint(1, 10, "a", Qt::red), 0);
  EXPECT_EQ(s.AddSeriesPoint(2, 20, "b", Qt::red), 1);
  EXPECT_EQ(s.AddSeriesPoint(4, 40, "d", Qt::red), 2);
  // Out of order, a point still goes to its place in x.
  EXPECT_EQ(s.AddSeriesPoint(3, 30, "c", Qt::red), 2);
  EXPECT_EQ(s.AddSeriesPoint(0, 0, "z", Qt::red), 0);
  EXPECT_EQ(Labels(s), (QStringList{"z", "a", "b", "c", "d"}));
  EXPECT_EQ(s.Colour(), QColor(Qt::red));

  s.DeleteSeriesPoint(0);
  EXPECT_EQ(Xs(s), (QList<double>{1, 2, 3, 4}));
  s.DeleteSeriesPoint(2);
  EXPECT_EQ(Xs(s), (QList<double>{1, 2, 4}));
  EXPECT_EQ(Labels(s), (QStringList{"a", "b", "d"}));
  EXPECT_EQ(s.YValue(2), 40);
  s.DeleteSeriesPoint(7);  // past the end: nothing
  EXPECT_EQ(s.GetSeriesCount(), 3);

  ASSERT_NE(s.LabelAt(2), nullptr);
  EXPECT_EQ(*s.LabelAt(2), "b");
  EXPECT_EQ(s.LabelAt(3), nullptr);

  s.ClearSeries();
  EXPECT_EQ(s.GetSeriesCount(), 0);
  EXPECT_EQ(s.LabelAt(1), nullptr);
}

TEST(CTChart, PointsSharingAnXAreDeletedOneAtATime) {
  CTChart chart;
  CTChartSeries& s = chart.AddSeries("Series0", Qt::blue);
  s.AddSeriesPoint(1, 1, "a", Qt::blue);
  s.AddSeriesPoint(1, 2, "b", Qt::blue);
  s.AddSeriesPoint(2, 3, "c", Qt::blue);
  s.DeleteSeriesPoint(0);
  ASSERT_EQ(s.GetSeriesCount(), 2);
  EXPECT_EQ(s.YValue(0), 2);
  EXPECT_EQ(Labels(s), (QStringList{"b", "c"}));
}

TEST(CTChart, KeepingTheNewestDropsTheOldestWithTheirLabels) {
  CTChart chart;
  CTChartSeries& s = chart.AddSeries("Series0", Qt::blue);
  for (int i = 1; i <= 10; ++i) s.AddSeriesPoint(i, i * 2, QString::number(i), Qt::blue);
  s.KeepNewest(4);
  EXPECT_EQ(Xs(s), (QList<double>{7, 8, 9, 10}));
  EXPECT_EQ(Labels(s), (QStringList{"7", "8", "9", "10"}));
  s.KeepNewest(8);
  EXPECT_EQ(s.GetSeriesCount(), 4);
  s.KeepNewest(0);
  EXPECT_EQ(s.GetSeriesCount(), 0);
}

TEST(CTChart, TheXAxisShowsThePointLabelsWhereThereArePoints) {
  CTChart chart;
  chart.resize(800, 400);
  chart.SetTitle("曲线显示");
  CTChartSeries& a = chart.AddSeries("Gx", Qt::red);
  CTChartSeries& b = chart.AddSeries("Gy", Qt::green);
  // Only the second series has the later points.
  for (int i = 0; i <= 100; ++i) a.AddSeriesPoint(i, i, QStringLiteral("a%1").arg(i), Qt::red);
  for (int i = 0; i <= 200; ++i) b.AddSeriesPoint(i, -i, QStringLiteral("b%1").arg(i), Qt::green);
  chart.show();
  chart.Redraw();
  chart.Plot().replot(QCustomPlot::rpImmediateRefresh);
  const QVector<double> ticks = chart.Plot().xAxis->tickVector();
  const QVector<QString> labels = chart.Plot().xAxis->tickVectorLabels();
  ASSERT_GE(ticks.size(), 3);
  for (int t = 0; t < ticks.size(); ++t) {
    const int key = int(ticks[t]);
    EXPECT_EQ(ticks[t], key);
    if (key < 0 || key > 200) {
      EXPECT_EQ(labels[t], "");
    } else {
      EXPECT_EQ(labels[t],
                key <= 100 ? QStringLiteral("a%1").arg(key) : QStringLiteral("b%1").arg(key));
    }
  }
  EXPECT_DOUBLE_EQ(chart.Plot().xAxis->range().lower, 0);
  EXPECT_DOUBLE_EQ(chart.Plot().xAxis->range().upper, 200);
  EXPECT_LT(chart.Plot().yAxis->range().lower, -200);
  EXPECT_GT(chart.Plot().yAxis->range().upper, 100);
  EXPECT_EQ(chart.Plot().legend->itemCount(), 2);
  EXPECT_GE(chart.Redraws(), 1u);
}

TEST(CTChart, ATimeSharedByNeighbouringTicksIsLabelledOnce) {
  CTChart chart;
  chart.resize(800, 400);
  CTChartSeries& s = chart.AddSeries("Gx", Qt::red);
  // A second's worth of points per label, as a fast unit gives them.
  for (int i = 0; i < 1500; ++i) {
    s.AddSeriesPoint(i, i, QStringLiteral("00:%1").arg(i / 500, 2, 10, QChar('0')), Qt::red);
  }
  chart.show();
  chart.Redraw();
  chart.Plot().replot(QCustomPlot::rpImmediateRefresh);
  const QVector<double> ticks = chart.Plot().xAxis->tickVector();
  QStringList shown;
  for (const QString& label : chart.Plot().xAxis->tickVectorLabels()) {
    if (!label.isEmpty()) shown << label;
  }
  ASSERT_GT(ticks.size(), shown.size());  // several ticks to a second
  EXPECT_EQ(shown, (QStringList{"00:00", "00:01", "00:02"}));
}

TEST(CTChart, AFlatLineSitsInsideTheView) {
  CTChart chart;
  CTChartSeries& s = chart.AddSeries("Gx", Qt::red);
  for (int i = 1; i <= 5; ++i) s.AddSeriesPoint(i, 1.234, "t", Qt::red);
  chart.Redraw();
  const QCPRange y = chart.Plot().yAxis->range();
  EXPECT_LT(y.lower, 1.234);
  EXPECT_GT(y.upper, 1.234);
  EXPECT_GT(y.size(), 0.1);
}

TEST(CurvePointsFile, EveryShownPointWithItsSeriesXLabelAndY) {
  CTChart chart;
  CTChartSeries& a = chart.AddSeries("Gx", Qt::red);
  CTChartSeries& b = chart.AddSeries("Gy", Qt::green);
  chart.AddSeries("Gz", Qt::blue);  // empty
  a.AddSeriesPoint(1, 0.1, "00:00", Qt::red);
  a.AddSeriesPoint(2, -2.345, "12:34", Qt::red);
  b.AddSeriesPoint(2, 1e-7, "12:34", Qt::green);
  QTemporaryDir dir;
  const QString path = dir.filePath("points.csv");
  ASSERT_TRUE(CurvePointsFile::Write(chart, path));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(),
            "series,x,label,y\n"
            "Gx,1,00:00,0.1\n"
            "Gx,2,12:34,-2.345\n"
            "Gy,2,12:34,1e-07\n");
  EXPECT_FALSE(CurvePointsFile::Write(chart, dir.filePath("none/points.csv")));
}

}  // namespace
