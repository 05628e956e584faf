#include <gtest/gtest.h>

#include <random>
#include <thread>

#include "TestFrames.h"
#include "TestModeSwitch.h"
#include "protocol/ChunkReceiver.h"
#include "protocol/FrameRouter.h"
#include "protocol/HexText.h"
#include "protocol/PorotocalRtkAnalyse.h"
#include "protocol/RingParser.h"
#include "protocol/SampleHub.h"

namespace {

struct Fixture {
  CPorotocalRtkAnalyse analyser{CPorotocalRtkAnalyse::Publishing::ToHub};
  ReceiveRing ring;
  TestModeSwitch mode{ReceiveMode::Live};
  FrameRouter router{analyser, mode};
  RingParser parser{ring, router};
  SampleHub::Cursor cursor;

  void Write(const std::vector<uint8_t>& bytes) {
    for (size_t i = 0; i < bytes.size(); i += 1000) {
      ring.Write(bytes.data() + i, std::min<size_t>(1000, bytes.size() - i));
    }
  }
  // The longitude of every decoded frame marks it.
  std::vector<double> Decoded() {
    std::vector<double> longitudes;
    NavSample s;
    while (analyser.Samples()->Drain(cursor, &s, 1) == 1) longitudes.push_back(s.longitude);
    return longitudes;
  }
};

std::vector<uint8_t> Frames120(int count, int firstMark = 0) {
  std::vector<uint8_t> out;
  for (int i = 0; i < count; ++i) {
    NavSample s = FullSample();
    s.longitude = firstMark + i;
    Append(out, BuildFrame120(s));
  }
  return out;
}

TEST(ReceiveRing, SplitsAChunkAtTheEndAndMirrorsTheStart) {
  ReceiveRing ring;
  std::vector<uint8_t> fill(ReceiveRing::kSize - 10, 0x11);
  ring.Write(fill.data(), fill.size());
  std::vector<uint8_t> chunk(30);
  for (size_t i = 0; i < chunk.size(); ++i) chunk[i] = uint8_t(i);
  const auto pieces = ring.Write(chunk.data(), chunk.size());
  EXPECT_EQ(pieces.firstLength, 10u);
  EXPECT_EQ(pieces.restLength, 20u);
  EXPECT_EQ(ToHexText(pieces.first, pieces.firstLength) + ToHexText(pieces.rest, pieces.restLength),
            ToHexText(chunk.data(), chunk.size()));
  EXPECT_EQ(ring.WriteIndex(), 20u);
  EXPECT_EQ(*ring.At(ReceiveRing::kSize + 5), 15);  // the mirror
}

TEST(ReceiveRing, AChunkThatExactlyFillsTheRingLeavesTheNextAtIndexZero) {
  ReceiveRing ring;
  std::vector<uint8_t> fill(ReceiveRing::kSize, 0x22);
  ring.Write(fill.data(), 1000);
  ring.Write(fill.data(), ReceiveRing::kSize - 1000);
  EXPECT_EQ(ring.WriteIndex(), ReceiveRing::kSize);
  const uint8_t next[3] = {1, 2, 3};
  const auto pieces = ring.Write(next, 3);
  EXPECT_EQ(pieces.firstLength, 0u);
  EXPECT_EQ(pieces.rest, ring.At(0));
  EXPECT_EQ(ring.WriteIndex(), 3u);
}

TEST(ChunkReceiver, GivesTheSameTextForASplitChunkAndWakesTheParser) {
  Fixture f;
  ChunkReceiver receiver(f.ring);
  std::vector<uint8_t> fill(ReceiveRing::kSize - 1, 0x00);
  receiver.Accept(fill.data(), fill.size());
  EXPECT_TRUE(f.ring.WaitForData());
  const uint8_t chunk[3] = {0xAA, 0xCC, 0x01};
  const auto accepted = receiver.Accept(chunk, 3);
  EXPECT_TRUE(accepted.split);
  EXPECT_EQ(accepted.hexText, "AA CC 01 ");
  EXPECT_TRUE(f.ring.WaitForData());
}

TEST(RingParser, HandlesAFrameAsSoonAsItIsComplete) {
  Fixture f;
  f.Write(Frames120(1, 7));
  f.parser.ParseAvailable();
  EXPECT_EQ(f.Decoded(), (std::vector<double>{7}));
}

TEST(RingParser, AFrameAcrossTheRingsEndIsDecoded) {
  Fixture f;
  f.mode = ReceiveMode::Idle;
  std::vector<uint8_t> lead(ReceiveRing::kSize - 50, 0x00);
  f.Write(lead);
  f.parser.ParseAvailable();
  f.mode = ReceiveMode::Live;
  f.Write(Frames120(3, 1));
  f.parser.ParseAvailable();
  EXPECT_EQ(f.Decoded(), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(f.parser.BytesSkipped(), lead.size());
}

TEST(RingParser, ModesDecideWhereCheckedFramesGo) {
  Fixture f;
  f.mode = ReceiveMode::EnvCurve;
  f.Write(Frames120(2));
  f.parser.ParseAvailable();
  f.mode = ReceiveMode::Idle;
  f.Write(Frames120(2));
  f.parser.ParseAvailable();
  EXPECT_TRUE(f.Decoded().empty());
  EXPECT_EQ(f.analyser.GetLongitude(), 0.0);  // checked but never decoded
  EXPECT_EQ(f.router.FramesUnhandled(), 4u);  // but counted
  f.mode = ReceiveMode::SensorCurve;
  f.Write(Frames120(3, 5));
  f.parser.ParseAvailable();
  EXPECT_EQ(f.Decoded(), (std::vector<double>{5, 6, 7}));
  EXPECT_EQ(f.router.FramesRouted(), 3u);
  EXPECT_EQ(f.parser.FramesPassed(), 7u);
}

TEST(RingParser, RecoversWhenTheWriterLapsIt) {
  Fixture f;
  // Three rings' worth arrive before the parser runs once.
  const auto frames = Frames120(3 * int(ReceiveRing::kSize / 120));
  f.Write(frames);
  f.parser.ParseAvailable();
  EXPECT_EQ(f.parser.Overruns(), 1u);
  // What it still delivered is the newest data, intact and in order.
  const std::vector<double> live = f.Decoded();
  ASSERT_FALSE(live.empty());
  EXPECT_EQ(live.back(), 3 * int(ReceiveRing::kSize / 120) - 1);
  for (size_t i = 1; i < live.size(); ++i) EXPECT_EQ(live[i], live[i - 1] + 1);
  f.Write(Frames120(1, 99999));
  f.parser.ParseAvailable();
  EXPECT_EQ(f.Decoded(), (std::vector<double>{99999}));
}

TEST(RingParser, ThreadDeliversEveryFrameOfAConcurrentWriter) {
  Fixture f;
  ASSERT_TRUE(f.parser.Start());
  std::mt19937 rng(3);
  std::vector<uint8_t> stream;
  const int kFrames = 3000;
  for (int i = 0; i < kFrames; ++i) {
    AppendNoise(stream, rng() % 8, rng);
    NavSample s = FullSample();
    s.longitude = i;
    if (i % 3) {
      Append(stream, BuildFrame120(s));
    } else {
      Append(stream, BuildFrame220(s));
    }
  }
  for (size_t i = 0; i < stream.size();) {
    const size_t n = std::min<size_t>(1 + rng() % 1000, stream.size() - i);
    f.ring.Write(stream.data() + i, n);
    f.ring.SetDataEvent();
    i += n;
    // Like a serial line, never get a whole ring ahead of the parser.
    while (f.ring.TotalWritten() - f.parser.BytesConsumed() > ReceiveRing::kSize / 2) {
      std::this_thread::yield();
    }
  }
  for (int i = 0; i < 2000 && f.parser.FramesPassed() < kFrames; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  f.parser.Stop();
  EXPECT_EQ(f.parser.FramesPassed(), uint64_t(kFrames));
  EXPECT_EQ(f.parser.Overruns(), 0u);
  const std::vector<double> live = f.Decoded();
  ASSERT_EQ(live.size(), size_t(kFrames));
  for (int i = 0; i < kFrames; ++i) EXPECT_EQ(live[size_t(i)], i);
}

}  // namespace
