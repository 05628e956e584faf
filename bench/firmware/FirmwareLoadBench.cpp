// Upgrades a 256 KiB image through the firmware loader over a
// pseudo-terminal against tavrik-unitsim's boot loader. Paced as a 115200
// baud line, it prints how long the upgrade took against the time the line
// needs for the bytes both ways (the goal is a ratio of at most 1.15);
// unpaced, how many blocks a second the loader and the line manage.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "device/FirmwareLoader.h"
#include "tests/firmware/LoaderLineDriver.h"
#include "tests/firmware/SerialLine.h"
#include "tests/firmware/UnitSimChild.h"

namespace {

constexpr size_t kImageSize = 256 * 1024;
constexpr int kBaud = 115200;

struct Result {
  bool intact = false;
  double seconds = 0;
  uint64_t lineBytes = 0;
  uint32_t blocks = 0;
};

Result Upgrade(const std::vector<uint8_t>& image, std::vector<std::string> options) {
  Result result;
  const std::filesystem::path arrived =
      std::filesystem::temp_directory_path() / ("tavrik-bench-image-" + std::to_string(getpid()));
  options.insert(options.end(), {"--stopped", "--image-out", arrived.string()});
  UnitSimChild unit(options);
  SerialLine line(unit.DevicePath());
  if (!line.IsOpen()) return result;
  FirmwareLoader loader;
  LoaderLineDriver driver(line.Fd(), loader);
  driver.AwaitClosingAnswer();
  const LoaderLineDriver::Outcome outcome = driver.Run(loader.Start(image, "APP.hex"));
  unit.Terminate();
  std::ifstream file(arrived, std::ios::binary);
  const std::vector<uint8_t> received{std::istreambuf_iterator<char>(file),
                                      std::istreambuf_iterator<char>()};
  std::filesystem::remove(arrived);
  result.intact = outcome.finished && received == image;
  result.seconds = outcome.seconds;
  result.lineBytes = outcome.bytesWritten + outcome.bytesRead;
  result.blocks = loader.Progress().blocksConfirmed;
  return result;
}

}  // namespace

int main() {
  std::vector<uint8_t> image(kImageSize);
  for (size_t i = 0; i < image.size(); ++i) image[i] = uint8_t(i * 7 + (i >> 9));

  const Result paced = Upgrade(image, {"--loader-baud", std::to_string(kBaud)});
  const double lineTime = double(paced.lineBytes) * 10.0 / kBaud;
  std::printf("image intact %s\n", paced.intact ? "yes" : "no");
  std::printf("seconds %.2f\n", paced.seconds);
  std::printf("line time %.2f s\n", lineTime);
  std::printf("ratio %.3f\n", lineTime > 0 ? paced.seconds / lineTime : 0.0);

  const Result unpaced = Upgrade(image, {});
  std::printf("unpaced image intact %s\n", unpaced.intact ? "yes" : "no");
  std::printf("blocks/s %.0f\n", unpaced.seconds > 0 ? unpaced.blocks / unpaced.seconds : 0.0);
  return paced.intact && unpaced.intact ? EXIT_SUCCESS : EXIT_FAILURE;
}
