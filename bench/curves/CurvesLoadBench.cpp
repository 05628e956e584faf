// The program with the sensor curve window open against tavrik-unitsim
// streaming Frame120 back to back at 921600 baud (about 768 frames a
// second): the main window on scripted services, the curve window shown as
// "曲线" shows it. The unit is started once the window plots and sends
// exactly that many seconds' worth of frames, so every frame sent can be
// accounted for. Prints the process's CPU use, the redraws a second, the
// frames plotted and lost and the peak memory.
// Usage: bench-curves-load [SECONDS] (default 60).
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

#include "bench/common/ProgramBench.h"
#include "curves/CTChart.h"
#include "curves/RealtimeCurve.h"
#include "device/DeviceSession.h"
#include "mainwindow/ControlMap.h"
#include "mainwindow/CurvesPanel.h"
#include "mainwindow/TavrikDlg.h"
#include "protocol/ReceivePipeline.h"
#include "services/ScriptedWindowServices.h"

using bench::CpuSeconds;
using bench::PeakRssKb;
using bench::RunUntil;

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
  if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tavrik");

  const qulonglong frames = 768ull * unsigned(seconds);
  bench::Unit unit({"--baud", "921600", "--rate", "0", "--frame", "120", "--stopped", "--frames",
                    QString::number(frames)});
  if (unit.Device().isEmpty()) return 1;
  ScriptedWindowServices services;
  bench::Program program(services, services);
  CTavrikDlg& window = program.Window();
  CurvesPanel& panel = window.Curves();
  program.OpenPort(unit.Device());
  const ControlMap& c = program.Controls();

  RealtimeCurve& curve = panel.SensorCurveWindow();
  const ReceivePipeline& pipeline = window.Pipeline();
  double cpu = 0, elapsed = 0;
  uint64_t redraws = 0;
  services.SetModalHandler([&](QDialog& dialog) {
    dialog.show();
    RunUntil(5000, [&] { return curve.Plotting(); });
    const uint64_t redrawsBefore = curve.Chart().Redraws();
    const double cpuBefore = CpuSeconds();
    QElapsedTimer wall;
    wall.start();
    // The unit starts streaming; its answer lands in the ring among the
    // frames and is skipped there.
    window.Session().SendDeviceCommand("*PA AUTO START", ReceiveMode::SensorCurve);
    RunUntil((seconds + 10) * 1000, [&] { return curve.PointCounter() >= frames; });
    cpu = CpuSeconds() - cpuBefore;
    elapsed = double(wall.elapsed()) / 1000.0;
    redraws = curve.Chart().Redraws() - redrawsBefore;
    dialog.accept();
    return kResultOk;
  });
  c.As<QAbstractButton>(1152)->click();
  unit.Stop();

  const unsigned long long plotted =
      curve.PointCounter() - curve.FramesMissed() - curve.FramesPassedOver();
  std::printf("seconds measured       %.1f\n", elapsed);
  std::printf("cpu use                %.2f %% of one core\n", 100.0 * cpu / elapsed);
  std::printf("redraws/s              %.1f\n", double(redraws) / elapsed);
  std::printf("frames sent            %llu\n", frames);
  std::printf("frames plotted         %llu\n", plotted);
  std::printf("frames lost            %lld\n",
              static_cast<long long>(frames) - static_cast<long long>(plotted));
  std::printf("crc failures           %llu\n",
              static_cast<unsigned long long>(pipeline.Counters().framesFailed));
  std::printf("ring overruns          %llu\n",
              static_cast<unsigned long long>(pipeline.Counters().overruns));
  std::printf("peak memory            %.1f MB\n", double(PeakRssKb()) / 1024.0);
  for (const QString& text : services.MessageTexts()) {
    std::printf("message shown          %s\n", text.toUtf8().constData());
  }
  window.Pipeline().Stop();
  return 0;
}
