#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "device/FirmwareLoader.h"
#include "device/HexImageConverter.h"
#include "tests/firmware/LoaderLineDriver.h"
#include "tests/firmware/ScratchDirectory.h"
#include "tests/firmware/SerialLine.h"
#include "tests/firmware/TestImages.h"
#include "tests/firmware/UnitSimChild.h"

namespace {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

Bytes FileBytes(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Exactly `count` bytes from the line, or fewer if they do not come in 10 s.
Bytes ReadBytes(int fd, size_t count) {
  Bytes bytes;
  while (bytes.size() < count) {
    pollfd ready{fd, POLLIN, 0};
    if (::poll(&ready, 1, 10'000) != 1) break;
    uint8_t chunk[4096];
    const ssize_t n = ::read(fd, chunk, std::min(sizeof chunk, count - bytes.size()));
    if (n <= 0) break;
    bytes.insert(bytes.end(), chunk, chunk + n);
  }
  return bytes;
}

// The whole road without a window: a HEX file converted to the image file,
// the image loaded through the virtual unit's boot loader on a
// pseudo-terminal, and the image the unit received written by the unit.
class UpgradeOverLineTest : public testing::Test {
 protected:
  struct Run {
    LoaderLineDriver::Outcome outcome;
    Bytes arrived;  // what the unit wrote with --image-out
    std::string stats;
  };

  fs::path Convert(const Bytes& image) {
    const fs::path hex = m_dir / "APP.hex";
    std::ofstream(hex, std::ios::binary) << test_images::HexFile(image, 32);
    const auto converted = HexImageConverter::Convert(hex, m_imagePath);
    EXPECT_TRUE(converted.ReadyToLoad()) << converted.message;
    return m_imagePath;
  }

  Run Upgrade(const Bytes& image, std::vector<std::string> unitOptions) {
    Run run;
    const fs::path arrived = m_dir / "arrived.bin";
    fs::remove(arrived);
    unitOptions.insert(unitOptions.end(), {"--stopped", "--image-out", arrived.string()});
    UnitSimChild unit(unitOptions);
    EXPECT_TRUE(unit.Started());
    SerialLine line(unit.DevicePath());
    EXPECT_TRUE(line.IsOpen());
    if (!line.IsOpen()) return run;
    const auto start = m_loader.StartFromFile(Convert(image), "APP.hex");
    EXPECT_TRUE(start.has_value());
    if (!start) return run;
    LoaderLineDriver driver(line.Fd(), m_loader);
    driver.AwaitClosingAnswer();
    run.outcome = driver.Run(*start);
    EXPECT_EQ(run.outcome.closingAcknowledged, run.outcome.finished);
    run.stats = unit.Terminate();
    run.arrived = FileBytes(arrived);
    return run;
  }

  ScratchDirectory m_dir;
  const fs::path m_imagePath = m_dir / "data" / "tavrik" / "test.bin";
  FirmwareLoader m_loader;
};

TEST_F(UpgradeOverLineTest, ImagesOf300BytesTo256KiBArriveByteForByte) {
  for (size_t size : {size_t(300), size_t(64 * 1024), size_t(256 * 1024)}) {
    const Bytes image = test_images::Pattern(size);
    const Run run = Upgrade(image, {});
    ASSERT_TRUE(run.outcome.finished) << size << ": " << run.outcome.failure;
    EXPECT_EQ(run.arrived.size(), size);
    EXPECT_TRUE(run.arrived == image) << size;
    EXPECT_NE(run.stats.find(" images=1"), std::string::npos) << run.stats;
    ASSERT_GE(run.outcome.labels.size(), 5u);
    EXPECT_EQ(run.outcome.labels[0], "准备开始下载！");
    EXPECT_EQ(run.outcome.labels[1], "准备下载");
    EXPECT_EQ(run.outcome.labels[2], "正在擦除FLASH!");
    EXPECT_EQ(run.outcome.labels.back(), "下载完成！");
    EXPECT_EQ(m_loader.Progress().bytesConfirmed, size);
  }
}

TEST_F(UpgradeOverLineTest, RefusedBlocksAreSentAgainAndTheImageStaysWhole) {
  const Bytes image = test_images::Pattern(64 * 1024 + 77);
  const Run run = Upgrade(image, {"--nak-every", "7"});
  ASSERT_TRUE(run.outcome.finished) << run.outcome.failure;
  EXPECT_TRUE(run.arrived == image);
  // Every 7th of the 513 data blocks is refused once and sent again.
  EXPECT_EQ(std::count(run.outcome.labels.begin(), run.outcome.labels.end(), "..."), 513 / 7);
}

TEST_F(UpgradeOverLineTest, AUnitThatFallsSilentFailsTheUpgradeAndARetryAfterItsRestartWorks) {
  const Bytes image = test_images::Pattern(10'000);
  const Run silent = Upgrade(image, {"--silent-after", "20"});
  EXPECT_FALSE(silent.outcome.finished);
  EXPECT_EQ(silent.outcome.failure, "升级失败：等待数据块20应答超时\n");
  EXPECT_TRUE(silent.arrived.empty());

  const Run retry = Upgrade(image, {});
  ASSERT_TRUE(retry.outcome.finished) << retry.outcome.failure;
  EXPECT_TRUE(retry.arrived == image);
}

TEST_F(UpgradeOverLineTest, APacedLoaderLineStillTakesTheImageWhole) {
  const Bytes image = test_images::Pattern(3000);
  const Run run = Upgrade(image, {"--loader-baud", "115200"});
  ASSERT_TRUE(run.outcome.finished) << run.outcome.failure;
  EXPECT_TRUE(run.arrived == image);
}

TEST_F(UpgradeOverLineTest, AUnitThatGoesAwayMidTransferEndsItAsALostPort) {
  UnitSimChild unit({"--stopped"});
  SerialLine line(unit.DevicePath());
  ASSERT_TRUE(line.IsOpen());
  const auto start = m_loader.StartFromFile(Convert(test_images::Pattern(100'000)), "APP.hex");
  ASSERT_TRUE(start.has_value());
  LoaderLineDriver driver(line.Fd(), m_loader);
  driver.SetProgressHook([&unit](const FirmwareProgress& progress) {
    if (progress.blocksConfirmed == 10) unit.Terminate();
  });
  const auto outcome = driver.Run(*start);
  EXPECT_EQ(outcome.failure, "升级失败：串口已断开\n");
  EXPECT_FALSE(m_loader.Running());
}

TEST(UnitSimTeeTest, TheTeeHoldsEveryByteTheUnitSentInOrder) {
  ScratchDirectory dir;
  const fs::path tee = dir / "sent.bin";
  std::ofstream(tee, std::ios::binary) << "earlier";  // appended to, not replaced
  UnitSimChild unit({"--tee", tee.string(), "--baud", "0", "--rate", "0", "--frames", "20"});
  SerialLine line(unit.DevicePath());
  ASSERT_TRUE(line.IsOpen());

  Bytes read = ReadBytes(line.Fd(), 20 * 120);
  ASSERT_EQ(read.size(), 20u * 120);
  const std::string query = "*PA AUTO SN?\r\n";
  ASSERT_EQ(::write(line.Fd(), query.data(), query.size()), ssize_t(query.size()));
  const std::string reply = "*PA AUTO SN=TVK2024A0001\r\n";
  const Bytes answer = ReadBytes(line.Fd(), reply.size());
  EXPECT_EQ(std::string(answer.begin(), answer.end()), reply);
  read.insert(read.end(), answer.begin(), answer.end());

  FirmwareLoader loader;
  LoaderLineDriver driver(line.Fd(), loader);
  driver.AwaitClosingAnswer();
  const auto outcome = driver.Run(loader.Start(test_images::Pattern(500), "APP.hex"));
  ASSERT_TRUE(outcome.finished) << outcome.failure;
  read.insert(read.end(), outcome.received.begin(), outcome.received.end());

  unit.Terminate();
  Bytes expected{'e', 'a', 'r', 'l', 'i', 'e', 'r'};
  expected.insert(expected.end(), read.begin(), read.end());
  EXPECT_TRUE(FileBytes(tee) == expected);
  EXPECT_EQ(FileBytes(tee).size(), expected.size());
}

}  // namespace
