#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <future>
#include <mutex>

#include "protocol/HexText.h"
#include "protocol/LogReplay.h"
#include "protocol/PorotocalRtkAnalyse.h"
#include "tests/protocol/TestFrames.h"

namespace {

namespace fs = std::filesystem;

// Replays a log into a list of decoded pitches, one per frame, the way the
// router decodes them.
struct Replayed {
  std::mutex lock;
  std::vector<double> pitches;
  std::vector<size_t> lengths;
  // What a progress bar and the status line read while each frame arrives.
  std::vector<uint64_t> positions, failedSoFar;
  std::promise<LogReplay::End> end;
  CPorotocalRtkAnalyse analyser;
  LogReplay replay{[this](const uint8_t* frame, size_t length) {
    std::lock_guard guard(lock);
    positions.push_back(replay.CharactersRead());
    failedSoFar.push_back(replay.FramesFailed());
    analyser.LoadFrame(int(length), frame);
    if (!analyser.CheckFrame()) return;
    DecodeCurrentFrame(analyser);
    pitches.push_back(analyser.Decoded().pitch);
    lengths.push_back(length);
  }};

  LogReplay::End Run(const std::string& text, LogReplay::Speed speed = LogReplay::Speed::Fastest,
                     LogReplay::StopCheck stop = {}) {
    const fs::path path =
        fs::temp_directory_path() / ("tavrik-replay-" + std::to_string(::getpid()) + ".txt");
    std::ofstream(path, std::ios::binary) << text;
    auto ended = end.get_future();
    EXPECT_TRUE(replay.Start(path.string(), speed, std::move(stop),
                             [this](LogReplay::End e, uint64_t) { end.set_value(e); }));
    const LogReplay::End result = ended.get();
    fs::remove(path);
    return result;
  }
};

NavSample WithPitch(double pitch) {
  NavSample s = FullSample();
  s.pitch = pitch;
  return s;
}

std::string Hex(const std::vector<uint8_t>& bytes) {
  return ToHexText(bytes.data(), bytes.size());
}

TEST(LogReplay, EveryCheckedFrameIsReplayedTheFirstOneAndEveryKindIncluded) {
  std::vector<uint8_t> bytes;
  const auto first = BuildFrame120(WithPitch(1));
  bytes.insert(bytes.end(), first.begin() + 50, first.end());  // starts mid-frame
  Append(bytes, BuildFrame120(WithPitch(2)));
  Append(bytes, BuildFrame220(WithPitch(3)));
  Append(bytes, BuildFrame76(WithPitch(4)));
  Append(bytes, BuildFrame76(WithPitch(5)));
  Append(bytes, BuildFrame120(WithPitch(6)));
  const auto cut = BuildFrame220(WithPitch(7));
  bytes.insert(bytes.end(), cut.begin(), cut.begin() + 100);  // a cut-off last frame
  Replayed r;
  EXPECT_EQ(r.Run(Hex(bytes)), LogReplay::End::Finished);
  EXPECT_EQ(r.pitches, (std::vector<double>{2, 3, 4, 5, 6}));
  EXPECT_EQ(r.lengths, (std::vector<size_t>{120, 220, 76, 76, 120}));
  EXPECT_EQ(r.replay.FramesReplayed(), 5u);
  EXPECT_EQ(r.replay.CharactersRead(), r.replay.LogSize());
}

TEST(LogReplay, AnEmptyLogAndALogOfOneFrame) {
  Replayed empty;
  EXPECT_EQ(empty.Run(""), LogReplay::End::Finished);
  EXPECT_TRUE(empty.pitches.empty());
  Replayed one;
  std::vector<uint8_t> bytes;
  Append(bytes, BuildFrame120(WithPitch(9)));
  EXPECT_EQ(one.Run(Hex(bytes), LogReplay::Speed::X1), LogReplay::End::Finished);
  EXPECT_EQ(one.pitches, (std::vector<double>{9}));
}

TEST(LogReplay, AtFullSpeedEveryFrameOfALongLogArrives) {
  std::vector<uint8_t> bytes;
  for (int i = 0; i < 20000; ++i) Append(bytes, BuildFrame120(WithPitch(i % 90)));
  Replayed r;
  EXPECT_EQ(r.Run(Hex(bytes)), LogReplay::End::Finished);
  ASSERT_EQ(r.pitches.size(), 20000u);
  EXPECT_EQ(r.pitches.back(), 19999 % 90);
}

// A paced replay of a log far smaller than a read block still shows where
// it is and what damage it has met while the frames come in.
TEST(LogReplay, APacedReplayReportsItsPositionAndDamageAsItGoes) {
  std::vector<uint8_t> bytes;
  auto broken = BuildFrame120(WithPitch(1));
  broken[60] ^= 0xFF;  // fails its check
  Append(bytes, broken);
  for (int i = 0; i < 60; ++i) Append(bytes, BuildFrame120(WithPitch(2)));
  Replayed r;
  EXPECT_EQ(r.Run(Hex(bytes), LogReplay::Speed::X10), LogReplay::End::Finished);
  ASSERT_EQ(r.positions.size(), 60u);
  const uint64_t size = r.replay.LogSize();
  EXPECT_EQ(size, 3u * bytes.size());
  EXPECT_TRUE(std::is_sorted(r.positions.begin(), r.positions.end()));
  EXPECT_TRUE(std::any_of(r.positions.begin(), r.positions.end(),
                          [&](uint64_t p) { return p > 0 && p < size; }));
  EXPECT_GE(r.failedSoFar.back(), 1u);
  EXPECT_EQ(r.failedSoFar.back(), r.replay.FramesFailed());
  EXPECT_EQ(r.replay.CharactersRead(), size);
}

TEST(LogReplay, EndsWhenTheStopCheckSaysSoOrWhenStopped) {
  std::vector<uint8_t> bytes;
  for (int i = 0; i < 1000; ++i) Append(bytes, BuildFrame120(WithPitch(1)));
  // A port opened after the third frame.
  Replayed r;
  std::atomic<int> asked{0};
  EXPECT_EQ(r.Run(Hex(bytes), LogReplay::Speed::X10, [&] { return ++asked >= 3; }),
            LogReplay::End::Stopped);
  EXPECT_EQ(r.pitches.size(), 3u);

  // The stop button ends a paced replay at once, mid-wait.
  Replayed paced;
  const fs::path path = fs::temp_directory_path() / ("tavrik-paced-" + std::to_string(::getpid()));
  std::ofstream(path, std::ios::binary) << Hex(bytes);
  ASSERT_TRUE(paced.replay.Start(path.string(), LogReplay::Speed::X1, {}, {}));
  EXPECT_FALSE(paced.replay.Start(path.string(), LogReplay::Speed::X1, {}, {}));  // one at a time
  paced.replay.Stop();
  EXPECT_FALSE(paced.replay.Running());
  EXPECT_LT(paced.replay.FramesReplayed(), 1000u);
  fs::remove(path);
  EXPECT_FALSE(paced.replay.Start("/nonexistent/log.txt", LogReplay::Speed::X1, {}, {}));
}

}  // namespace
