#include <gtest/gtest.h>

#include "TestFrames.h"
#include "protocol/PorotocalRtkAnalyse.h"

namespace {

// Feeds bytes and returns how many completed, correctly summed frames they gave.
int Feed(CPorotocalRtkAnalyse& a, const std::vector<uint8_t>& bytes) {
  int frames = 0;
  for (uint8_t b : bytes) frames += a.FeedByte(b) ? 1 : 0;
  return frames;
}

std::vector<uint8_t> Frame76(uint8_t second = 0x61, const NavSample& s = FullSample()) {
  auto f = BuildFrame76(s, second);
  return {f.begin(), f.end()};
}

TEST(FeedByte, FindsFrame76AndDecodesItWithThe120Layout) {
  CPorotocalRtkAnalyse a;
  std::vector<uint8_t> stream = {0x00, 0x13, 0x61};
  const auto frame = Frame76();
  stream.insert(stream.end(), frame.begin(), frame.end());
  EXPECT_EQ(Feed(a, stream), 1);
  EXPECT_EQ(a.GetFrameLength(), 76);
  EXPECT_EQ(a.SyncState(), 0);
  DecodeCurrentFrame(a);
  EXPECT_NEAR(a.GetPitch(), FullSample().pitch, 1e-9);
  EXPECT_EQ(a.GetLongitude(), FullSample().longitude);
}

TEST(FeedByte, ComparesOnlyTheUpperNibbleOfTheSecondByte) {
  CPorotocalRtkAnalyse a;
  EXPECT_EQ(Feed(a, Frame76(0x6F)), 1);
  EXPECT_EQ(Feed(a, {0xDA, 0x71}), 0);
  EXPECT_EQ(a.SyncState(), 0);
  EXPECT_EQ(a.BufferPosition(), 0);
}

TEST(FeedByte, LengthTurnsTo76OnTheThirdByte) {
  CPorotocalRtkAnalyse a;
  EXPECT_EQ(Feed(a, {0xDA, 0x61}), 0);
  EXPECT_EQ(a.GetFrameLength(), 90);
  EXPECT_EQ(Feed(a, {0x00}), 0);
  EXPECT_EQ(a.GetFrameLength(), 76);
  EXPECT_EQ(a.SyncState(), 3);
}

TEST(FeedByte, AWrongSumResetsTheSynchroniser) {
  CPorotocalRtkAnalyse a;
  auto frame = Frame76();
  frame[75] ^= 0xFF;
  EXPECT_EQ(Feed(a, frame), 0);
  EXPECT_EQ(a.SyncState(), 0);
  EXPECT_EQ(a.BufferPosition(), 0);
  EXPECT_EQ(Feed(a, Frame76()), 1);  // and the next good frame is found
}

TEST(FeedByte, ARejectedSecondByteCanOpenTheNextFrame) {
  CPorotocalRtkAnalyse a;
  std::vector<uint8_t> stream = {0xDA};
  const auto frame = Frame76();
  stream.insert(stream.end(), frame.begin(), frame.end());
  EXPECT_EQ(Feed(a, stream), 1);
}

TEST(FeedByte, BackToBackFramesAreAllFound) {
  CPorotocalRtkAnalyse a;
  std::vector<uint8_t> stream;
  for (int i = 0; i < 50; ++i) {
    const auto f = Frame76(uint8_t(0x60 + i % 16), FullSample(i));
    stream.insert(stream.end(), f.begin(), f.end());
  }
  EXPECT_EQ(Feed(a, stream), 50);
}

}  // namespace
