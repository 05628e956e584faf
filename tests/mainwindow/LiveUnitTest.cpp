// The window against the virtual unit on a real pseudo-terminal: open the
// port, start the output and watch the values, lamps and instruments.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QPushButton>

#include "VirtualUnit.h"
#include "instruments/CMeter.h"
#include "instruments/CRoundSliderCtrl.h"
#include "instruments/LampArray.h"
#include "mainwindow/ControlMap.h"
#include "protocol/ReceivePipeline.h"
#include "tests/common/EventLoop.h"
#include "tests/common/MainWindowFixture.h"

namespace {

void Click(const ControlMap& c, int id) {
  c.As<QPushButton>(id)->click();
}

TEST(LiveUnit, StartOutputShowsTheUnitsValuesLampsAndInstruments) {
  VirtualUnit unit({"--static", "--baud", "921600", "--rate", "100"});
  ASSERT_FALSE(unit.Device().isEmpty());
  MainWindowFixture f;
  const ControlMap& c = f.window->Controls();
  c.As<QComboBox>(1041)->setEditText(unit.Device());
  c.As<QComboBox>(1040)->setCurrentText("921600");
  Click(c, 1008);
  ASSERT_EQ(c.Text(1008), "关闭") << f.services.MessageTexts().join("|").toStdString();
  Click(c, 1060);

  // The 150 ms tick lets the next frame through to the display.
  ASSERT_TRUE(ProcessEventsUntil([&] {
    f.services.FireTicks(150);
    return c.Text(1010) == "1.2300°";
  }));
  EXPECT_EQ(c.Text(1015), "-4.5600°");
  EXPECT_EQ(c.Text(1019), "123.4500°");
  EXPECT_EQ(c.Text(1014), "1.2345m/s");
  EXPECT_EQ(c.Text(1018), "116.3123456°");
  EXPECT_EQ(c.Text(1036), "45.5000m");
  EXPECT_EQ(c.Text(1044), "1.2340°/s");
  EXPECT_EQ(c.Text(1020), "0.9877g");
  EXPECT_EQ(c.Text(1030), "123.5000°");
  EXPECT_EQ(c.Text(1029), "39.9123457°");
  EXPECT_EQ(c.Text(1037), "50");
  for (int i = 0; i < 5; ++i) EXPECT_EQ(f.window->Lamps().LampState(i), 1) << i;

  f.services.FireTicks(500);
  QCoreApplication::processEvents();
  EXPECT_DOUBLE_EQ(f.window->Gauge().Value(), -4.56);
  EXPECT_DOUBLE_EQ(f.window->Gauge().Pitch(), 1.23);
  EXPECT_EQ(f.window->Dial().value(), 123);

  // Frames keep passing their check with nothing lost to the parser.
  const uint64_t before = f.window->Pipeline().Counters().framesPassed;
  ASSERT_TRUE(ProcessEventsUntil(
      [&] { return f.window->Pipeline().Counters().framesPassed > before + 50; }));
  EXPECT_EQ(f.window->Pipeline().Counters().framesFailed, 0u);
  EXPECT_EQ(f.window->Pipeline().Counters().overruns, 0u);

  // The echo shows the hex text of received chunks once "开始显示" is on.
  c.Get(1065)->setProperty("checked", true);
  ASSERT_TRUE(ProcessEventsUntil([&] { return c.Text(1073).startsWith("AA "); }));

  QDir().mkpath(TAVRIK_SCREENSHOT_DIR);
  f.window->grab().save(TAVRIK_SCREENSHOT_DIR "/main_live.png");

  // Stop, close, reopen and start again: the values flow as before.
  Click(c, 1061);
  EXPECT_EQ(f.window->Session().Mode(), ReceiveMode::Command);
  Click(c, 1008);
  EXPECT_EQ(c.Text(1008), "打开");
  Click(c, 1008);
  ASSERT_EQ(c.Text(1008), "关闭");
  Click(c, 1060);
  c.SetText(1010, "");
  ASSERT_TRUE(ProcessEventsUntil([&] {
    f.services.FireTicks(150);
    return c.Text(1010) == "1.2300°";
  }));
  Click(c, 1008);
}

TEST(LiveUnit, NoiseAndCorruptFramesNeverShowAWrongValue) {
  VirtualUnit unit(
      {"--static", "--baud", "921600", "--noise", "30", "--corrupt-every", "5", "--seed", "7"});
  ASSERT_FALSE(unit.Device().isEmpty());
  MainWindowFixture f;
  const ControlMap& c = f.window->Controls();
  c.As<QComboBox>(1041)->setEditText(unit.Device());
  c.As<QComboBox>(1040)->setCurrentText("921600");
  Click(c, 1008);
  ASSERT_EQ(c.Text(1008), "关闭");
  Click(c, 1060);
  const ReceivePipeline& r = f.window->Pipeline();
  // Every value shown, tick after tick, is the unit's; bad frames only count.
  int refreshes = 0;
  ASSERT_TRUE(ProcessEventsUntil([&] {
    f.services.FireTicks(150);
    const QString pitch = c.Text(1010);
    if (pitch == "1.2300°") ++refreshes;
    EXPECT_TRUE(pitch == "1.2300°" || pitch == "0.0000°") << pitch.toStdString();
    EXPECT_TRUE(c.Text(1018) == "116.3123456°" || c.Text(1018) == "0.0000000°");
    return refreshes > 20 && r.Counters().framesFailed > 0;
  }));
  Click(c, 1008);
}

}  // namespace
