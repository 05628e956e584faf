// Time of one full repaint of each instrument at its main-window size, rendered off-screen.
// Run with QT_QPA_PLATFORM=offscreen or under xvfb-run.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <functional>

#include "instruments/CMeter.h"
#include "instruments/CRoundSliderCtrl.h"
#include "instruments/LampArray.h"
#include "instruments/MainWindowInstruments.h"

namespace {

struct Instruments {
  Instruments() { MainWindowInstruments::Configure(gauge, dial, lamps); }
  CMeter gauge;
  CRoundSliderCtrl dial;
  LampArray lamps;
};

void Repaint(benchmark::State& state, QWidget& widget, const std::function<void(int)>& feed) {
  QImage image(widget.size(), QImage::Format_RGB32);
  int step = 0;
  for (auto _ : state) {
    feed(step++);
    widget.render(&image);
    benchmark::DoNotOptimize(image.constBits());
  }
}

void BM_GaugeRepaintTurning(benchmark::State& state) {
  Instruments in;
  Repaint(state, in.gauge, [&in](int step) {
    in.gauge.UpdateNeedle(step % 90 - 45 + 0.5);
    in.gauge.SetPitchValue(step % 40 - 20);
  });
}

void BM_GaugeRepaintLevel(benchmark::State& state) {
  Instruments in;
  Repaint(state, in.gauge, [&in](int) { in.gauge.UpdateNeedle(0); });
}

void BM_DialRepaint(benchmark::State& state) {
  Instruments in;
  Repaint(state, in.dial, [&in](int step) { in.dial.SetHeading(step % 360); });
}

void BM_LampStripRepaint(benchmark::State& state) {
  Instruments in;
  Repaint(state, in.lamps, [&in](int step) { in.lamps.SetLampState(step % 5, step % 2 == 0); });
}

BENCHMARK(BM_GaugeRepaintTurning)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GaugeRepaintLevel)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DialRepaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LampStripRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
