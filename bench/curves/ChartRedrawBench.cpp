// The sensor curve chart alone at the window's size: three series of 1500
// points sliding on by one redraw's worth of frames (a 921600-baud line's
// 768 frames a second at 25 redraws a second), then one redraw. Prints the
// time per redraw, the additions included. Usage: bench-curves-chart
// [REDRAWS] (default 1000); run under an X server (xvfb-run) or offscreen.
#include <qcustomplot.h>

#include <QApplication>
#include <QElapsedTimer>
#include <cmath>
#include <cstdio>

#include "curves/CTChart.h"

int main(int argc, char** argv) {
  const int redraws = argc > 1 ? std::max(10, std::atoi(argv[1])) : 1000;
  if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);

  constexpr int kPoints = 1500;
  constexpr int kPerRedraw = 768 / 25 + 1;
  const QColor colours[] = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255)};
  CTChart chart;
  chart.resize(1542, 612);  // the chart of the curve window
  chart.SetTitle(QStringLiteral("曲线显示"));
  CTChartSeries* series[3];
  for (int i = 0; i < 3; ++i)
    series[i] = &chart.AddSeries(QStringLiteral("G%1").arg(i), colours[i]);
  long x = 0;
  auto add = [&](int count) {
    const QString label = QStringLiteral("12:34");
    for (int n = 0; n < count; ++n, ++x) {
      for (int i = 0; i < 3; ++i) {
        series[i]->AddSeriesPoint(double(x), std::sin(x * 0.01 + i) * (i + 1), label, colours[i]);
      }
    }
    for (auto* s : series) s->KeepNewest(kPoints);
  };
  add(kPoints);
  chart.show();
  chart.Redraw();
  for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();

  const uint64_t before = chart.Redraws();
  QElapsedTimer timer;
  timer.start();
  for (int r = 0; r < redraws; ++r) {
    add(kPerRedraw);
    chart.Redraw();
    QCoreApplication::processEvents();  // the queued redraw and its paint
  }
  const double us = double(timer.nsecsElapsed()) / 1000.0;
  const uint64_t done = chart.Redraws() - before;
  std::printf("points per series      %ld\n", series[0]->GetSeriesCount());
  std::printf("redraws                %llu\n", static_cast<unsigned long long>(done));
  std::printf("us per redraw          %.0f\n", us / double(std::max<uint64_t>(done, 1)));
  return 0;
}
