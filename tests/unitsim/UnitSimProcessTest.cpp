#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <iterator>

#include "protocol/FrameScanner.h"
#include "IndependentFrameReader.h"
#include "protocol/PorotocalRtkAnalyse.h"
#include "SimProcess.h"
#include "YmodemSender.h"

namespace {

using namespace std::chrono_literals;
namespace ys = ymodem_sender;

constexpr uint8_t kAck = 0x06, kNak = 0x15, kEot = 0x04;

std::string ImagePath(const std::string& name) {
  return testing::TempDir() + name;
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

TEST(UnitSimProcessTest, APacedStreamAt921600BaudDecodesWithoutAFailure) {
  SimProcess sim({"--baud", "921600", "--rate", "100", "--frames", "1000", "--seed", "1"});
  ASSERT_TRUE(sim.Started());

  IndependentFrameReader reader;
  CPorotocalRtkAnalyse analyser;
  FrameScanner scanner(analyser);
  std::vector<uint8_t> unscanned;
  size_t agreeing = 0;
  size_t decoded = 0;
  const auto deadline = std::chrono::steady_clock::now() + 4 * SimProcess::kPatience;
  while (reader.Count(120) < 1000 && std::chrono::steady_clock::now() < deadline) {
    const auto bytes = sim.ReadSome();
    reader.Feed(bytes.data(), bytes.size());
    unscanned.insert(unscanned.end(), bytes.begin(), bytes.end());
    const size_t used =
        scanner.Scan(unscanned.data(), unscanned.size(), false, [&](const uint8_t*, size_t) {
          DecodeCurrentFrame(analyser);
          const size_t index = decoded++;
          const auto& mine = reader.Frames();
          if (index < mine.size() && analyser.GetLatitude() == mine[index].latitude &&
              analyser.GetLongitude() == mine[index].longitude &&
              std::abs(analyser.GetYaw() - mine[index].yaw) < 1e-9) {
            ++agreeing;
          }
        });
    unscanned.erase(unscanned.begin(), unscanned.begin() + std::ptrdiff_t(used));
  }
  const std::string stats = sim.Terminate();

  EXPECT_EQ(reader.Count(120), 1000u);
  EXPECT_EQ(reader.Failures(), 0u);
  EXPECT_EQ(scanner.FramesPassed(), 1000u);
  EXPECT_EQ(scanner.FramesFailed(), 0u);
  EXPECT_EQ(agreeing, 1000u);
  EXPECT_NE(stats.find("frames120=1000 "), std::string::npos) << stats;
  EXPECT_NE(stats.find("dropped=0 "), std::string::npos) << stats;
  // Ten seconds of a drive that starts at the start position, heading north.
  EXPECT_DOUBLE_EQ(reader.Frames().front().longitude, 116.3);
  EXPECT_GT(reader.Frames().back().velN, 1.0);
}

TEST(UnitSimProcessTest, CommandRepliesFollowTheVariant) {
  struct Case {
    const char* variant;
    const char* rateReply;
  };
  for (const Case& c :
       {Case{"V3.11", "*PA AUTO OUT FER 2 1\r\n"}, Case{"V5.1", "*PA AUTO OUT FRE 2 1\r\n"},
        Case{"V7.1", "*PA AUTO OUT FRE 2 1\r\n"}, Case{"QELV3.11", "*PA AUTO OUT FRE 2 1\r\n"},
        Case{"kdv1", "*PA AUTO OUT FRE 2 1\r\n"}, Case{"KemRTK", "*PA AUTO OUT FRE 2 1\r\n"},
        Case{"other", "*PA AUTO OUT FRE 2 1\r\n"}}) {
    SimProcess sim({"--variant", c.variant, "--stopped"});
    ASSERT_TRUE(sim.Started());
    sim.Write("*PA AUTO OUT FRE 2\r\n");
    EXPECT_EQ(sim.ReadUntil(c.rateReply), c.rateReply) << c.variant;
    sim.Write("*PA AUTO STATUS\r\n");
    const std::string status = sim.ReadUntil("\r\n");
    ASSERT_GT(status.size(), 17u) << c.variant;
    EXPECT_EQ(status.substr(0, 16), "*PA AUTO STATUS ");
    EXPECT_EQ(status[17], '2') << c.variant;
  }
}

class BootLoaderProcessTest : public testing::Test {
 protected:
  // Plays the program's loader for one image; `damagedBlock` is first sent
  // with a bad CRC.
  void Upgrade(SimProcess& sim, const std::vector<uint8_t>& image, size_t damagedBlock = 0) {
    sim.Write("reset!");
    ASSERT_FALSE(sim.ReadUntil("main").empty());
    sim.Write("ks");
    ASSERT_FALSE(sim.ReadUntil("C").empty());
    Expect(sim, ys::Header("APP.hex", image.size()), {kAck});
    for (size_t block = 1; block <= ys::DataBlockCount(image.size()); ++block) {
      if (block == damagedBlock) {
        auto damaged = ys::DataBlock(image, block);
        damaged[50] ^= 0x40;
        Expect(sim, damaged, {kNak});
      }
      Expect(sim, ys::DataBlock(image, block), {kAck});
    }
    Expect(sim, {kEot}, {kAck, 'C'});
    Expect(sim, ys::Closing(), {kAck});
  }
  void Expect(SimProcess& sim, const std::vector<uint8_t>& send,
              const std::vector<uint8_t>& answer) {
    sim.Write(send);
    EXPECT_EQ(sim.Read(answer.size()), answer);
  }
};

TEST_F(BootLoaderProcessTest, ImagesOf300And1024BytesArriveIntact) {
  const std::string path = ImagePath("unitsim-image.bin");
  SimProcess sim({"--image-out", path});
  ASSERT_TRUE(sim.Started());

  const auto small = ys::TestImage(300);
  Upgrade(sim, small);
  EXPECT_EQ(ReadFile(path), small);

  // The unit streams again after the new firmware started; a second upgrade
  // works the same way, here with a damaged packet on the way.
  const auto large = ys::TestImage(1024);
  Upgrade(sim, large, 3);
  EXPECT_EQ(ReadFile(path), large);

  const std::string stats = sim.Terminate();
  EXPECT_NE(stats.find("images=2"), std::string::npos) << stats;
  ::unlink(path.c_str());
}

TEST(UnitSimToolTest, LinksTheDeviceAndReportsItsStatisticsOnTermination) {
  const std::string link = ImagePath("unitsim-link");
  SimProcess sim({"--link", link, "--static", "--rate", "10"});
  ASSERT_TRUE(sim.Started());
  char target[256] = {};
  ASSERT_GT(::readlink(link.c_str(), target, sizeof target - 1), 0);
  EXPECT_EQ(sim.DevicePath(), target);
  EXPECT_EQ(sim.Read(120).size(), 120u);

  int status = -1;
  const std::string stats = sim.Terminate(&status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(stats.rfind("tavrik-unitsim: frames120=", 0), 0u) << stats;
  EXPECT_NE(stats.find(" images=0"), std::string::npos) << stats;
  EXPECT_NE(::access(link.c_str(), F_OK), 0);
}

}  // namespace
