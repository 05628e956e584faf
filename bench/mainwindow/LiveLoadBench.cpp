// The program under a full line: the main window, output started, against
// tavrik-unitsim streaming Frame120 back to back at 921600 baud. Prints the
// process's CPU use, peak memory, frames sent and decoded, CRC failures and
// ring overruns. Usage: bench-live-load [SECONDS] (default 60).
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

#include "bench/common/ProgramBench.h"
#include "protocol/ReceivePipeline.h"

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
  if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tavrik");

  // A 921600-baud line carries 768 Frame120 a second; the unit sends exactly
  // that many seconds' worth, so every frame sent can be accounted for.
  const qulonglong frames = 768ull * unsigned(seconds);
  bench::Unit unit({"--baud", "921600", "--rate", "0", "--frame", "120", "--stopped", "--frames",
                    QString::number(frames)});
  if (unit.Device().isEmpty()) return 1;
  // Scripted services answer any box at once (and record it), so nothing
  // waits for a click.
  ScriptedWindowServices services;
  bench::Program program(services, services);
  program.OpenPort(unit.Device());
  const ReceivePipeline& pipeline = program.Window().Pipeline();
  auto passed = [&] { return pipeline.Counters().framesPassed; };
  const double cpuBefore = bench::CpuSeconds();
  QElapsedTimer wall;
  wall.start();
  program.Click(1060);  // the unit starts streaming
  bench::RunUntil((seconds + 10) * 1000, [&] { return passed() >= frames; });
  const double cpu = bench::CpuSeconds() - cpuBefore;
  const double elapsed = double(wall.elapsed()) / 1000.0;
  unit.Stop();

  std::printf("seconds measured       %.1f\n", elapsed);
  std::printf("cpu use                %.2f %% of one core\n", 100.0 * cpu / elapsed);
  std::printf("peak memory            %.1f MB\n", double(bench::PeakRssKb()) / 1024.0);
  std::printf("frames sent            %llu\n", frames);
  std::printf("frames decoded         %llu (%.0f per second)\n",
              static_cast<unsigned long long>(passed()), double(passed()) / elapsed);
  std::printf("crc failures           %llu\n",
              static_cast<unsigned long long>(pipeline.Counters().framesFailed));
  std::printf("ring overruns          %llu\n",
              static_cast<unsigned long long>(pipeline.Counters().overruns));
  std::printf("frames lost            %lld\n",
              static_cast<long long>(frames) - static_cast<long long>(passed()));
  for (const QString& text : services.MessageTexts()) {
    std::printf("message shown          %s\n", text.toUtf8().constData());
  }
  program.Window().Pipeline().Stop();
  return 0;
}
