#include <gtest/gtest.h>

#include <random>

#include "TestFrames.h"
#include "protocol/FrameScanner.h"
#include "protocol/PorotocalRtkAnalyse.h"

namespace {

struct Found {
  std::vector<double> pitches;  // one per frame, in order
  std::vector<int> lengths;
};

// Scans a stream offered in pieces of the given sizes, carrying the unconsumed
// tail over as every streaming consumer does.
Found ScanInPieces(const std::vector<uint8_t>& stream, size_t piece) {
  CPorotocalRtkAnalyse a;
  FrameScanner scanner(a);
  Found found;
  auto onFrame = [&](const uint8_t*, size_t) {
    DecodeCurrentFrame(a);
    found.pitches.push_back(a.GetPitch());
    found.lengths.push_back(a.GetFrameLength());
  };
  std::vector<uint8_t> pending;
  for (size_t i = 0; i < stream.size(); i += piece) {
    const size_t n = std::min(piece, stream.size() - i);
    pending.insert(pending.end(), stream.begin() + long(i), stream.begin() + long(i + n));
    const bool atEnd = i + n == stream.size();
    const size_t used = scanner.Scan(pending.data(), pending.size(), atEnd, onFrame);
    pending.erase(pending.begin(), pending.begin() + long(used));
  }
  return found;
}

NavSample WithPitch(double pitch) {
  NavSample s = FullSample();
  s.pitch = pitch;
  return s;
}

TEST(FrameScanner, FindsEveryFrameOfAMixedNoisyStreamInAnyPieces) {
  std::mt19937 rng(7);
  std::vector<uint8_t> stream;
  std::vector<double> expected;
  for (int i = 0; i < 60; ++i) {
    AppendNoise(stream, rng() % 30, rng);
    const double pitch = i;
    if (rng() % 2) {
      Append(stream, BuildFrame120(WithPitch(pitch), rng() % 2 ? 0xBB : 0xCC));
    } else {
      Append(stream, BuildFrame220(WithPitch(pitch), rng() % 2 ? 0xBB : 0xCC));
    }
    expected.push_back(pitch);
  }
  for (size_t piece : {1, 2, 119, 120, 221, 1000, 100000}) {
    EXPECT_EQ(ScanInPieces(stream, piece).pitches, expected) << "piece " << piece;
  }
}

TEST(FrameScanner, TheFirstFrameAndEachChangeOfKindAreKept) {
  std::vector<uint8_t> stream;
  Append(stream, BuildFrame120(WithPitch(1)));
  Append(stream, BuildFrame220(WithPitch(2)));
  Append(stream, BuildFrame120(WithPitch(3)));  // must not swallow what follows
  Append(stream, BuildFrame120(WithPitch(4)));
  const Found found = ScanInPieces(stream, stream.size());
  EXPECT_EQ(found.pitches, (std::vector<double>{1, 2, 3, 4}));
  EXPECT_EQ(found.lengths, (std::vector<int>{120, 220, 120, 120}));
}

TEST(FrameScanner, ARunOfFrame76IsTakenFromItsFirstFrameInAnyPieces) {
  std::vector<uint8_t> stream;
  Append(stream, BuildFrame120(WithPitch(1)));
  for (int i = 2; i <= 6; ++i) Append(stream, BuildFrame76(WithPitch(i), uint8_t(0x60 + i)));
  Append(stream, BuildFrame220(WithPitch(7)));
  for (size_t piece : {1, 75, 76, 151, 152, 1000}) {
    const Found found = ScanInPieces(stream, piece);
    EXPECT_EQ(found.pitches, (std::vector<double>{1, 2, 3, 4, 5, 6, 7})) << "piece " << piece;
    EXPECT_EQ(found.lengths, (std::vector<int>{120, 76, 76, 76, 76, 76, 220})) << piece;
  }
}

// The 8-bit sum of a Frame76 is weak: a look-alike that noise or a damaged
// stream makes must never turn into values, only a run of them does.
TEST(FrameScanner, AFrame76OnItsOwnIsNeverTaken) {
  std::mt19937 rng(11);
  std::vector<uint8_t> stream;
  std::vector<double> expected;
  for (int i = 0; i < 40; ++i) {
    AppendNoise(stream, 1 + rng() % 20, rng);
    Append(stream, BuildFrame76(WithPitch(100 + i)));  // alone, noise on both sides
    AppendNoise(stream, 1 + rng() % 20, rng);
    Append(stream, BuildFrame120(WithPitch(i)));
    expected.push_back(i);
  }
  // A run broken by noise ends; the one frame after the break stands alone.
  Append(stream, BuildFrame76(WithPitch(200)));
  Append(stream, BuildFrame76(WithPitch(201)));
  AppendNoise(stream, 3, rng);
  Append(stream, BuildFrame76(WithPitch(202)));
  AppendNoise(stream, 3, rng);
  Append(stream, BuildFrame76(WithPitch(203)));  // a lone frame at the very end
  expected.insert(expected.end(), {200, 201});
  for (size_t piece : {1, 76, 1000, 100000}) {
    EXPECT_EQ(ScanInPieces(stream, piece).pitches, expected) << "piece " << piece;
  }
}

TEST(FrameScanner, AFalseHeaderCannotSwallowTheFrameBehindIt) {
  std::vector<uint8_t> stream = {0xBA, 0xCC, 0x01, 0x02, 0xAA, 0xBB, 0x07};
  Append(stream, BuildFrame120(WithPitch(5)));
  stream.insert(stream.end(), {0xAA, 0xCC});  // a cut-off frame at the very end
  const Found found = ScanInPieces(stream, 50);
  EXPECT_EQ(found.pitches, (std::vector<double>{5}));
}

TEST(FrameScanner, ACorruptFrameIsDroppedAndCounted) {
  CPorotocalRtkAnalyse a;
  FrameScanner scanner(a);
  std::vector<uint8_t> stream;
  auto bad = BuildFrame120(WithPitch(1));
  bad[40] ^= 0x10;
  Append(stream, bad);
  Append(stream, BuildFrame120(WithPitch(2)));
  int frames = 0;
  EXPECT_EQ(
      scanner.Scan(stream.data(), stream.size(), true, [&](const uint8_t*, size_t) { ++frames; }),
      stream.size());
  EXPECT_EQ(frames, 1);
  EXPECT_EQ(scanner.FramesPassed(), 1u);
  EXPECT_EQ(scanner.FramesFailed(), 1u);
  EXPECT_EQ(scanner.BytesSkipped(), 120u);
}

TEST(FrameScanner, WaitsForTheRestOfAnUnfinishedFrame) {
  CPorotocalRtkAnalyse a;
  FrameScanner scanner(a);
  const auto f = BuildFrame220(WithPitch(1));
  int frames = 0;
  EXPECT_EQ(scanner.Scan(f.data(), 219, false, [&](const uint8_t*, size_t) { ++frames; }), 0u);
  const uint8_t lone = 0xAA;
  EXPECT_EQ(scanner.Scan(&lone, 1, false, [&](const uint8_t*, size_t) { ++frames; }),
            0u);  // may open a frame
  EXPECT_EQ(scanner.Scan(f.data(), 220, false, [&](const uint8_t*, size_t) { ++frames; }), 220u);
  EXPECT_EQ(frames, 1);
}

}  // namespace
