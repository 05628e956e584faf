#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "protocol/FrameBuilder.h"
#include "protocol/PorotocalRtkAnalyse.h"
#include "protocol/SampleHub.h"

namespace {

// Every value of a sample marked with one number, so a mix of two samples
// shows in some field.
std::vector<double*> Fields(NavSample& s) {
  return {&s.gyroX,        &s.gyroY,         &s.gyroZ,        &s.accX,     &s.accY,
          &s.accZ,         &s.pitch,         &s.roll,         &s.yaw,      &s.velE,
          &s.velN,         &s.velU,          &s.longitude,    &s.latitude, &s.altitude,
          &s.gnssLatitude, &s.gnssLongitude, &s.gnssAltitude, &s.gnssVelE, &s.gnssVelN,
          &s.gnssVelU,     &s.gnssHeading,   &s.barometer,    &s.auxValue};
}

NavSample Marked(double mark) {
  NavSample s;
  for (double* f : Fields(s)) *f = mark;
  s.posType = uint8_t(mark);
  s.initialised = s.hasStatus = mark > 1;
  s.timeStamp = int64_t(mark);
  return s;
}

bool IsOneOf(NavSample s, double a, double b) {
  for (double mark : {a, b}) {
    bool all =
        s.posType == uint8_t(mark) && s.initialised == (mark > 1) && s.timeStamp == int64_t(mark);
    for (double* f : Fields(s)) all = all && *f == mark;
    if (all) return true;
  }
  return false;
}

TEST(SampleHub, AReaderNeverSeesASampleMixingTwoFrames) {
  SampleHub hub;
  constexpr uint64_t kWrites = 200000;
  std::atomic<bool> done{false};
  std::atomic<int> torn{0};
  std::atomic<uint64_t> seen{0};
  std::thread writer([&] {
    for (uint64_t i = 0; i < kWrites; ++i) hub.Publish(Marked(i % 2 ? 2.0 : 1.0));
    done.store(true);
  });
  std::vector<std::thread> readers;
  for (int r = 0; r < 2; ++r) {
    readers.emplace_back([&, r] {
      SampleHub::Cursor cursor;
      std::vector<NavSample> batch(64);
      NavSample latest;
      while (!done.load()) {
        if (r == 0) {
          if (hub.Latest(latest)) {
            if (!IsOneOf(latest, 1.0, 2.0)) ++torn;
            seen.fetch_add(1);
          }
        } else {
          const size_t n = hub.Drain(cursor, batch.data(), batch.size());
          for (size_t i = 0; i < n; ++i) {
            if (!IsOneOf(batch[i], 1.0, 2.0)) ++torn;
            // The sequence says which frame it was.
            if (batch[i].longitude != (batch[i].sequence % 2 ? 1.0 : 2.0)) ++torn;
          }
          seen.fetch_add(n);
        }
      }
    });
  }
  writer.join();
  for (auto& t : readers) t.join();
  EXPECT_EQ(torn.load(), 0);
  EXPECT_GT(seen.load(), 0u);
  EXPECT_EQ(hub.LatestSequence(), kWrites);
}

TEST(SampleHub, ASlowReaderLosesTheOldestFirstAndIsToldHowMany) {
  SampleHub hub;
  NavSample none;
  EXPECT_FALSE(hub.Latest(none));
  SampleHub::Cursor slow = hub.CursorAtEnd();
  const uint64_t total = SampleHub::kHistory + 100;
  for (uint64_t i = 1; i <= total; ++i) hub.Publish(Marked(double(i)));

  std::vector<NavSample> out(SampleHub::kHistory);
  EXPECT_EQ(hub.Drain(slow, out.data(), out.size()), SampleHub::kHistory);
  EXPECT_EQ(slow.missed, 100u);
  EXPECT_EQ(out.front().sequence, 101u);
  EXPECT_EQ(out.front().longitude, 101.0);
  EXPECT_EQ(out.back().sequence, total);
  EXPECT_EQ(hub.Drain(slow, out.data(), out.size()), 0u);

  // A reader that keeps up misses nothing, in order.
  SampleHub::Cursor prompt = hub.CursorAtEnd();
  hub.Publish(Marked(7));
  hub.Publish(Marked(8));
  ASSERT_EQ(hub.Drain(prompt, out.data(), 1), 1u);
  EXPECT_EQ(out[0].longitude, 7.0);
  ASSERT_EQ(hub.Drain(prompt, out.data(), 5), 1u);
  EXPECT_EQ(out[0].longitude, 8.0);
  EXPECT_EQ(prompt.missed, 0u);

  NavSample latest;
  ASSERT_TRUE(hub.Latest(latest));
  EXPECT_EQ(latest.longitude, 8.0);
  hub.Reset();
  EXPECT_FALSE(hub.Latest(latest));
}

// The program's analyser publishes every decode: its accessors and its
// snapshot read the latest sample, with the blocks a frame lacks carried on.
TEST(SampleHub, ThePublishingAnalyserAnswersFromTheLatestSample) {
  CPorotocalRtkAnalyse analyser(CPorotocalRtkAnalyse::Publishing::ToHub);
  NavSample s;
  s.longitude = 116.5;
  s.hasGnssPosition = true;
  s.gnssLatitude = 39.25;
  s.initialised = true;
  auto f = BuildFrame120(s);
  analyser.LoadFrame(120, f.data());
  ASSERT_TRUE(analyser.CheckFrame());
  DecodeCurrentFrame(analyser);

  s.longitude = 117.0;
  s.hasGnssPosition = false;  // this frame brings no GNSS position
  s.gnssLatitude = 0;
  auto g = BuildFrame220(s);
  analyser.LoadFrame(220, g.data());
  ASSERT_TRUE(analyser.CheckFrame());
  DecodeCurrentFrame(analyser);

  NavSample snapshot;
  ASSERT_TRUE(analyser.Snapshot(snapshot));
  EXPECT_EQ(snapshot.sequence, 2u);
  EXPECT_EQ(snapshot.kind, NavSample::Kind::Frame220);
  EXPECT_EQ(snapshot.longitude, 117.0);
  EXPECT_EQ(snapshot.gnssLatitude, 39.25);  // carried forward
  EXPECT_FALSE(snapshot.hasStatus);         // a Frame220 has no status byte
  EXPECT_EQ(analyser.GetLongitude(), 117.0);
  EXPECT_EQ(analyser.GetInitStatusText(), "");
  EXPECT_EQ(analyser.GetFrameFormatText(), "帧格式3");
  EXPECT_EQ(analyser.Samples()->LatestSequence(), 2u);

  analyser.Reset();
  EXPECT_FALSE(analyser.Snapshot(snapshot));
  EXPECT_EQ(analyser.GetLongitude(), 0.0);
}

}  // namespace
