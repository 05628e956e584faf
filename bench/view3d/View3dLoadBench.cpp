// The program with the 3D window open against tavrik-unitsim streaming its
// moving drive as Frame120 back to back at 921600 baud: the main window on
// scripted services, output started, then "3D显示" as the user opens it.
// Prints the process's CPU use while the window is open, the frames the
// window drew and the milliseconds each took on this machine's GL, and the
// frames decoded. Usage: bench-view3d-load [SECONDS] (default 60).
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

#include "bench/common/ProgramBench.h"
#include "mainwindow/View3dPanel.h"
#include "protocol/ReceivePipeline.h"
#include "tools/model/AircraftBuilder.h"
#include "tools/model/AircraftFiles.h"
#include "view3d/CMs3dDlg.h"
#include "view3d/Ms3dView.h"

namespace {

struct FrameStart : QObject {
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::UpdateRequest) clock.start();
    return false;
  }
  QElapsedTimer clock;
};

}  // namespace

using bench::CpuSeconds;
using bench::RunUntil;

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tavrik");

  bench::Unit unit({"--baud", "921600", "--rate", "0", "--frame", "120", "--stopped"});
  if (unit.Device().isEmpty()) return 1;
  ScriptedWindowServices services;
  bench::Program program(services, services);
  // The window reads "AEREO" and its texture from the working directory.
  if (!WriteAircraftFiles(".", AircraftBuilder::build())) {
    std::fprintf(stderr, "bench-view3d-load: cannot write the model\n");
    return 1;
  }
  CTavrikDlg& window = program.Window();
  program.OpenPort(unit.Device());
  program.Click(1060);
  const ReceivePipeline& pipeline = window.Pipeline();
  RunUntil(5000, [&] { return pipeline.Counters().framesPassed > 0; });

  double cpu = 0, elapsed = 0, drawMs = 0;
  int drawn = 0;
  uint64_t decoded = 0;
  services.SetModalHandler([&](QDialog& dialog) {
    auto& view3d = static_cast<CMs3dDlg&>(dialog);
    dialog.show();
    RunUntil(10000, [&] { return view3d.view()->isValid(); });
    // A frame starts when the window takes its update request and ends
    // when the picture has been put on the screen.
    FrameStart frameStart;
    view3d.view()->installEventFilter(&frameStart);
    const QElapsedTimer& frameClock = frameStart.clock;
    QObject::connect(view3d.view(), &QOpenGLWindow::frameSwapped, [&] {
      drawMs += double(frameClock.nsecsElapsed()) / 1e6;
      ++drawn;
    });
    const uint64_t passedBefore = pipeline.Counters().framesPassed;
    const double cpuBefore = CpuSeconds();
    QElapsedTimer wall;
    wall.start();
    RunUntil(
        seconds * 1000, [] { return false; }, 1000);
    cpu = CpuSeconds() - cpuBefore;
    elapsed = double(wall.elapsed()) / 1000.0;
    decoded = pipeline.Counters().framesPassed - passedBefore;
    dialog.accept();
    return kResultOk;
  });
  program.Controls().As<QAbstractButton>(1154)->click();
  unit.Stop();

  std::printf("seconds measured       %.1f\n", elapsed);
  std::printf("cpu use                %.2f %% of one core\n", 100.0 * cpu / elapsed);
  std::printf("frames drawn           %d (%.1f per second)\n", drawn, drawn / elapsed);
  std::printf("ms per rendered frame  %.2f\n", drawn > 0 ? drawMs / drawn : 0.0);
  std::printf("frames decoded         %llu (%.0f per second)\n",
              static_cast<unsigned long long>(decoded), double(decoded) / elapsed);
  std::printf("peak memory            %.1f MB\n", double(bench::PeakRssKb()) / 1024.0);
  for (const QString& text : services.MessageTexts()) {
    std::printf("message shown          %s\n", text.toUtf8().constData());
  }
  window.Pipeline().Stop();
  return 0;
}
