// A firmware upgrade as the user makes it: the main window against
// tavrik-unitsim's boot loader paced as a 115200 baud line, the gate, "打开
// HEX文件" with a 256 KiB image and "一键升级", through the serial worker and
// the per-byte road. Prints the seconds from the click to "下载完成！"
// against the time the line needs for the bytes both ways (goal: a ratio of
// at most 1.15), and whether the unit holds the whole image.
// Usage: bench-upgrade
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <cstdio>

#include "bench/common/ProgramBench.h"
#include "device/DeviceSession.h"
#include "tests/firmware/TestImages.h"

namespace {

constexpr size_t kImageSize = 256 * 1024;
constexpr int kBaud = 115200;
constexpr int kBlockBytes = 133;

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tavrik");
  QTemporaryDir scratch;
  // The image file lives under the data directory: a scratch one here.
  qputenv("XDG_DATA_HOME", scratch.filePath("data").toLocal8Bit());
  const std::vector<uint8_t> image = test_images::Pattern(kImageSize);
  const QString hexPath = scratch.filePath("APP.hex");
  const QString arrived = scratch.filePath("arrived.bin"), tee = scratch.filePath("unit.bin");
  {
    QFile hex(hexPath);
    if (!hex.open(QIODevice::WriteOnly)) return 1;
    hex.write(QByteArray::fromStdString(test_images::HexFile(image)));
  }

  bench::Unit unit(
      {"--stopped", "--loader-baud", QString::number(kBaud), "--image-out", arrived, "--tee", tee});
  if (unit.Device().isEmpty()) return 1;
  ScriptedWindowServices services;
  bench::Program program(services, services);
  program.OpenPort(unit.Device());
  // Ctrl+Shift+U opens the upgrade group, as the user does.
  QKeyEvent gate(QEvent::KeyPress, Qt::Key_U, Qt::ControlModifier | Qt::ShiftModifier);
  QApplication::sendEvent(program.Controls().Get(1077), &gate);
  services.QueueFileName(hexPath);
  program.Click(1066);

  QElapsedTimer wall;
  wall.start();
  program.Click(1067);
  const QString done = QStringLiteral("下载完成！");
  bench::RunUntil(
      600'000, [&] { return services.MessageTexts().contains(done); }, 5);
  const double seconds = double(wall.nsecsElapsed()) / 1e9;
  const FirmwareProgress progress = program.Window().Session().Loader().Progress();
  unit.Stop();

  // On the line: the header, every data block and the closing block from
  // us, and whatever the unit answered (its own copy).
  const double lineBytes =
      double(kBlockBytes) * double(progress.blocksTotal + 2) + double(ReadAll(tee).size());
  const double lineTime = lineBytes * 10.0 / kBaud;
  const QByteArray received = ReadAll(arrived);
  const bool intact =
      received == QByteArray(reinterpret_cast<const char*>(image.data()), qsizetype(image.size()));
  std::printf("image intact %s\n", intact ? "yes" : "no");
  std::printf("seconds %.2f\n", seconds);
  std::printf("line time %.2f s\n", lineTime);
  std::printf("ratio %.3f\n", seconds / lineTime);
  for (const QString& text : services.MessageTexts()) {
    std::printf("message shown %s\n", text.toUtf8().constData());
  }
  return 0;
}
