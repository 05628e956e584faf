#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "device/FirmwareLoader.h"
#include "tests/firmware/ExpectedPacket.h"
#include "tests/firmware/ScratchDirectory.h"
#include "tests/firmware/TestImages.h"

namespace {

using namespace std::chrono_literals;
using Kind = FirmwareLoaderAction::Kind;
using Bytes = std::vector<uint8_t>;

constexpr uint8_t kAck = 0x06, kNak = 0x15, kEot = 0x04, kC = 'C';
const std::string kAnnouncement = "\r\nboot loader, waiting in main\r\n";

Bytes Text(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

// What one entry point asked for, split by kind.
struct Asked {
  std::vector<Bytes> writes;
  std::vector<bool> purges;
  std::vector<std::string> labels;
  std::optional<bool> labelVisible;  // after the last label change
  std::optional<std::string> failure;
  bool finished = false;
  double seconds = -1;
  int progress = 0;

  explicit Asked(const FirmwareLoaderActions& actions) {
    for (const FirmwareLoaderAction& a : actions) {
      switch (a.kind) {
        case Kind::Write:
          writes.push_back(a.bytes);
          purges.push_back(a.purgeInputFirst);
          break;
        case Kind::Label:
          labels.push_back(a.text);
          labelVisible = a.labelVisible;
          break;
        case Kind::Progress:
          ++progress;
          break;
        case Kind::Finished:
          finished = true;
          seconds = a.seconds;
          break;
        case Kind::Failed:
          failure = a.text;
          break;
      }
    }
  }
  Bytes OnlyWrite() const { return writes.size() == 1 ? writes[0] : Bytes{}; }
};

class FirmwareLoaderTest : public testing::Test {
 protected:
  Asked Start(const Bytes& image, const std::string& name = "APP.hex") {
    m_image = image;
    return Asked(m_loader.Start(image, name));
  }
  Asked Feed(const Bytes& bytes) {
    FirmwareLoaderActions all;
    for (uint8_t b : bytes) {
      FirmwareLoaderActions some = m_loader.OnUpgradeByte(b);
      all.insert(all.end(), some.begin(), some.end());
    }
    return Asked(all);
  }
  Asked Feed(uint8_t byte) { return Feed(Bytes{byte}); }
  Asked Tick() { return Asked(m_loader.Tick()); }
  void Advance(FirmwareLoader::Clock::duration by) { m_now += by; }

  // Start, announcement, 'C' and the header's ACK: data block 1 is out.
  void ReachFirstBlock(const Bytes& image) {
    Start(image);
    ASSERT_EQ(Feed(Text(kAnnouncement)).OnlyWrite(), Text("ks"));
    ASSERT_EQ(Feed(kC).OnlyWrite(), expected_packet::Header("APP.hex", image.size()));
    ASSERT_EQ(Feed(kAck).OnlyWrite(), expected_packet::DataBlock(image, 1));
  }
  // ACKs the data blocks from `next` on; returns the answer to the last one's ACK.
  Asked AckDataBlocks(size_t next) {
    const size_t blocks = m_image.size() / 128 + 1;
    for (size_t block = next; block <= blocks; ++block) {
      const Asked asked = Feed(kAck);
      EXPECT_EQ(asked.OnlyWrite(), expected_packet::DataBlock(m_image, block)) << block;
    }
    return Feed(kAck);
  }

  FirmwareLoader::Clock::time_point m_now = FirmwareLoader::Clock::time_point{} + 1h;
  FirmwareLoader m_loader{[this] { return m_now; }};
  Bytes m_image;
};

TEST_F(FirmwareLoaderTest, A300ByteImageGoesOutBlockByBlockWithTheLabelsInOrder) {
  const Bytes image = test_images::Pattern(300);
  std::vector<std::string> labels;
  auto note = [&labels](const Asked& asked) {
    labels.insert(labels.end(), asked.labels.begin(), asked.labels.end());
    for (bool purge : asked.purges) EXPECT_FALSE(purge);  // boot-loader writes keep the input
    return asked;
  };

  const Asked start = Start(image);
  EXPECT_EQ(start.writes, std::vector<Bytes>{Text("reset!")});
  EXPECT_EQ(start.purges, std::vector<bool>{true});
  EXPECT_EQ(start.labelVisible, true);
  labels = start.labels;
  EXPECT_TRUE(note(Feed(Text("\r\nboot loader, waiting in mai"))).writes.empty());
  EXPECT_EQ(note(Feed('n')).OnlyWrite(), Text("ks"));
  EXPECT_TRUE(note(Feed(Text("\r\n"))).writes.empty());
  EXPECT_EQ(note(Feed(kC)).OnlyWrite(), expected_packet::Header("APP.hex", 300));

  EXPECT_EQ(note(Feed(kAck)).OnlyWrite(), expected_packet::DataBlock(image, 1));
  EXPECT_EQ(note(Feed(kAck)).OnlyWrite(), expected_packet::DataBlock(image, 2));
  const Asked last = note(Feed(kAck));
  Bytes third(image.begin() + 256, image.end());
  third.resize(128, 0);  // 44 data bytes, 84 zeros
  EXPECT_EQ(last.OnlyWrite(), expected_packet::Packet(3, third));
  EXPECT_EQ(last.labelVisible, false);

  EXPECT_EQ(note(Feed(kAck)).OnlyWrite(), Bytes{kEot});
  EXPECT_TRUE(note(Feed(kAck)).writes.empty());
  Advance(250ms);
  EXPECT_DOUBLE_EQ(m_loader.Progress().elapsedSeconds, 0.25);
  // The unit asking for the next file after our EOT has closed this one.
  const Asked closing = note(Feed(kC));
  EXPECT_EQ(closing.OnlyWrite(), expected_packet::Packet(0, {}));
  EXPECT_TRUE(closing.finished);
  EXPECT_DOUBLE_EQ(closing.seconds, 0.25);
  EXPECT_FALSE(m_loader.Running());

  EXPECT_EQ(labels, (std::vector<std::string>{"准备开始下载！", "准备下载", "正在擦除FLASH!",
                                              "正在下载...", "正在下载.", "下载完成！"}));
}

TEST_F(FirmwareLoaderTest, AnImageOfWholeBlocksEndsWithABlockOfZeros) {
  const Bytes image = test_images::Pattern(256);
  ReachFirstBlock(image);
  EXPECT_EQ(Feed(kAck).OnlyWrite(), expected_packet::DataBlock(image, 2));
  EXPECT_EQ(Feed(kAck).OnlyWrite(), expected_packet::Packet(3, {}));
  EXPECT_EQ(Feed(kAck).OnlyWrite(), Bytes{kEot});

  Start({});
  Feed(Text(kAnnouncement));
  EXPECT_EQ(Feed(kC).OnlyWrite(), expected_packet::Header("APP.hex", 0));
  EXPECT_EQ(Feed(kAck).OnlyWrite(), expected_packet::Packet(1, {}));
  EXPECT_EQ(Feed(kAck).OnlyWrite(), Bytes{kEot});
}

TEST_F(FirmwareLoaderTest, Block256IsNumberedZeroAndTheProgressCountsUp) {
  const Bytes image = test_images::Pattern(256 * 128 + 10);
  ReachFirstBlock(image);
  for (uint32_t block = 2; block <= 256; ++block) {
    const Asked asked = Feed(kAck);
    ASSERT_EQ(asked.writes.size(), 1u);
    EXPECT_EQ(asked.progress, 1);
    EXPECT_EQ(asked.labels, std::vector<std::string>{block % 2 ? "正在下载..." : "正在下载."});
    if (block == 256) {
      EXPECT_EQ(asked.writes[0][1], 0x00);
      EXPECT_EQ(asked.writes[0][2], 0xFF);
    }
  }
  const FirmwareProgress progress = m_loader.Progress();
  EXPECT_EQ(progress.name, "APP.hex");
  EXPECT_EQ(progress.imageBytes, image.size());
  EXPECT_EQ(progress.blocksTotal, 257u);
  EXPECT_EQ(progress.blocksConfirmed, 255u);
  EXPECT_EQ(progress.bytesConfirmed, 255u * 128);
  EXPECT_EQ(progress.Percent(), 99);
  EXPECT_EQ(Feed(kAck).OnlyWrite(), expected_packet::DataBlock(image, 257));
  Feed(kAck);
  EXPECT_EQ(m_loader.Progress().bytesConfirmed, image.size());
  EXPECT_EQ(m_loader.Progress().Percent(), 100);
}

TEST_F(FirmwareLoaderTest, OnlyMainSpelledOutAnswersWithKs) {
  Start(test_images::Pattern(10));
  EXPECT_TRUE(Feed(Text("maxin")).writes.empty());
  EXPECT_TRUE(Feed(Text("mai-n ma in")).writes.empty());
  EXPECT_TRUE(Feed(kC).writes.empty());  // no 'C' counts before the announcement
  const Asked asked = Feed(Text("mmain"));
  EXPECT_EQ(asked.OnlyWrite(), Text("ks"));
  EXPECT_EQ(asked.labels, std::vector<std::string>{"准备下载"});
}

TEST_F(FirmwareLoaderTest, ACBeforeAnyTransferIsNeverAnsweredOrReportedDone) {
  for (uint8_t b : {kC, kAck, kNak, kEot}) EXPECT_TRUE(Feed(b).writes.empty());
  EXPECT_FALSE(m_loader.Running());

  // Nor does a 'C' during the data blocks close the batch early.
  const Bytes image = test_images::Pattern(1000);
  ReachFirstBlock(image);
  EXPECT_EQ(Feed(kAck).OnlyWrite(), expected_packet::DataBlock(image, 2));
  const Asked early = Feed(kC);
  EXPECT_TRUE(early.writes.empty());
  EXPECT_FALSE(early.finished);
  EXPECT_EQ(Feed(kAck).OnlyWrite(), expected_packet::DataBlock(image, 3));

  // After a finished upgrade the loader is idle again.
  EXPECT_EQ(AckDataBlocks(4).OnlyWrite(), Bytes{kEot});
  Feed(kAck);
  ASSERT_TRUE(Feed(kC).finished);
  EXPECT_TRUE(Feed(kC).writes.empty());
}

TEST_F(FirmwareLoaderTest, RefusedPacketsAndARefusedEotAreSentAgain) {
  const Bytes image = test_images::Pattern(200);
  ReachFirstBlock(image);
  const Asked again = Feed(kNak);
  EXPECT_EQ(again.OnlyWrite(), expected_packet::DataBlock(image, 1));
  EXPECT_EQ(again.labels, std::vector<std::string>{"..."});
  EXPECT_EQ(Feed(kAck).OnlyWrite(), expected_packet::DataBlock(image, 2));  // the last block
  EXPECT_EQ(Feed(kNak).OnlyWrite(), expected_packet::DataBlock(image, 2));
  EXPECT_EQ(Feed(kAck).OnlyWrite(), Bytes{kEot});
  EXPECT_EQ(Feed(kNak).OnlyWrite(), Bytes{kEot});
  EXPECT_TRUE(Feed(kAck).writes.empty());
  const Asked closing = Feed(kC);
  EXPECT_EQ(closing.OnlyWrite(), expected_packet::Packet(0, {}));
  EXPECT_TRUE(closing.finished);
  EXPECT_TRUE(Feed(kNak).writes.empty());
}

TEST_F(FirmwareLoaderTest, TenRefusalsInARowAreRetriedAndTheEleventhEndsTheUpgrade) {
  const Bytes image = test_images::Pattern(600);
  ReachFirstBlock(image);
  for (int i = 0; i < 10; ++i) ASSERT_EQ(Feed(kNak).writes.size(), 1u) << i;
  EXPECT_EQ(Feed(kAck).OnlyWrite(), expected_packet::DataBlock(image, 2));
  for (int i = 0; i < 10; ++i) ASSERT_EQ(Feed(kNak).writes.size(), 1u) << i;
  const Asked failed = Feed(kNak);
  EXPECT_TRUE(failed.writes.empty());
  EXPECT_EQ(failed.failure, "升级失败：数据块2多次校验失败\n");
  EXPECT_EQ(failed.labelVisible, false);
  EXPECT_FALSE(m_loader.Running());
  EXPECT_TRUE(Feed(kAck).writes.empty());

  Start(image);
  Feed(Text(kAnnouncement));
  Feed(kC);
  for (int i = 0; i < 10; ++i) Feed(kNak);
  EXPECT_EQ(Feed(kNak).failure, "升级失败：数据块0多次校验失败\n");
}

TEST_F(FirmwareLoaderTest, EachStageGivesUpAfterItsTimeWithItsOwnText) {
  const Bytes image = test_images::Pattern(300);
  struct Stage {
    Bytes answers;
    FirmwareLoader::Clock::duration patience;
    std::string failure;
  };
  // The unit's answers up to each stage; the loader then waits in vain.
  const Bytes announced = Text(kAnnouncement);
  const auto upTo = [&](Bytes answers) {
    Bytes all = announced;
    all.insert(all.end(), answers.begin(), answers.end());
    return all;
  };
  const std::vector<Stage> stages{
      {Bytes{}, 10s, "升级失败：等待升级程序应答超时\n"},
      {announced, 10s, "升级失败：等待升级程序应答超时\n"},
      {upTo({kC}), 5s, "升级失败：等待数据块0应答超时\n"},
      {upTo({kC, kAck, kAck, kAck}), 5s, "升级失败：等待数据块3应答超时\n"},
      {upTo({kC, kAck, kAck, kAck, kAck}), 5s, "升级失败：等待结束应答超时\n"},
      {upTo({kC, kAck, kAck, kAck, kAck, kAck}), 5s, "升级失败：等待结束应答超时\n"},
  };
  for (const Stage& stage : stages) {
    Start(image);
    Feed(stage.answers);
    ASSERT_TRUE(m_loader.Running()) << stage.failure;
    ASSERT_EQ(m_loader.NextDeadline(), m_now + stage.patience) << stage.failure;
    Advance(stage.patience - 1ms);
    EXPECT_FALSE(Tick().failure.has_value()) << stage.failure;
    Advance(1ms);
    const Asked failed = Tick();
    EXPECT_EQ(failed.failure, stage.failure);
    EXPECT_FALSE(m_loader.Running());
    EXPECT_TRUE(Feed(kC).writes.empty());
  }
}

TEST_F(FirmwareLoaderTest, EveryAnswerGivesTheNextBlockItsFullTime) {
  const Bytes image = test_images::Pattern(1000);
  ReachFirstBlock(image);
  for (int i = 0; i < 4; ++i) {
    Advance(4s);
    EXPECT_FALSE(Tick().failure.has_value());
    Feed(i % 2 ? kAck : kNak);
  }
  EXPECT_EQ(m_loader.CurrentBlock(), 3u);
}

TEST_F(FirmwareLoaderTest, ASecondUpgradeRunsLikeTheFirst) {
  const Bytes image = test_images::Pattern(300);
  std::vector<std::vector<Bytes>> runs;
  for (int run = 0; run < 2; ++run) {
    std::vector<Bytes> writes = Start(image).writes;
    for (const Bytes& answer : {Text(kAnnouncement), Bytes{kC}, Bytes{kAck}, Bytes{kAck},
                                Bytes{kAck}, Bytes{kAck}, Bytes{kAck}, Bytes{kC}}) {
      const Asked asked = Feed(answer);
      writes.insert(writes.end(), asked.writes.begin(), asked.writes.end());
      if (asked.finished) writes.push_back(Text("finished"));
    }
    runs.push_back(writes);
  }
  EXPECT_EQ(runs[0].size(), 9u);
  EXPECT_EQ(runs[0], runs[1]);

  // And after a failure half-way, too.
  ReachFirstBlock(image);
  Feed(kAck);
  Advance(5s);
  ASSERT_TRUE(Tick().failure.has_value());
  ReachFirstBlock(image);
  EXPECT_EQ(m_loader.Progress().blocksConfirmed, 0u);
}

TEST_F(FirmwareLoaderTest, ALostPortEndsARunningUpgrade) {
  EXPECT_FALSE(Asked(m_loader.PortLost()).failure.has_value());
  ReachFirstBlock(test_images::Pattern(3000));
  const Asked lost = Asked(m_loader.PortLost());
  EXPECT_EQ(lost.failure, "升级失败：串口已断开\n");
  EXPECT_EQ(lost.labelVisible, false);
  EXPECT_FALSE(m_loader.Running());
  EXPECT_FALSE(m_loader.NextDeadline().has_value());
  EXPECT_FALSE(Tick().failure.has_value());
}

TEST_F(FirmwareLoaderTest, AUnitThatAnnouncesItselfAgainGetsTheImageFromTheStart) {
  const Bytes image = test_images::Pattern(1000);
  ReachFirstBlock(image);
  Feed(kAck);
  Feed(kAck);
  EXPECT_EQ(m_loader.Progress().blocksConfirmed, 2u);
  EXPECT_EQ(Feed(Text(kAnnouncement)).OnlyWrite(), Text("ks"));
  EXPECT_EQ(m_loader.Progress().blocksConfirmed, 0u);
  EXPECT_EQ(Feed(kC).OnlyWrite(), expected_packet::Header("APP.hex", 1000));
  EXPECT_EQ(Feed(kAck).OnlyWrite(), expected_packet::DataBlock(image, 1));
}

TEST_F(FirmwareLoaderTest, ACAfterTheHeaderResendsBlockOneUnlessItIsAnswered) {
  const Bytes image = test_images::Pattern(1000);
  ReachFirstBlock(image);
  EXPECT_TRUE(Feed(kC).writes.empty());
  EXPECT_EQ(m_loader.NextDeadline(), m_now + FirmwareLoader::kFirstBlockResend);
  Advance(FirmwareLoader::kFirstBlockResend);
  EXPECT_EQ(Tick().OnlyWrite(), expected_packet::DataBlock(image, 1));
  EXPECT_TRUE(Tick().writes.empty());
  EXPECT_EQ(Feed(kAck).OnlyWrite(), expected_packet::DataBlock(image, 2));

  ReachFirstBlock(image);
  Feed(kC);
  Advance(100ms);
  EXPECT_EQ(Feed(kAck).OnlyWrite(), expected_packet::DataBlock(image, 2));
  Advance(FirmwareLoader::kFirstBlockResend);
  EXPECT_TRUE(Tick().writes.empty());  // answered in time: block 1 is not sent twice
}

TEST_F(FirmwareLoaderTest, TheImageFileIsReadAtTheStartOrNothingStarts) {
  ScratchDirectory dir;
  EXPECT_FALSE(m_loader.StartFromFile(dir / "test.bin", "APP.hex").has_value());
  EXPECT_FALSE(m_loader.Running());

  const Bytes image = test_images::Pattern(700);
  {
    std::ofstream file(dir / "test.bin", std::ios::binary);
    file.write(reinterpret_cast<const char*>(image.data()), std::streamsize(image.size()));
  }
  const auto started = m_loader.StartFromFile(dir / "test.bin", "名字很长的固件文件第二版.hex");
  ASSERT_TRUE(started.has_value());
  EXPECT_EQ(Asked(*started).writes, std::vector<Bytes>{Text("reset!")});
  Feed(Text(kAnnouncement));
  EXPECT_EQ(Feed(kC).OnlyWrite(), expected_packet::Header("名字很长的固", 700));
}

}  // namespace
