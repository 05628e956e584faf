#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/firmware/ExpectedPacket.h"
#include "tests/firmware/TestImages.h"
#include "tools/unitsim/BootLoader.h"
#include "tools/unitsim/SimOptionParser.h"

namespace {

using namespace std::chrono_literals;
using Clock = BootLoader::Clock;
using Bytes = std::vector<uint8_t>;

constexpr uint8_t kAck = 0x06, kEot = 0x04;

// A boot loader on a line of `baud`, driven with made-up times.
class PacedBootLoaderTest : public testing::Test {
 protected:
  void Make(int baud) {
    SimOptions options;
    options.loaderBaud = baud;
    m_loader = std::make_unique<BootLoader>(options);
  }
  Bytes Feed(const Bytes& bytes) {
    m_out.clear();
    m_loader->Feed(bytes.data(), bytes.size(), m_now, m_out, m_stats);
    return m_out;
  }
  Bytes TickAt(Clock::time_point at) {
    m_out.clear();
    m_loader->Tick(at, m_out, m_stats);
    return m_out;
  }
  // The line time of `bytes` at `baud`, 10 bits a byte (a whole number of
  // clock ticks a byte, as the clock can hold no less).
  static Clock::duration LineTime(size_t bytes, int baud) {
    const auto perByte =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(10.0 / baud));
    return perByte * std::ptrdiff_t(bytes);
  }

  Clock::time_point m_now = Clock::time_point{} + 1h;
  std::unique_ptr<BootLoader> m_loader;
  Bytes m_out;
  SimStats m_stats;
};

TEST_F(PacedBootLoaderTest, EachAnswerWaitsUntilThePacketCouldHaveArrived) {
  constexpr int kBaud = 9600;
  Make(kBaud);
  m_loader->Reset(m_now);
  m_now += BootLoader::kRebootTime;
  EXPECT_TRUE(TickAt(m_now).empty());  // the announcement itself takes line time
  const std::string announcement = BootLoader::kAnnouncement;
  const Bytes said = TickAt(m_now + LineTime(announcement.size(), kBaud));
  EXPECT_EQ(std::string(said.begin(), said.end()), announcement);

  m_now += 1s;
  EXPECT_TRUE(Feed({'k', 's'}).empty());
  // Two bytes in, one byte back.
  EXPECT_EQ(m_loader->NextDeadline(), m_now + LineTime(3, kBaud));
  EXPECT_TRUE(TickAt(m_now + LineTime(3, kBaud) - 1us).empty());
  EXPECT_EQ(TickAt(m_now + LineTime(3, kBaud)), Bytes{'C'});

  const Bytes image = test_images::Pattern(100);
  m_now += 1s;
  EXPECT_TRUE(Feed(expected_packet::Header("A.hex", image.size())).empty());
  EXPECT_TRUE(TickAt(m_now + LineTime(133, kBaud)).empty());
  EXPECT_EQ(TickAt(m_now + LineTime(134, kBaud)), Bytes{kAck});

  // The closing block's ACK still goes out after the image is taken, and the
  // unit stays in its boot loader until it has.
  m_now += 1s;
  Feed(expected_packet::DataBlock(image, 1));
  EXPECT_EQ(TickAt(m_now + LineTime(134, kBaud)), Bytes{kAck});
  m_now += 1s;
  Feed({kEot});
  EXPECT_EQ(TickAt(m_now + LineTime(3, kBaud)), (Bytes{kAck, 'C'}));
  m_now += 1s;
  Feed(expected_packet::Packet(0, {}));
  EXPECT_EQ(m_loader->Image(), image);
  EXPECT_TRUE(m_loader->Active());
  EXPECT_TRUE(TickAt(m_now + LineTime(133, kBaud)).empty());
  EXPECT_EQ(TickAt(m_now + LineTime(134, kBaud)), Bytes{kAck});
  EXPECT_FALSE(m_loader->Active());
}

TEST_F(PacedBootLoaderTest, WithoutALoaderBaudAnswersComeAtOnce) {
  Make(0);
  m_loader->Reset(m_now);
  m_now += BootLoader::kRebootTime;
  EXPECT_FALSE(TickAt(m_now).empty());
  EXPECT_EQ(Feed({'k', 's'}), Bytes{'C'});
  EXPECT_EQ(Feed(expected_packet::Header("A.hex", 1)), Bytes{kAck});
}

TEST(UnitSimOptionsTest, LoaderBaudAndTeeAreReadAndDocumented) {
  const char* args[] = {"tavrik-unitsim", "--loader-baud", "115200", "--tee=/tmp/sent.bin"};
  const auto parsed = SimOptionParser::Parse(4, args);
  ASSERT_EQ(parsed.outcome, SimOptionParser::Outcome::Run) << parsed.error;
  EXPECT_EQ(parsed.options.loaderBaud, 115200);
  EXPECT_EQ(parsed.options.teePath, "/tmp/sent.bin");
  for (std::vector<const char*> bad : {std::vector<const char*>{"x", "--loader-baud", "-5"},
                                       std::vector<const char*>{"x", "--tee="}}) {
    EXPECT_EQ(SimOptionParser::Parse(int(bad.size()), bad.data()).outcome,
              SimOptionParser::Outcome::Error);
  }
  const std::string help = SimOptionParser::HelpText();
  EXPECT_NE(help.find("--loader-baud"), std::string::npos);
  EXPECT_NE(help.find("--tee"), std::string::npos);
}

}  // namespace
