#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "TestFrames.h"
#include "protocol/BigEndian.h"
#include "protocol/Crc16.h"
#include "protocol/PorotocalRtkAnalyse.h"

namespace {

// Loads a frame and checks it, as every whole-frame consumer does.
template <typename Frame>
bool LoadAndCheck(CPorotocalRtkAnalyse& a, const Frame& f) {
  a.LoadFrame(int(f.size()), f.data());
  return a.CheckFrame();
}

template <typename Frame>
void Reseal(Frame& f) {
  be::WriteU16(&f[f.size() - 2], Crc16Modbus(f.data(), f.size() - 2));
}

TEST(Crc16, MatchesTheModbusCheckValue) {
  const uint8_t text[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
  EXPECT_EQ(Crc16Modbus(text, sizeof text), 0x4B37);
  // Every length through the slicing loop and its tail agrees with the bitwise form.
  std::vector<uint8_t> data(40);
  for (size_t i = 0; i < data.size(); ++i) data[i] = uint8_t(i * 37 + 11);
  for (size_t n = 0; n <= data.size(); ++n) {
    uint16_t crc = 0xFFFF;
    for (size_t i = 0; i < n; ++i) {
      crc ^= data[i];
      for (int b = 0; b < 8; ++b)
        crc = (crc & 1) ? uint16_t((crc >> 1) ^ 0xA001) : uint16_t(crc >> 1);
    }
    EXPECT_EQ(Crc16Modbus(data.data(), n), crc) << n;
  }
}

TEST(Analyser, StartsWithItsDocumentedState) {
  CPorotocalRtkAnalyse a;
  EXPECT_EQ(a.GetFrameLength(), 90);
  EXPECT_EQ(a.GetHeaderByte(0), 0xDA);
  EXPECT_EQ(a.GetHeaderByte(1), 0x61);
  EXPECT_EQ(a.GetHeaderByte(8), 0);
  EXPECT_EQ(a.GetHeaderByte(9), 0);
  EXPECT_EQ(a.GetAuxValue(), 0.0);
  EXPECT_EQ(a.IsReady(), 1);
  EXPECT_EQ(a.GetPitch(), 0.0);
  EXPECT_EQ(a.GetOdometerText(), "");
  // Nothing recognised yet: decoding the current frame must change nothing.
  DecodeCurrentFrame(a);
  EXPECT_EQ(a.GetFrameFormatText(), "");
}

TEST(Analyser, Frame120RoundTripsEveryField) {
  CPorotocalRtkAnalyse a;
  const NavSample s = FullSample();
  auto f = BuildFrame120(s, 0xCC);
  ASSERT_TRUE(LoadAndCheck(a, f));
  EXPECT_EQ(a.GetFrameLength(), 120);
  DecodeCurrentFrame(a);
  EXPECT_NEAR(a.GetGyroX(), s.gyroX, 1e-9);
  EXPECT_NEAR(a.GetGyroY(), s.gyroY, 1e-9);
  EXPECT_NEAR(a.GetGyroZ(), s.gyroZ, 1e-9);
  EXPECT_NEAR(a.GetAccX(), s.accX, 1e-12);
  EXPECT_NEAR(a.GetAccY(), s.accY, 1e-12);
  EXPECT_NEAR(a.GetAccZ(), s.accZ, 1e-12);
  EXPECT_NEAR(a.GetPitch(), s.pitch, 1e-9);
  EXPECT_NEAR(a.GetRoll(), s.roll, 1e-9);
  EXPECT_NEAR(a.GetYaw(), s.yaw, 1e-9);
  EXPECT_NEAR(a.GetVelE(), s.velE, 1e-12);
  EXPECT_NEAR(a.GetVelN(), s.velN, 1e-12);
  EXPECT_NEAR(a.GetVelU(), s.velU, 1e-12);
  EXPECT_EQ(a.GetLongitude(), s.longitude);
  EXPECT_EQ(a.GetLatitude(), s.latitude);
  EXPECT_EQ(a.GetAltitude(), s.altitude);
  EXPECT_EQ(a.GetGnssLatitude(), s.gnssLatitude);
  EXPECT_EQ(a.GetGnssLongitude(), s.gnssLongitude);
  EXPECT_EQ(a.GetGnssAltitude(), s.gnssAltitude);
  EXPECT_EQ(a.GetGnssVelE(), s.gnssVelE);
  EXPECT_EQ(a.GetGnssVelN(), s.gnssVelN);
  EXPECT_EQ(a.GetGnssVelU(), s.gnssVelU);
  EXPECT_EQ(a.GetGnssHeading(), s.gnssHeading);
  EXPECT_EQ(a.GetPosType(), 50);
  EXPECT_EQ(a.GetHeadType(), 48);
  EXPECT_EQ(a.GetFrameFormatText(), "帧格式2");
  EXPECT_EQ(a.GetInitStatusText(), "初始化完成");
  EXPECT_EQ(a.GetCorrectionStatusText(), "千寻未工作");
  EXPECT_EQ(a.GetGnssDiffStatusText(), "GPS差分50");
  EXPECT_EQ(a.GetGnssHeadingStatusText(), "GPS未航向");
  EXPECT_EQ(a.GetOdometerText(), "里程计接入");
  // Never filled by any frame.
  EXPECT_EQ(a.GetTimeStamp(), 0);
  EXPECT_EQ(a.GetBarometer(), 0.0);
  EXPECT_EQ(a.GetSatelliteCount(), 0.0);
  EXPECT_EQ(a.GetSceneText(), "");
  EXPECT_EQ(a.GetExtraText5(), "");
}

TEST(Analyser, Frame220RoundTripsAndClearsStatusTexts) {
  CPorotocalRtkAnalyse a;
  ASSERT_TRUE(LoadAndCheck(a, BuildFrame120(FullSample())));
  DecodeCurrentFrame(a);
  NavSample s = FullSample(3);
  s.gnssHeading = 12.5;
  auto f = BuildFrame220(s);
  ASSERT_TRUE(LoadAndCheck(a, f));
  EXPECT_EQ(a.GetFrameLength(), 220);
  DecodeCurrentFrame(a);
  EXPECT_NEAR(a.GetGyroX(), s.gyroX, 1e-9);
  EXPECT_NEAR(a.GetAccZ(), s.accZ, 1e-12);
  EXPECT_NEAR(a.GetRoll(), s.roll, 1e-9);
  EXPECT_NEAR(a.GetYaw(), s.yaw, 1e-9);
  EXPECT_NEAR(a.GetVelE(), s.velE, 1e-12);
  EXPECT_EQ(a.GetLongitude(), s.longitude);
  EXPECT_EQ(a.GetAltitude(), s.altitude);
  EXPECT_EQ(a.GetGnssHeading(), 12.5);
  EXPECT_EQ(a.GetGnssVelN(), s.gnssVelN);
  EXPECT_EQ(a.GetFrameFormatText(), "帧格式3");
  EXPECT_EQ(a.GetInitStatusText(), "");
  EXPECT_EQ(a.GetCorrectionStatusText(), "");
  EXPECT_EQ(a.GetGnssDiffStatusText(), "");
  EXPECT_EQ(a.GetGnssHeadingStatusText(), "");
  EXPECT_EQ(a.GetOdometerText(), "");
}

TEST(Analyser, FieldExtremesDecodeAsTwosComplement) {
  CPorotocalRtkAnalyse a;
  auto f = BuildFrame120(NavSample{});
  f[2] = 0x80, f[3] = 0x00, f[4] = 0x00;     // gyro x minimum
  f[5] = 0x7F, f[6] = 0xFF, f[7] = 0xFF;     // gyro y maximum
  f[11] = 0x00, f[12] = 0x00, f[13] = 0x01;  // smallest acceleration step
  f[24] = 0x80, f[25] = 0x00;                // pitch minimum
  f[28] = 0xFF, f[29] = 0x9C;                // yaw: 654.36 or -1.00
  Reseal(f);
  ASSERT_TRUE(LoadAndCheck(a, f));
  DecodeCurrentFrame(a);
  EXPECT_NEAR(a.GetGyroX(), -8388.608, 1e-9);
  EXPECT_NEAR(a.GetGyroY(), 8388.607, 1e-9);
  EXPECT_NEAR(a.GetAccX(), 0.00001, 1e-15);
  EXPECT_NEAR(a.GetPitch(), -327.68, 1e-9);
  EXPECT_NEAR(a.GetYaw(), 654.36, 1e-9);

  a.SetConfigLine2("zhengfu180");
  DecodeCurrentFrame(a);
  EXPECT_NEAR(a.GetYaw(), -1.0, 1e-9);
  EXPECT_EQ(a.GetConfigLine2(), "zhengfu180");

  // A line still carrying its line end is not the signed convention.
  a.SetConfigLine2("zhengfu180\r\n");
  DecodeCurrentFrame(a);
  EXPECT_NEAR(a.GetYaw(), 654.36, 1e-9);
  a.SetConfigLine2("ZHENGFU180");
  DecodeCurrentFrame(a);
  EXPECT_NEAR(a.GetYaw(), 654.36, 1e-9);
}

TEST(Analyser, AbsentOptionalBlocksKeepTheirLastValues) {
  CPorotocalRtkAnalyse a;
  ASSERT_TRUE(LoadAndCheck(a, BuildFrame120(FullSample())));
  DecodeCurrentFrame(a);
  NavSample bare;  // every status bit and block flag clear
  bare.frameFormat = 2;
  ASSERT_TRUE(LoadAndCheck(a, BuildFrame120(bare)));
  DecodeCurrentFrame(a);
  EXPECT_EQ(a.GetGnssLatitude(), FullSample().gnssLatitude);
  EXPECT_EQ(a.GetGnssVelE(), FullSample().gnssVelE);
  EXPECT_EQ(a.GetGnssHeading(), FullSample().gnssHeading);
  EXPECT_EQ(a.GetPitch(), 0.0);                  // the always-present fields do change
  EXPECT_EQ(a.GetFrameFormatText(), "帧格式2");  // format byte 2 keeps the text
  EXPECT_EQ(a.GetInitStatusText(), "初始化中");
  EXPECT_EQ(a.GetCorrectionStatusText(), "千寻未工作");
  EXPECT_EQ(a.GetGnssDiffStatusText(), "GPS未差分");
  EXPECT_EQ(a.GetGnssHeadingStatusText(), "GPS未航向");
  EXPECT_EQ(a.GetOdometerText(), "里程计未接入");

  // The same rule holds for a Frame220's own flags.
  NavSample s220 = FullSample();
  s220.hasGnssPosition = s220.hasGnssVelocity = s220.hasGnssHeading = false;
  s220.gnssLatitude = 1.0;
  ASSERT_TRUE(LoadAndCheck(a, BuildFrame220(s220)));
  DecodeCurrentFrame(a);
  EXPECT_EQ(a.GetGnssLatitude(), FullSample().gnssLatitude);
}

TEST(Analyser, StatusTextsFollowEachFlagBit) {
  CPorotocalRtkAnalyse a;
  NavSample s;
  s.correctionWorking = s.gnssHeadingFix = true;
  s.frameFormat = 0;
  ASSERT_TRUE(LoadAndCheck(a, BuildFrame120(s)));
  DecodeCurrentFrame(a);
  EXPECT_EQ(a.GetFrameFormatText(), "帧格式1");
  EXPECT_EQ(a.GetInitStatusText(), "初始化中");
  EXPECT_EQ(a.GetCorrectionStatusText(), "千寻工作中");
  EXPECT_EQ(a.GetGnssHeadingStatusText(), "GPS航向50");
  // The status reply parks the rate text here until the next decode.
  a.SetOdometerText("200HZ");
  EXPECT_EQ(a.GetOdometerText(), "200HZ");
  DecodeCurrentFrame(a);
  EXPECT_EQ(a.GetOdometerText(), "里程计未接入");
}

TEST(Analyser, CheckFrameWantsTheCrcHighByteFirst) {
  CPorotocalRtkAnalyse a;
  auto f = BuildFrame120(FullSample());
  ASSERT_NE(f[118], f[119]);
  std::swap(f[118], f[119]);
  EXPECT_FALSE(LoadAndCheck(a, f));
  // Length and decoder follow the header even when the check then fails.
  EXPECT_EQ(a.GetFrameLength(), 120);
  auto g = BuildFrame220(FullSample());
  g[50] ^= 1;
  EXPECT_FALSE(LoadAndCheck(a, g));
  EXPECT_EQ(a.GetFrameLength(), 220);
  const uint8_t junk[4] = {0xAB, 0xBB, 0, 0};
  a.LoadFrame(4, junk);
  EXPECT_FALSE(a.CheckFrame());
  EXPECT_EQ(a.GetFrameLength(), 220);
}

TEST(Analyser, LoadFrameNeverWritesPastItsBuffer) {
  CPorotocalRtkAnalyse a;
  std::vector<uint8_t> big(1000, 0xAA);
  EXPECT_EQ(a.LoadFrame(int(big.size()), big.data()), 1);
  EXPECT_EQ(a.LoadFrame(-5, big.data()), 1);
}

TEST(Analyser, ReadersOnOtherThreadsSeeWholeValues) {
  // Run under ThreadSanitizer: a decode loop against readers of numbers and
  // texts, on the program's kind of analyser (it publishes every decode).
  CPorotocalRtkAnalyse a(CPorotocalRtkAnalyse::Publishing::ToHub);
  const auto f1 = BuildFrame120(FullSample());
  NavSample other;
  other.pitch = -10;
  const auto f2 = BuildFrame220(other);
  std::atomic<bool> done{false};
  std::thread reader([&] {
    while (!done.load()) {
      const std::string init = a.GetInitStatusText();
      EXPECT_TRUE(init.empty() || init == "初始化完成") << init;
      const double p = a.GetPitch();
      EXPECT_TRUE(p == 0 || p == -10 || std::abs(p - 12.34) < 1e-9) << p;
      const std::string format = a.GetFrameFormatText();
      EXPECT_TRUE(format.empty() || format == "帧格式2" || format == "帧格式3") << format;
    }
  });
  for (int i = 0; i < 20000; ++i) {
    LoadAndCheck(a, f1);
    DecodeCurrentFrame(a);
    LoadAndCheck(a, f2);
    DecodeCurrentFrame(a);
  }
  done.store(true);
  reader.join();
}

}  // namespace
