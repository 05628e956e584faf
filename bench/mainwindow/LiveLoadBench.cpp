// The program under a full line: the main window, output started, against
// tavrik-unitsim streaming Frame120 back to back at 921600 baud. Prints the
// process's CPU use, peak memory, frames sent and decoded, CRC failures and
// ring overruns. Usage: bench-live-load [SECONDS] (default 60).
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

#include "BenchSupport.h"
#include "mainwindow/ControlMap.h"
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

  // A 921600-baud line carries 768 Frame120 a second; the unit sends exactly
  // that many seconds' worth, so every frame sent can be accounted for.
  const qulonglong frames = 768ull * unsigned(seconds);
  QProcess unit;
  unit.start(TAVRIK_UNITSIM_BIN, {"--baud", "921600", "--rate", "0", "--frame", "120", "--stopped",
                                  "--frames", QString::number(frames)});
  if (!unit.waitForStarted(5000) || !unit.waitForReadyRead(5000)) {
    std::fprintf(stderr, "bench-live-load: tavrik-unitsim did not start\n");
    return 1;
  }
  const QString device = QString::fromLocal8Bit(unit.readLine()).trimmed();

  QTemporaryDir dir;
  QDir::setCurrent(dir.path());
  QFile config("config");
  config.open(QIODevice::WriteOnly);
  config.write("KDV1\r\nx\r\n");
  config.close();

  // Scripted services answer any box at once (and record it), so nothing
  // waits for a click; the two display ticks are driven at their periods.
  ScriptedWindowServices services;
  CTavrikDlg window(services);
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
  const ReceivePipeline& pipeline = window.Pipeline();
  auto passed = [&] { return pipeline.Counters().framesPassed; };
  const double cpuBefore = CpuSeconds();
  QElapsedTimer wall;
  wall.start();
  c.As<QPushButton>(1060)->click();  // the unit starts streaming
  RunUntil((seconds + 10) * 1000, [&] { return passed() >= frames; });
  const double cpu = CpuSeconds() - cpuBefore;
  const double elapsed = double(wall.elapsed()) / 1000.0;
  const qulonglong sent = frames;
  unit.terminate();
  unit.waitForFinished(5000);

  std::printf("seconds measured       %.1f\n", elapsed);
  std::printf("cpu use                %.2f %% of one core\n", 100.0 * cpu / elapsed);
  std::printf("peak memory            %.1f MB\n", double(PeakRssKb()) / 1024.0);
  std::printf("frames sent            %llu\n", sent);
  std::printf("frames decoded         %llu (%.0f per second)\n",
              static_cast<unsigned long long>(passed()), double(passed()) / elapsed);
  std::printf("crc failures           %llu\n",
              static_cast<unsigned long long>(pipeline.Counters().framesFailed));
  std::printf("ring overruns          %llu\n",
              static_cast<unsigned long long>(pipeline.Counters().overruns));
  std::printf("frames lost            %lld\n",
              static_cast<long long>(sent) - static_cast<long long>(passed()));
  for (const QString& text : services.MessageTexts()) {
    std::printf("message shown          %s\n", text.toUtf8().constData());
  }
  window.Pipeline().Stop();
  return 0;
}
