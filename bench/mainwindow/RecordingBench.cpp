// Recording at line rate: the main window against tavrik-unitsim streaming
// frames back to back at 921600 baud, output started and the raw log
// recording, for a given time (default 60 s). Prints the program's CPU use,
// the bytes the log lacks against what the unit sent, and peak memory.
// Usage: bench-recording [SECONDS]
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>

#include "bench/common/ProgramBench.h"

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
  if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tavrik");

  QTemporaryDir dir;
  const QString tee = dir.filePath("sent.bin"), log = dir.filePath("drive.txt");
  bench::Unit unit(
      {"--baud", "921600", "--rate", "0", "--frame", "120", "--stopped", "--tee", tee});
  if (unit.Device().isEmpty()) return 1;
  ScriptedWindowServices services;
  bench::Program program(services, services);
  program.OpenPort(unit.Device());
  services.QueueFileName(log);
  program.Click(1068);
  const ControlMap& c = program.Controls();

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
  unit.Stop();  // the unit's copy is complete once it has ended

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
