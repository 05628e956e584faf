// Recording at line rate: the main window against tavrik-unitsim streaming
// frames back to back at 921600 baud, output started and the raw log
// recording, for a given time (default 60 s). Prints the program's CPU use,
// the bytes the log lacks against what the unit sent, and peak memory.
// Usage: bench-recording [SECONDS]
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

#include "BenchSupport.h"
#include "mainwindow/ControlMap.h"
#include "mainwindow/RecorderPanel.h"
#include "mainwindow/TavrikDlg.h"
#include "services/ScriptedWindowServices.h"

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
  if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tavrik");

  QTemporaryDir dir;
  const QString tee = dir.filePath("sent.bin"), log = dir.filePath("drive.txt");
  QProcess unit;
  unit.start(TAVRIK_UNITSIM_BIN,
             {"--baud", "921600", "--rate", "0", "--frame", "120", "--stopped", "--tee", tee});
  if (!unit.waitForStarted(5000) || !unit.waitForReadyRead(5000)) {
    std::fprintf(stderr, "bench-recording: tavrik-unitsim did not start\n");
    return 1;
  }
  const QString device = QString::fromLocal8Bit(unit.readLine()).trimmed();
  QDir::setCurrent(dir.path());
  QFile config("config");
  config.open(QIODevice::WriteOnly);
  config.write("KDV1\r\nx\r\n");
  config.close();

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
  services.QueueFileName(log);
  c.As<QPushButton>(1068)->click();

  const double cpuBefore = bench::CpuSeconds();
  QElapsedTimer wall;
  wall.start();
  c.As<QPushButton>(1060)->click();  // the unit starts streaming
  bench::RunUntil(seconds * 1000, [] { return false; });
  c.As<QPushButton>(1061)->click();  // stop the stream, then wait for the last bytes
  bench::RunUntil(1000, [] { return false; });
  const double cpu = bench::CpuSeconds() - cpuBefore;
  const double elapsed = double(wall.elapsed()) / 1000.0;
  c.As<QPushButton>(1069)->click();
  c.As<QPushButton>(1008)->click();
  unit.terminate();
  unit.waitForFinished(5000);

  // What the unit sent in Live mode is its stream between its START and STOP
  // answers; the log holds exactly that run.
  QFile sentFile(tee), logFile(log);
  sentFile.open(QIODevice::ReadOnly);
  logFile.open(QIODevice::ReadOnly);
  const QByteArray sent = sentFile.readAll();
  const qsizetype start = sent.indexOf("*PA AUTO START 1\r\n");
  const qsizetype stop = sent.indexOf("*PA AUTO STOP 1\r\n");
  const qsizetype streamed = start >= 0 && stop > start ? stop - start : sent.size();
  const qint64 recordedBytes = logFile.size() / 3;
  std::printf("seconds measured       %.1f\n", elapsed);
  std::printf("cpu use                %.2f %% of one core\n", 100.0 * cpu / elapsed);
  std::printf("peak memory            %.1f MB\n", double(bench::PeakRssKb()) / 1024.0);
  std::printf("bytes sent             %lld\n", static_cast<long long>(streamed));
  std::printf("bytes recorded         %lld\n", static_cast<long long>(recordedBytes));
  std::printf("bytes lost             %lld\n",
              std::max<long long>(
                  0, static_cast<long long>(streamed) - static_cast<long long>(recordedBytes)));
  return 0;
}
