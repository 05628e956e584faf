// Replay through the program: a generated drive of 200 Hz frames replayed into
// the main window's display at the fastest speed (frames a second through the
// scanner and the handlers, the display refreshed at most every 150 ms), then
// a shorter part of it at 1x (time taken against 10 ms a frame).
// Usage: bench-replay [FRAMES] (default 720000, an hour at 200 Hz)
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

#include "bench/common/ProgramBench.h"
#include "mainwindow/ReplayPanel.h"
#include "protocol/HexText.h"
#include "protocol/LogReplay.h"
#include "tools/makelog/DemoLog.h"

namespace {

double Replay(CTavrikDlg& window, ScriptedWindowServices& services, const QString& path,
              const QString& speed, uint64_t* frames) {
  const ControlMap& c = window.Controls();
  c.As<QComboBox>(1173)->setCurrentText(speed);
  services.QueueFileName(path);
  QElapsedTimer wall;
  wall.start();
  c.As<QPushButton>(1146)->click();
  bench::RunUntil(
      3600 * 1000, [&] { return !window.Replay().Running(); }, 5);
  *frames = window.Replay().Replay().FramesReplayed();
  return double(wall.nsecsElapsed()) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::max(100, std::atoi(argv[1])) : 720000;
  if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tavrik");
  QTemporaryDir dir;
  const std::string drive = dir.filePath("drive.txt").toStdString();
  const std::string paced = dir.filePath("paced.txt").toStdString();
  auto write = [](const std::string& path, uint64_t count) {
    DemoLogOptions options;
    options.frames = count;
    std::FILE* out = std::fopen(path.c_str(), "wb");
    const bool ok = out != nullptr && WriteDemoLog(out, options);
    if (out) std::fclose(out);
    return ok;
  };
  if (!write(drive, uint64_t(frames)) || !write(paced, 500)) return 1;  // 500: five seconds at 1x

  ScriptedWindowServices services;
  bench::Program program(services, services);
  CTavrikDlg& window = program.Window();

  uint64_t replayed = 0;
  const double fastSeconds =
      Replay(window, services, QString::fromStdString(drive), QStringLiteral("最快"), &replayed);
  std::printf("frames replayed        %llu of %d\n", static_cast<unsigned long long>(replayed),
              frames);
  std::printf("frames/s               %.0f\n", double(replayed) / fastSeconds);
  uint64_t pacedFrames = 0;
  const double pacedSeconds =
      Replay(window, services, QString::fromStdString(paced), QStringLiteral("1x"), &pacedFrames);
  std::printf("1x frames              %llu\n", static_cast<unsigned long long>(pacedFrames));
  std::printf("1x ratio               %.3f\n", pacedSeconds / (0.010 * double(pacedFrames)));
  return 0;
}
