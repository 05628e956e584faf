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
#include "protocol/HexText.h"
#include "protocol/ReceivePipeline.h"

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
  if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tavrik");

  QTemporaryDir dir;
  const QString tee = dir.filePath("sent.bin"), log = dir.filePath("drive.txt");
  // The unit sends exactly that many seconds' worth of frames and then falls
  // silent, so the whole stream is recorded and can be compared byte for
  // byte (a stop command would drop whatever the line still held).
  const qulonglong frames = 768ull * unsigned(seconds);
  bench::Unit unit({"--baud", "921600", "--rate", "0", "--frame", "120", "--stopped", "--frames",
                    QString::number(frames), "--tee", tee});
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
  const ReceivePipeline& pipeline = program.Window().Pipeline();
  bench::RunUntil((seconds + 10) * 1000,
                  [&] { return pipeline.Counters().framesPassed >= frames; });
  bench::RunUntil(500, [] { return false; });  // the last piece reaches the log
  const double cpu = bench::CpuSeconds() - cpuBefore;
  const double elapsed = double(wall.elapsed()) / 1000.0;
  c.As<QPushButton>(1069)->click();
  c.As<QPushButton>(1008)->click();
  unit.Stop();  // the unit's copy is complete once it has ended

  // What the unit sent in Live mode is its START answer and the stream after
  // it; the log holds exactly that.
  QFile sentFile(tee), logFile(log);
  sentFile.open(QIODevice::ReadOnly);
  logFile.open(QIODevice::ReadOnly);
  const QByteArray sent = sentFile.readAll();
  const qsizetype start = sent.indexOf("*PA AUTO START 1\r\n");
  const qsizetype streamed = start >= 0 ? sent.size() - start : sent.size();
  const QByteArray text = logFile.readAll();
  QByteArray recorded(text.size() / 3 + 1, '\0');
  recorded.resize(qsizetype(DecodeHexText(text.constData(), size_t(text.size()),
                                          reinterpret_cast<uint8_t*>(recorded.data()))));
  const qint64 recordedBytes = recorded.size();
  std::printf("seconds measured       %.1f\n", elapsed);
  std::printf("cpu use                %.2f %% of one core\n", 100.0 * cpu / elapsed);
  std::printf("peak memory            %.1f MB\n", double(bench::PeakRssKb()) / 1024.0);
  std::printf("bytes sent             %lld\n", static_cast<long long>(streamed));
  std::printf("bytes recorded         %lld\n", static_cast<long long>(recordedBytes));
  std::printf("bytes lost             %lld\n",
              std::max<long long>(
                  0, static_cast<long long>(streamed) - static_cast<long long>(recordedBytes)));
  // Not only as many bytes: the very bytes, in their order.
  std::printf("log equals the stream  %s\n",
              recorded == sent.mid(start >= 0 ? start : 0, streamed) ? "yes" : "no");
  return 0;
}
