// The program with the sensor curve window open against tavrik-unitsim
// streaming Frame120 back to back at 921600 baud (about 768 frames a
// second): the main window on scripted services, the curve window shown as
// "曲线" shows it. The unit is started once the window plots and sends
// exactly that many seconds' worth of frames, so every frame sent can be
// accounted for. Prints the process's CPU use, the redraws a second, the
// frames plotted and lost and the peak memory.
// Usage: bench-curves-load [SECONDS] (default 60).
#include <sys/resource.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>

#include "curves/CTChart.h"
#include "curves/RealtimeCurve.h"
#include "device/DeviceSession.h"
#include "mainwindow/ControlMap.h"
#include "mainwindow/CurvesPanel.h"
#include "mainwindow/TavrikDlg.h"
#include "protocol/ReceivePipeline.h"
#include "services/ScriptedWindowServices.h"

namespace {

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long PeakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Runs the event loop (without spinning) until the condition holds or the
// time is up.
void RunUntil(int ms, const std::function<bool()>& done) {
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (done()) loop.quit();
  });
  poll.start(50);
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

// The main window's own curve panel where it makes one.
template <typename Window>
CurvesPanel& PanelOf(Window& window, WindowServices& services, std::unique_ptr<CurvesPanel>& own) {
  if constexpr (requires { window.Curves(); }) {
    return window.Curves();
  } else {
    own = std::make_unique<CurvesPanel>(window, window.Controls(), services, window.Session(),
                                        window.Pump(), window.Samples());
    return *own;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
  if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tavrik");

  const qulonglong frames = 768ull * unsigned(seconds);
  QProcess unit;
  unit.start(TAVRIK_UNITSIM_BIN, {"--baud", "921600", "--rate", "0", "--frame", "120", "--stopped",
                                  "--frames", QString::number(frames)});
  if (!unit.waitForStarted(5000) || !unit.waitForReadyRead(5000)) {
    std::fprintf(stderr, "bench-curves-load: tavrik-unitsim did not start\n");
    return 1;
  }
  const QString device = QString::fromLocal8Bit(unit.readLine()).trimmed();

  QTemporaryDir dir;
  QDir::setCurrent(dir.path());
  QFile config("config");
  config.open(QIODevice::WriteOnly);
  config.write("KDV1\r\nx\r\n");
  config.close();

  ScriptedWindowServices services;
  CTavrikDlg window(services);
  std::unique_ptr<CurvesPanel> ownPanel;
  CurvesPanel& panel = PanelOf(window, services, ownPanel);
  QTimer refreshTick, instrumentTick;
  QObject::connect(&refreshTick, &QTimer::timeout, [&] { services.FireTicks(150); });
  QObject::connect(&instrumentTick, &QTimer::timeout, [&] { services.FireTicks(500); });
  refreshTick.start(150);
  instrumentTick.start(500);
  window.Initialise();
  window.show();
  const ControlMap& c = window.Controls();
  c.As<QComboBox>(1041)->setEditText(device);
  c.As<QComboBox>(1040)->setCurrentText("921600");
  c.As<QPushButton>(1008)->click();

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
  unit.terminate();
  unit.waitForFinished(5000);

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
