#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <thread>

#include "instruments/CMeter.h"
#include "instruments/CRoundSliderCtrl.h"
#include "instruments/LampArray.h"
#include "mainwindow/ControlMap.h"
#include "mainwindow/DisplayPump.h"
#include "mainwindow/LiveDisplay.h"
#include "protocol/FrameBuilder.h"
#include "protocol/PorotocalRtkAnalyse.h"
#include "protocol/SampleHub.h"
#include "tests/common/MainWindowFixture.h"

namespace {

void Decode(CPorotocalAnalyse& a, const NavSample& s) {
  const auto f = BuildFrame120(s);
  a.LoadFrame(120, f.data());
  ASSERT_TRUE(a.CheckFrame());
  DecodeCurrentFrame(a);
}

TEST(LiveDisplay, WritesEveryValueWithItsFormatAndUnit) {
  MainWindowFixture f;
  const ControlMap& c = f.window->Controls();
  CPorotocalRtkAnalyse analyser;
  NavSample s;
  s.pitch = 1.5;
  s.longitude = 120.123456789;
  s.velN = -0.0001;
  s.accZ = 1.0001;
  s.gyroX = -0.012;
  s.altitude = 35.5;
  s.posType = 50;
  s.headType = 48;
  s.initialised = s.odometerConnected = true;  // flags 0x11
  Decode(analyser, s);
  f.window->Display().Show(analyser.Decoded());
  EXPECT_EQ(c.Text(1010), "1.5000°");
  EXPECT_EQ(c.Text(1018), "120.1234568°");
  EXPECT_EQ(c.Text(1042), "-0.0001m/s");
  EXPECT_EQ(c.Text(1020), "1.0001g");
  EXPECT_EQ(c.Text(1044), "-0.0120°/s");
  EXPECT_EQ(c.Text(1036), "35.5000m");
  EXPECT_EQ(c.Text(1037), "50");
  EXPECT_EQ(c.Text(1062), "48");
  EXPECT_EQ(c.Text(1033), "0");
  EXPECT_EQ(c.Text(1013), "初始化完成");
  EXPECT_EQ(c.Text(1076), "帧格式1");

  LampArray& lamps = f.window->Lamps();
  EXPECT_EQ(lamps.LampState(0), 1);
  EXPECT_EQ(lamps.LampState(1), 0);
  EXPECT_EQ(lamps.LampState(2), 0);
  EXPECT_EQ(lamps.LampState(3), 0);
  EXPECT_EQ(lamps.LampState(4), 1);

  // A Frame220 carries no status: every lamp goes dark.
  const auto f220 = BuildFrame220(s);
  analyser.LoadFrame(220, f220.data());
  ASSERT_TRUE(analyser.CheckFrame());
  DecodeCurrentFrame(analyser);
  f.window->Display().Show(analyser.Decoded());
  for (int i = 0; i < 5; ++i) EXPECT_EQ(lamps.LampState(i), 0) << i;
}

TEST(LiveDisplay, ReadingBackValidatesNumbersAndAttitudeRanges) {
  MainWindowFixture f;
  const ControlMap& c = f.window->Controls();
  f.window->Display().WriteControls();
  EXPECT_TRUE(f.window->Display().ReadControls(f.services, f.window.get()));

  c.SetText(1010, "abc");
  EXPECT_FALSE(f.window->Display().ReadControls(f.services, f.window.get()));
  EXPECT_EQ(f.services.MessageTexts().back(), "请输入一个数字。");

  c.SetText(1010, "95°");
  EXPECT_FALSE(f.window->Display().ReadControls(f.services, f.window.get()));
  EXPECT_EQ(f.services.MessageTexts().back(), "请输入一个 -90.0001 至 90.00001 之间的数字。");
  EXPECT_EQ(f.window->Display().Values().pitch, 95);  // what was read is kept

  c.SetText(1010, "12.5°");
  EXPECT_TRUE(f.window->Display().ReadControls(f.services, f.window.get()));
  EXPECT_EQ(f.window->Display().Values().pitch, 12.5);
}

TEST(LiveDisplay, RefreshesAtMostOncePerTickAndOnlyWhenEnabled) {
  MainWindowFixture f;
  DisplayPump& pump = f.window->Pump();
  CPorotocalAnalyse& a = f.window->Analyser();
  auto tick = [&] {
    f.services.FireTicks(150);
    QCoreApplication::processEvents();
  };
  NavSample s;
  s.roll = 7;
  Decode(a, s);
  tick();  // display not enabled: nothing copied
  EXPECT_EQ(f.window->Display().Values().roll, 0);
  pump.SetDisplayEnabled(true);
  tick();
  EXPECT_EQ(f.window->Display().Values().roll, 7);
  EXPECT_EQ(f.window->Controls().Text(1015), "7.0000°");
  s.roll = 8;
  Decode(a, s);
  QCoreApplication::processEvents();  // no tick since: the display keeps the first frame
  EXPECT_EQ(f.window->Display().Values().roll, 7);
  tick();
  EXPECT_EQ(f.window->Display().Values().roll, 8);
}

// A sample published on the parser's thread reaches the boxes, the lamps and
// the instruments only through the pump's calls on the GUI thread.
TEST(LiveDisplay, ValuesPublishedOnAnotherThreadReachTheWidgetsThroughThePump) {
  MainWindowFixture f;
  f.window->Pump().SetDisplayEnabled(true);
  CPorotocalAnalyse& a = f.window->Analyser();
  constexpr int kFrames = 2000;
  std::thread decoder([&] {
    for (int i = 0; i <= kFrames; ++i) {
      NavSample s;
      s.roll = i % 180;
      s.pitch = i % 60 - 30;
      s.yaw = i % 360;
      s.initialised = (i / 5) % 2 == 1;
      Decode(a, s);
    }
  });
  while (f.window->Analyser().Samples()->LatestSequence() < uint64_t(kFrames) + 1) {
    f.services.FireTicks(150);
    f.services.FireTicks(500);
    QCoreApplication::processEvents();
  }
  decoder.join();
  f.services.FireTicks(150);
  f.services.FireTicks(500);
  QCoreApplication::processEvents();
  EXPECT_EQ(f.window->Controls().Text(1015), QString::asprintf("%.4f°", double(kFrames % 180)));
  EXPECT_DOUBLE_EQ(f.window->Gauge().Value(), kFrames % 180);
  EXPECT_DOUBLE_EQ(f.window->Gauge().Pitch(), kFrames % 60 - 30);
  EXPECT_EQ(f.window->Dial().value(), kFrames % 360);
  EXPECT_EQ(f.window->Lamps().LampState(0), (kFrames / 5) % 2 == 1 ? 1 : 0);
}

TEST(LiveDisplay, InstrumentTickFollowsTheHeadingConvention) {
  MainWindowFixture f("V3.11\r\nzhengfu180");
  NavSample s;
  s.signedHeading = true;
  s.yaw = -90;
  s.roll = 20;
  s.pitch = 5;
  Decode(f.window->Analyser(), s);
  f.services.FireTicks(500);
  QCoreApplication::processEvents();
  EXPECT_DOUBLE_EQ(f.window->Gauge().Value(), 20);
  EXPECT_DOUBLE_EQ(f.window->Gauge().Pitch(), 5);
  EXPECT_EQ(f.window->Dial().value(), 90);  // signed headings show as their size
}

}  // namespace
