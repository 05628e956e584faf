#include <gtest/gtest.h>

#include <string>

#include "tools/unitsim/BootLoader.h"
#include "protocol/Crc16Xmodem.h"
#include "YmodemSender.h"

namespace {

using namespace std::chrono_literals;
using Clock = BootLoader::Clock;
namespace ys = ymodem_sender;

constexpr uint8_t kAck = 0x06, kNak = 0x15, kC = 'C', kEot = 0x04;

class BootLoaderTest : public testing::Test {
 protected:
  void Start(const SimOptions& options) {
    m_loader = std::make_unique<BootLoader>(options);
    m_loader->Reset(m_now);
    m_now += BootLoader::kRebootTime;
    m_loader->Tick(m_now, m_out, m_stats);
    const std::string text(m_out.begin(), m_out.end());
    ASSERT_NE(text.find("main"), std::string::npos);
    EXPECT_EQ(text.find('C'), std::string::npos);  // a 'C' would start the loader too early
    EXPECT_EQ(Send("ks"), std::vector<uint8_t>{kC});
  }
  std::vector<uint8_t> Send(const std::vector<uint8_t>& bytes) {
    m_out.clear();
    m_loader->Feed(bytes.data(), bytes.size(), m_now, m_out, m_stats);
    return m_out;
  }
  std::vector<uint8_t> Send(const std::string& text) {
    return Send(std::vector<uint8_t>(text.begin(), text.end()));
  }
  Clock::time_point m_now = Clock::time_point{} + 1h;
  std::unique_ptr<BootLoader> m_loader;
  std::vector<uint8_t> m_out;
  SimStats m_stats;
};

TEST(Crc16XmodemTest, MatchesTheCheckValueAndAnIndependentReading) {
  const std::string check = "123456789";
  const auto* bytes = reinterpret_cast<const uint8_t*>(check.data());
  EXPECT_EQ(Crc16Xmodem(bytes, check.size()), 0x31C3);
  EXPECT_EQ(ys::Crc16Xmodem(bytes, check.size()), 0x31C3);
  const auto image = ys::TestImage(128);
  EXPECT_EQ(Crc16Xmodem(image.data(), 128), ys::Crc16Xmodem(image.data(), 128));
}

TEST_F(BootLoaderTest, DamagedOrMisnumberedPacketsAreRefusedAndTheResendTaken) {
  Start(SimOptions{});
  const auto image = ys::TestImage(200);
  ASSERT_EQ(Send(ys::Header("A.hex", image.size())), std::vector<uint8_t>{kAck});

  auto damaged = ys::DataBlock(image, 1);
  damaged[10] ^= 0x01;
  EXPECT_EQ(Send(damaged), std::vector<uint8_t>{kNak});
  auto badComplement = ys::DataBlock(image, 1);
  badComplement[2] = 0;
  EXPECT_EQ(Send(badComplement), std::vector<uint8_t>{kNak});
  EXPECT_EQ(Send(ys::DataBlock(image, 2)), std::vector<uint8_t>{kNak});  // skips block 1

  EXPECT_EQ(Send(ys::DataBlock(image, 1)), std::vector<uint8_t>{kAck});
  // A repeat (the ACK was lost) is acknowledged but not stored twice.
  EXPECT_EQ(Send(ys::DataBlock(image, 1)), std::vector<uint8_t>{kAck});
  EXPECT_EQ(Send(ys::DataBlock(image, 2)), std::vector<uint8_t>{kAck});
  EXPECT_EQ(Send(std::vector<uint8_t>{kEot}), (std::vector<uint8_t>{kAck, kC}));
  EXPECT_EQ(Send(ys::Closing()), std::vector<uint8_t>{kAck});
  EXPECT_EQ(m_loader->Image(), image);
}

TEST_F(BootLoaderTest, NakEveryRefusesEveryNthGoodPacketOnceAndTakesItsResend) {
  SimOptions options;
  options.nakEvery = 2;
  Start(options);
  const auto image = ys::TestImage(3 * 128 + 5);
  ASSERT_EQ(Send(ys::Header("A.hex", image.size())), std::vector<uint8_t>{kAck});
  std::vector<uint8_t> answers;
  for (size_t block = 1; block <= ys::DataBlockCount(image.size()); ++block) {
    auto answer = Send(ys::DataBlock(image, block));
    answers.insert(answers.end(), answer.begin(), answer.end());
    if (answer == std::vector<uint8_t>{kNak}) {
      ASSERT_EQ(Send(ys::DataBlock(image, block)), std::vector<uint8_t>{kAck});
    }
  }
  EXPECT_EQ(answers, (std::vector<uint8_t>{kAck, kNak, kAck, kNak}));
  Send(std::vector<uint8_t>{kEot});
  Send(ys::Closing());
  EXPECT_EQ(m_loader->Image(), image);
}

TEST_F(BootLoaderTest, SilentAfterStopsAnsweringAfterThatManyPackets) {
  SimOptions options;
  options.silentAfter = 2;
  Start(options);
  const auto image = ys::TestImage(400);
  EXPECT_EQ(Send(ys::Header("A.hex", image.size())), std::vector<uint8_t>{kAck});
  EXPECT_EQ(Send(ys::DataBlock(image, 1)), std::vector<uint8_t>{kAck});
  EXPECT_TRUE(Send(ys::DataBlock(image, 2)).empty());
  EXPECT_TRUE(Send(std::vector<uint8_t>{kEot}).empty());
  EXPECT_TRUE(m_loader->Active());
}

TEST_F(BootLoaderTest, APacketCutShortIsRefusedAfterItStalls) {
  Start(SimOptions{});
  auto header = ys::Header("A.hex", 10);
  header.resize(60);
  EXPECT_TRUE(Send(header).empty());
  ASSERT_TRUE(m_loader->NextDeadline().has_value());
  m_now = *m_loader->NextDeadline();
  m_out.clear();
  m_loader->Tick(m_now, m_out, m_stats);
  EXPECT_EQ(m_out, std::vector<uint8_t>{kNak});
  EXPECT_EQ(Send(ys::Header("A.hex", 10)), std::vector<uint8_t>{kAck});
}

TEST_F(BootLoaderTest, WithoutKsTheUnitGoesBackToItsApplication) {
  m_loader = std::make_unique<BootLoader>(SimOptions{});
  m_loader->Reset(m_now);
  EXPECT_TRUE(m_loader->Active());
  m_loader->Tick(m_now + BootLoader::kRebootTime, m_out, m_stats);
  m_loader->Tick(m_now + BootLoader::kRebootTime + BootLoader::kWaitForStart, m_out, m_stats);
  EXPECT_FALSE(m_loader->Active());
}

}  // namespace
