// The program under a full line: the main window, output started, against
// tavrik-unitsim streaming Frame120 back to back at 921600 baud. Prints the
// process's CPU use, peak memory, frames sent and decoded, CRC failures and
// ring overruns. Usage: bench-live-load [SECONDS] (default 60).
#include <sys/resource.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "ControlMap.h"
#include "QtWindowServices.h"
#include "ReceiveDispatcher.h"
#include "TavrikDlg.h"

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

void Wait(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
  if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tavrik");

  QProcess unit;
  unit.start(TAVRIK_UNITSIM_BIN, {"--baud", "921600", "--rate", "0", "--frame", "120"});
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

  QtWindowServices services;
  CTavrikDlg window(services);
  window.Initialise();
  window.show();
  const ControlMap& c = window.Controls();
  c.As<QComboBox>(1041)->setEditText(device);
  c.As<QComboBox>(1040)->setCurrentText("921600");
  c.As<QPushButton>(1008)->click();
  c.As<QPushButton>(1060)->click();
  Wait(500);  // settle: port open, stream flowing

  const RingParser& parser = window.Receive().Parser();
  const uint64_t passedBefore = parser.FramesPassed();
  const double cpuBefore = CpuSeconds();
  QElapsedTimer wall;
  wall.start();
  Wait(seconds * 1000);
  const double cpu = CpuSeconds() - cpuBefore;
  const double elapsed = double(wall.elapsed()) / 1000.0;
  const uint64_t passedInWindow = parser.FramesPassed() - passedBefore;

  // End the stream, let the last bytes through, then compare totals.
  unit.terminate();
  unit.waitForFinished(5000);
  Wait(500);
  const QString stats = QString::fromLocal8Bit(unit.readAllStandardOutput());
  const auto match = QRegularExpression("frames120=(\\d+)").match(stats);
  const qulonglong sent = match.hasMatch() ? match.captured(1).toULongLong() : 0;

  std::printf("seconds measured       %.1f\n", elapsed);
  std::printf("cpu use                %.2f %% of one core\n", 100.0 * cpu / elapsed);
  std::printf("peak memory            %.1f MB\n", double(PeakRssKb()) / 1024.0);
  std::printf("frames sent            %llu\n", sent);
  std::printf("frames decoded         %llu (%.0f per second while measured)\n",
              static_cast<unsigned long long>(parser.FramesPassed()),
              double(passedInWindow) / elapsed);
  std::printf("crc failures           %llu\n",
              static_cast<unsigned long long>(parser.FramesFailed()));
  std::printf("ring overruns          %llu\n", static_cast<unsigned long long>(parser.Overruns()));
  std::printf("frames lost            %lld\n",
              static_cast<long long>(sent) - static_cast<long long>(parser.FramesPassed()));
  window.Receive().StopParser();
  return 0;
}
