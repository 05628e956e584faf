// The program left running as an engineer leaves it on a test bench: the
// main window against tavrik-unitsim streaming Frame120 back to back at
// 921600 baud with noise between the frames, output started and the raw log
// recording for the whole run. Every 20 s the stream is stopped, the serial
// number asked for and the stream started again; every three minutes the
// curve window is opened for 30 s; every 30 s the GUI thread is stalled for
// 500 ms. Resident memory is sampled every minute.
//
// Prints the frames the unit sent and the frames the program passed, the
// ring overruns, the replies answered, the CPU use, the memory drift and
// whether the log holds exactly what the program was sent.
//
// Usage: bench-soak [MINUTES] (default 60; 5 is the short form).
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/common/ProgramBench.h"
#include "bench/soak/SentStream.h"
#include "curves/RealtimeCurve.h"
#include "device/DeviceSession.h"
#include "mainwindow/CommandChannel.h"
#include "mainwindow/CurvesPanel.h"
#include "mainwindow/RecorderPanel.h"
#include "mainwindow/TavrikDlgIds.h"
#include "protocol/ReceivePipeline.h"
#include "serial/CSerialPort.h"

namespace {

using bench::RunUntil;
using namespace MainIds;

constexpr int kSegmentMs = 20'000;      // streaming between two commands
constexpr int kCurveOpenMs = 30'000;    // how long the curve window stays open
constexpr int kFirstCurveMs = 20'000;   // inside the first minute, so the baseline has it
constexpr int kCurveEveryMs = 180'000;  // then every three minutes
constexpr int kStallEveryMs = 30'000;
constexpr unsigned long kStallMs = 500;
constexpr int kMemoryEveryMs = 60'000;
constexpr int kReplyWaitMs = 5'000;
constexpr const char* kNoiseSeed = "20240";

const QString kStopConfirmed = QStringLiteral("设置停止输出成功\n");
const QString kSerialNumberReply = QStringLiteral("产品的SN=");

double ResidentMb() {
  QFile statm("/proc/self/statm");
  if (!statm.open(QIODevice::ReadOnly)) return 0;
  const QList<QByteArray> fields = statm.readAll().split(' ');
  if (fields.size() < 2) return 0;
  return double(fields[1].toLongLong()) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

QString LoadAverage() {
  QFile loadavg("/proc/loadavg");
  if (!loadavg.open(QIODevice::ReadOnly)) return QStringLiteral("unknown");
  return QString::fromLatin1(loadavg.readAll()).section(' ', 0, 2);
}

// The line goes quiet: nothing new reaches the parser or the log for a
// while, and the parser has nothing left to scan.
void WaitForQuietLine(CTavrikDlg& window) {
  const ReceivePipeline& pipeline = window.Pipeline();
  uint64_t passed = pipeline.Counters().framesPassed, logged = window.Recorder().LogCharacters();
  QElapsedTimer still;
  still.start();
  RunUntil(
      5000,
      [&] {
        const uint64_t p = pipeline.Counters().framesPassed;
        const uint64_t l = window.Recorder().LogCharacters();
        if (p != passed || l != logged || window.Pipeline().ParserBusy()) {
          passed = p;
          logged = l;
          still.restart();
        }
        return still.elapsed() >= 300;
      },
      20);
}

// How many of the recorded boxes answer the stop and serial-number commands.
int RepliesAnswered(const QStringList& texts) {
  return int(std::count_if(texts.begin(), texts.end(), [](const QString& text) {
    return text == kStopConfirmed || text.startsWith(kSerialNumberReply);
  }));
}

}  // namespace

int main(int argc, char** argv) {
  const int minutes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
  if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tavrik");
  // The program looks for updates at start; here it asks this machine,
  // which refuses at once, so an hour's run reaches no name server.
  qputenv("TAVRIK_UPDATE_URL", "https://127.0.0.1:9/insV39/ver.txt");
  std::printf("machine load at start  %s\n", LoadAverage().toUtf8().constData());

  QTemporaryDir dir;
  const QString tee = dir.filePath("sent.bin"), log = dir.filePath("soak.txt");
  bench::Unit unit({"--variant", "KDV1", "--baud", "921600", "--rate", "0", "--frame", "120",
                    "--stopped", "--noise", "10", "--seed", kNoiseSeed, "--tee", tee});
  if (unit.Device().isEmpty()) return 1;
  ScriptedWindowServices services;
  bench::Program program(services, services);
  CTavrikDlg& window = program.Window();
  const ControlMap& c = program.Controls();
  const ReceivePipeline& pipeline = window.Pipeline();
  RealtimeCurve& curve = window.Curves().SensorCurveWindow();
  program.OpenPort(unit.Device());
  RunUntil(5000, [&] { return window.Session().IsPortOpen(); });
  if (!window.Session().IsPortOpen()) {
    std::fprintf(stderr, "benchmark: the port did not open\n");
    return 1;
  }
  services.QueueFileName(log);
  program.Click(kLogSaveButton);

  // The curve window as "曲线" shows it: open for a while, then "返回".
  int curveOpenings = 0;
  services.SetModalHandler([&](QDialog& dialog) {
    dialog.show();
    ++curveOpenings;
    RunUntil(kCurveOpenMs, [] { return false; });
    dialog.accept();
    return kResultOk;
  });

  // A GUI thread that stops answering now and then (a slow disk, a busy
  // desktop): the serial worker and the parser must carry the stream alone.
  int stalls = 0;
  QTimer stall;
  QObject::connect(&stall, &QTimer::timeout, [&] {
    QThread::msleep(kStallMs);
    ++stalls;
  });
  std::vector<double> memory;
  QTimer memoryTimer;
  QObject::connect(&memoryTimer, &QTimer::timeout, [&] {
    memory.push_back(ResidentMb());
    std::printf("memory at minute %zu    %.1f MB\n", memory.size(), memory.back());
    std::fflush(stdout);
  });

  const double cpuBefore = bench::CpuSeconds();
  QElapsedTimer wall;
  wall.start();
  stall.start(kStallEveryMs);
  memoryTimer.start(kMemoryEveryMs);
  program.Click(kStartOutputButton);

  // Frames are counted on the bulk road only, so the stream must never run
  // while the program reads byte by byte. The "停止输出" button switches to
  // Command mode and drops unread input before its line goes out, which
  // throws away the frames still on their way by design. So the bench stops
  // the stream first as the unit would stop on its own: the same line
  // written without dropping input, the program still in Live mode. Only on
  // the silent line does the user's sequence follow: "停止输出" (its
  // answer enables "开始输出" and, on this variant, brings a status reply
  // that returns to Live), the serial number, "开始输出".
  auto stopStreamOnBulkRoad = [&] {
    window.SerialPort().QueueWrite(QByteArrayLiteral("*PA AUTO STOP\r\n"), false);
    WaitForQuietLine(window);
  };
  int commandsSent = 0, forcedStarts = 0, modeFaults = 0;
  auto commandCycle = [&] {
    if (window.Session().Mode() != ReceiveMode::Live &&
        window.Session().Mode() != ReceiveMode::SensorCurve) {
      ++modeFaults;
    }
    stopStreamOnBulkRoad();
    int shown = RepliesAnswered(services.MessageTexts());
    program.Click(kStopOutputButton);
    ++commandsSent;
    RunUntil(kReplyWaitMs, [&] {
      return RepliesAnswered(services.MessageTexts()) > shown &&
             window.Session().Mode() == ReceiveMode::Live;
    });
    shown = RepliesAnswered(services.MessageTexts());
    program.Click(kSerialNumberButton);
    ++commandsSent;
    RunUntil(kReplyWaitMs, [&] { return RepliesAnswered(services.MessageTexts()) > shown; });
    if (c.As<QAbstractButton>(kStartOutputButton)->isEnabled()) {
      program.Click(kStartOutputButton);
    } else {
      // The stop was never confirmed; the stream must run on all the same.
      window.Commands().OnStartOutput();
      ++forcedStarts;
    }
  };

  const qint64 totalMs = qint64(minutes) * 60'000;
  qint64 nextCurveMs = kFirstCurveMs;
  while (wall.elapsed() < totalMs) {
    const qint64 left = totalMs - wall.elapsed();
    if (wall.elapsed() >= nextCurveMs && left > kCurveOpenMs) {
      program.Click(kCurveButton);
      nextCurveMs += kCurveEveryMs;
    } else {
      RunUntil(int(std::min<qint64>(kSegmentMs, left)), [] { return false; });
    }
    if (wall.elapsed() + 2000 < totalMs) commandCycle();
  }
  stopStreamOnBulkRoad();
  const double elapsed = double(wall.elapsed()) / 1000.0;
  const double cpu = bench::CpuSeconds() - cpuBefore;
  stall.stop();
  memoryTimer.stop();
  if (memory.size() < size_t(minutes)) {
    memory.push_back(ResidentMb());
    std::printf("memory at the end      %.1f MB\n", memory.back());
  }
  // Before the copies are read back, which maps them into this process.
  const double peakMb = double(bench::PeakRssKb()) / 1024.0;
  program.Click(kStopSaveButton);
  const LinkCounters counters = pipeline.Counters();
  const QStringList texts = services.MessageTexts();
  program.Click(kOpenButton);  // closes the port
  unit.Stop();                 // the unit's copy is complete once it has ended

  SentStream sent;
  if (!sent.Open(tee)) {
    std::fprintf(stderr, "benchmark: cannot read %s\n", tee.toUtf8().constData());
    return 1;
  }
  const uint64_t framesSent = sent.CountFrames();
  const SentStream::LogComparison logged = sent.CompareLog(log);
  const bool logIntact = logged.readable && logged.contiguous && logged.offset == 0 &&
                         logged.logBytes == sent.BulkBytes();

  std::printf("minutes                %.1f\n", elapsed / 60.0);
  std::printf("noise seed             %s\n", kNoiseSeed);
  std::printf("bytes sent             %llu\n", static_cast<unsigned long long>(sent.TeeBytes()));
  std::printf("bytes on the bulk road %llu\n", static_cast<unsigned long long>(sent.BulkBytes()));
  std::printf("frames sent            %llu\n", static_cast<unsigned long long>(framesSent));
  std::printf("frames passed          %llu\n",
              static_cast<unsigned long long>(counters.framesPassed));
  std::printf("frames lost            %lld\n",
              static_cast<long long>(framesSent) - static_cast<long long>(counters.framesPassed));
  std::printf("false headers in noise %llu\n",
              static_cast<unsigned long long>(counters.framesFailed));
  std::printf("ring overruns          %llu\n", static_cast<unsigned long long>(counters.overruns));
  std::printf("replies answered       %d of %d\n", RepliesAnswered(texts), commandsSent);
  std::printf("answers read per byte  %zu\n", sent.PerByteAnswers());
  std::printf("gui stalls             %d of %lu ms\n", stalls, kStallMs);
  std::printf("curve window openings  %d\n", curveOpenings);
  std::printf("curve points counted   %llu\n",
              static_cast<unsigned long long>(curve.PointCounter()));
  if (forcedStarts) std::printf("starts without a stop answer %d\n", forcedStarts);
  if (modeFaults) std::printf("commands outside a bulk mode %d\n", modeFaults);
  std::printf("cpu use                %.2f %% of one core\n", 100.0 * cpu / elapsed);
  std::printf("peak memory            %.1f MB\n", peakMb);
  if (memory.size() >= 2) {
    std::printf("memory drift           %.1f %%\n",
                100.0 * (memory.back() - memory.front()) / memory.front());
    // Flat means every minute's sample within 5 % of the lowest.
    const auto [low, high] = std::minmax_element(memory.begin(), memory.end());
    const double spread = 100.0 * (*high - *low) / *low;
    std::printf("memory spread          %.1f %% (flat within 5 %%: %s)\n", spread,
                spread <= 5.0 ? "yes" : "no");
  } else {
    std::printf("memory drift           n/a (one sample)\n");
  }
  std::printf("log bytes              %llu\n", static_cast<unsigned long long>(logged.logBytes));
  std::printf("log intact             %s\n", logIntact ? "yes" : "no");
  std::printf("machine load at end    %s\n", LoadAverage().toUtf8().constData());
  for (const QString& text : texts) {
    if (text != kStopConfirmed && !text.startsWith(kSerialNumberReply)) {
      std::printf("message shown          %s\n", text.toUtf8().constData());
    }
  }
  window.Pipeline().Stop();
  return 0;
}
