// Conversion from the dialog against the tavrik-convert command, on the same
// 100 MB generated log as the converter's own benchmark and with the same
// groups (vel,pos,att,gyro,acc). Prints MB/s of log text (1 MB = 10^6 bytes)
// for each, the best of a few runs, and their ratio.
// Usage: bench-conversion [RUNS] (default 3).
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "mainwindow/FilesFormatConvert.h"
#include "mainwindow/FilesFormatConvertIds.h"
#include "protocol/ConfigFile.h"
#include "protocol/PorotocalRtkAnalyse.h"
#include "services/ScriptedWindowServices.h"
#include "tools/makelog/DemoLog.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

const fs::path kFolder = fs::temp_directory_path();
const fs::path kLog = kFolder / "tavrik-bench-100mb.log";
const fs::path kTarget = kFolder / "tavrik-bench-conversion-out.txt";
const fs::path kConfig = kFolder / "tavrik-bench-conversion-config";

bool MakeLog() {
  if (fs::exists(kLog) && fs::file_size(kLog) >= 100'000'000) return true;
  DemoLogOptions options;
  options.frames = 216'000;  // a little over 100 MB of text with this mix and 3 % noise
  options.noisePercent = 3;
  std::FILE* f = std::fopen(kLog.c_str(), "wb");
  const bool ok = f != nullptr && WriteDemoLog(f, options);
  if (f != nullptr) std::fclose(f);
  return ok;
}

template <typename Button>
Button* Control(QWidget& dialog, int id) {
  for (Button* widget : dialog.findChildren<Button*>()) {
    if (widget->property("controlId").toInt() == id) return widget;
  }
  std::fprintf(stderr, "no control %d\n", id);
  std::exit(1);
}

double DialogSeconds(FilesFormatConvert& dialog, ScriptedWindowServices& services) {
  using namespace FilesFormatConvertIds;
  dialog.ShowModal();
  services.QueueFileName(QString::fromStdString(kLog.string()));
  Control<QPushButton>(dialog, kSourceButton)->click();
  services.QueueFileName(QString::fromStdString(kTarget.string()));
  Control<QPushButton>(dialog, kTargetButton)->click();
  for (int id : {kVelocityCheck, kPositionCheck, kAttitudeCheck, kGyroCheck, kAccelerometerCheck})
    Control<QCheckBox>(dialog, id)->setChecked(true);
  const Clock::time_point start = Clock::now();
  Control<QPushButton>(dialog, kConvertButton)->click();
  // The conversion's own reports wake the loop; nothing spins.
  while (dialog.IsConverting()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  dialog.hide();
  if (!services.MessageTexts().isEmpty()) {
    std::fprintf(stderr, "the dialog reported: %s\n",
                 services.MessageTexts().join(" / ").toUtf8().constData());
    std::exit(1);
  }
  return seconds;
}

double ToolSeconds() {
  const std::string command = "'" TAVRIK_CONVERT_BIN "' --config '" + kConfig.string() + "' '" +
                              kLog.string() + "' '" + kTarget.string() + "' 2>/dev/null";
  const Clock::time_point start = Clock::now();
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "failed: %s\n", command.c_str());
    std::exit(1);
  }
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tavrik");
  if (!MakeLog()) {
    std::fprintf(stderr, "cannot write %s\n", kLog.c_str());
    return 1;
  }
  if (std::FILE* f = std::fopen(kConfig.c_str(), "wb")) {
    std::fputs("V3.11\r\nx\r\n", f);
    std::fclose(f);
  }

  CPorotocalRtkAnalyse live;
  ApplyConfig(live, *ReadConfigFile(kConfig.string()));
  ScriptedWindowServices services;
  services.SetModalHandler([](QDialog& shown) {
    shown.show();
    return kResultOk;
  });
  FilesFormatConvert dialog(services, live);

  ToolSeconds();  // the log into the page cache
  double dialogBest = 1e300, toolBest = 1e300;
  for (int i = 0; i < runs; ++i) {
    dialogBest = std::min(dialogBest, DialogSeconds(dialog, services));
    toolBest = std::min(toolBest, ToolSeconds());
  }
  const double megabytes = double(fs::file_size(kLog)) / 1e6;
  std::printf("log MB %.1f\n", megabytes);
  std::printf("MB/s %.1f\n", megabytes / dialogBest);
  std::printf("tavrik-convert MB/s %.1f\n", megabytes / toolBest);
  std::printf("ratio %.3f\n", toolBest / dialogBest);
  std::error_code ignored;
  fs::remove(kTarget, ignored);
  fs::remove(kConfig, ignored);
  return 0;
}
