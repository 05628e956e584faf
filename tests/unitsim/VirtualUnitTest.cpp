#include <gtest/gtest.h>

#include <string>

#include "protocol/Crc16.h"
#include "IndependentFrameReader.h"
#include "protocol/PorotocalRtkAnalyse.h"
#include "tools/unitsim/StaticSample.h"
#include "tools/unitsim/VirtualUnit.h"

namespace {

using namespace std::chrono_literals;
using Clock = VirtualUnit::Clock;

const Clock::time_point kStart = Clock::time_point{} + 1h;

// Runs the unit's clock forward in steps, as its poll loop does.
void AdvanceTo(VirtualUnit& unit, Clock::time_point from, Clock::time_point to) {
  for (Clock::time_point t = from; t <= to; t += 1ms) unit.Advance(t);
}

std::vector<uint8_t> Take(VirtualUnit& unit) {
  std::vector<uint8_t> out = unit.Output();
  unit.ConsumeOutput(out.size());
  return out;
}

std::string TakeText(VirtualUnit& unit) {
  const auto bytes = Take(unit);
  return std::string(bytes.begin(), bytes.end());
}

void Send(VirtualUnit& unit, const std::string& text, Clock::time_point now) {
  unit.Receive(reinterpret_cast<const uint8_t*>(text.data()), text.size(), now);
}

TEST(VirtualUnitTest, FramesFollowTheOutputRate) {
  SimOptions options;
  options.rateHz = 100;
  options.baud = 921600;
  VirtualUnit unit(options, kStart);
  AdvanceTo(unit, kStart, kStart + 1s);
  IndependentFrameReader reader;
  const auto bytes = Take(unit);
  reader.Feed(bytes.data(), bytes.size());
  // Due at 0, 10, ..., 1000 ms.
  EXPECT_EQ(reader.Count(120), 101u);
  EXPECT_EQ(reader.Failures(), 0u);
  EXPECT_EQ(unit.Stats().frames120, 101u);
  EXPECT_EQ(unit.Stats().bytes, 101u * 120u);
  ASSERT_TRUE(unit.NextWakeUp().has_value());
  EXPECT_EQ(*unit.NextWakeUp(), kStart + 1010ms);
}

TEST(VirtualUnitTest, TheLineRateCapsAnOutputRateItCannotCarry) {
  SimOptions options;
  options.rateHz = 100;
  options.baud = 9600;  // 960 bytes a second: eight 120-byte frames
  VirtualUnit unit(options, kStart);
  AdvanceTo(unit, kStart, kStart + 1s);
  EXPECT_EQ(unit.Stats().frames120, 9u);  // at 0, 125, ..., 1000 ms
}

TEST(VirtualUnitTest, TheStaticFrameDecodesToItsDocumentedValues) {
  SimOptions options;
  options.staticFrame = true;
  VirtualUnit unit(options, kStart);
  unit.Advance(kStart);
  const auto bytes = Take(unit);
  ASSERT_EQ(bytes.size(), 120u);

  CPorotocalRtkAnalyse analyser;
  analyser.LoadFrame(120, bytes.data());
  ASSERT_TRUE(analyser.CheckFrame());
  analyser.DecodeFrame120();
  const NavSample expected = StaticSample::Sample();
  EXPECT_NEAR(analyser.GetGyroY(), expected.gyroY, 1e-9);
  EXPECT_NEAR(analyser.GetAccZ(), expected.accZ, 1e-9);
  EXPECT_NEAR(analyser.GetRoll(), expected.roll, 1e-9);
  EXPECT_NEAR(analyser.GetYaw(), expected.yaw, 1e-9);
  EXPECT_NEAR(analyser.GetVelN(), expected.velN, 1e-9);
  EXPECT_DOUBLE_EQ(analyser.GetLatitude(), expected.latitude);
  EXPECT_DOUBLE_EQ(analyser.GetAltitude(), expected.altitude);
  EXPECT_DOUBLE_EQ(analyser.GetGnssVelN(), expected.gnssVelN);
  EXPECT_DOUBLE_EQ(analyser.GetGnssHeading(), expected.gnssHeading);
  EXPECT_EQ(analyser.GetPosType(), 50.0);
  EXPECT_EQ(analyser.GetInitStatusText(), "初始化完成");
  EXPECT_EQ(analyser.GetOdometerText(), "里程计接入");
  EXPECT_EQ(analyser.GetFrameFormatText(), "帧格式1");
}

TEST(VirtualUnitTest, CommandsAnswerBetweenFramesAndSwitchTheStream) {
  SimOptions options;
  VirtualUnit unit(options, kStart);
  unit.Advance(kStart);
  Send(unit, "*PA AUTO FRAME3\r\n", kStart + 1ms);
  const auto bytes = Take(unit);
  ASSERT_EQ(bytes.size(), 120u + 19u);  // the frame, then the whole answer
  EXPECT_EQ(std::string(bytes.begin() + 120, bytes.end()), "*PA AUTO FRAME3 1\r\n");

  unit.Advance(kStart + 30ms);
  const auto next = Take(unit);
  ASSERT_FALSE(next.empty());
  EXPECT_EQ(next[0], 0xBA);

  Send(unit, "*PA AUTO ST", kStart + 31ms);  // a command may come in pieces
  Send(unit, "OP\r\n", kStart + 32ms);
  EXPECT_EQ(TakeText(unit), "*PA AUTO STOP 1\r\n");
  unit.Advance(kStart + 2s);
  EXPECT_TRUE(Take(unit).empty());
  EXPECT_FALSE(unit.NextWakeUp().has_value());
  EXPECT_EQ(unit.Stats().commands, 2u);
}

std::vector<uint8_t> FaultyStream(uint64_t seed) {
  SimOptions options;
  options.rateHz = 0;
  options.baud = 0;
  options.frameLimit = 30;
  options.noisePercent = 20;
  options.corruptEvery = 3;
  options.seed = seed;
  VirtualUnit unit(options, kStart);
  unit.Advance(kStart);
  return Take(unit);
}

TEST(VirtualUnitTest, NoiseAndCorruptionAreRepeatableWithASeed) {
  const auto first = FaultyStream(7);
  EXPECT_EQ(FaultyStream(7), first);
  EXPECT_NE(FaultyStream(8), first);

  // Every third frame fails its check; frames 1 and 2 of each three pass.
  size_t intact = 0, broken = 0;
  for (size_t i = 0; i + 120 <= first.size(); ++i) {
    if (first[i] != 0xAA || first[i + 1] != 0xBB) continue;
    const uint16_t crc = uint16_t(first[i + 118] << 8 | first[i + 119]);
    const bool good = Crc16Modbus(&first[i], 118) == crc;
    (good ? intact : broken)++;
    if (good) i += 119;
  }
  EXPECT_EQ(intact, 20u);
  EXPECT_GE(broken, 10u);  // noise can hold a false header as well
  EXPECT_GT(first.size(), 30u * 120u);
}

}  // namespace
