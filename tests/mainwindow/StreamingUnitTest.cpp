// The window against a virtual unit that keeps streaming while the user
// changes settings, and against a unit sending 76-byte frames.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <functional>

#include "VirtualUnit.h"
#include "mainwindow/ControlMap.h"
#include "protocol/NavSample.h"
#include "tests/common/EventLoop.h"
#include "tests/common/MainWindowFixture.h"

namespace {

struct StreamingWindow {
  StreamingWindow(const QStringList& unitArgs, const char* config) : unit(unitArgs), f(config) {
    c().As<QComboBox>(1041)->setEditText(unit.Device());
    c().As<QComboBox>(1040)->setCurrentText("921600");
    Click(1008);
  }
  const ControlMap& c() const { return f.window->Controls(); }
  void Click(int id) { c().As<QPushButton>(id)->click(); }
  // Frames checked, and frames decoded for the display.
  uint64_t Passed() { return f.window->Pipeline().Counters().framesPassed; }
  uint64_t Routed() { return f.window->Pipeline().Counters().framesRouted; }
  bool Grows(const std::function<uint64_t()>& count) {
    const uint64_t before = count();
    return ProcessEventsUntil([&] { return count() > before + 20; });
  }
  VirtualUnit unit;
  MainWindowFixture f;
};

TEST(StreamingUnit, EveryReplyIsHandledInOrderWhileTheUnitStreamsAtFullRate) {
  StreamingWindow w({"--variant", "KDV1", "--baud", "921600", "--rate", "0"}, "KDV1\r\nx\r\n");
  ASSERT_EQ(w.c().Text(1008), "关闭");
  // The unit streams from the start; its frames arrive while it is set up.
  ASSERT_TRUE(w.Grows([&] { return w.Passed(); }));

  // Settings while the frames keep coming: every reply lands, in order, and
  // each before the next command is sent, as a person would work.
  QStringList expected;
  // The unit's first rate is reported as 112500, as the program always has.
  const char* const bauds[] = {"112500", "230400", "460800"};
  for (int round = 0; round < 12; ++round) {
    w.c().As<QComboBox>(1052)->setCurrentIndex(round % 3);
    w.Click(1053);
    expected << QStringLiteral("设置波特率%1成功\n").arg(bauds[round % 3]);
    ASSERT_TRUE(ProcessEventsUntil([&] { return w.f.services.MessageTexts() == expected; }))
        << w.f.services.MessageTexts().join("|").toStdString();
    w.Click(1159);
    expected << "产品的SN=TVK2024A0001\n";
    ASSERT_TRUE(ProcessEventsUntil([&] { return w.f.services.MessageTexts() == expected; }))
        << w.f.services.MessageTexts().join("|").toStdString();
  }

  // The status reply turns the road back to live frames in the middle of a
  // batch; the frames behind it go to the ring and are decoded again.
  w.c().SetText(1077, "*PA AUTO STATUS");
  w.Click(1039);
  ASSERT_TRUE(
      ProcessEventsUntil([&] { return w.f.window->Session().Mode() == ReceiveMode::Live; }));
  EXPECT_TRUE(w.Grows([&] { return w.Routed(); }));
  EXPECT_EQ(w.f.window->Pipeline().Counters().framesFailed, 0u);
}

TEST(StreamingUnit, SeventySixByteFramesAreShownLikeTheOthers) {
  StreamingWindow w({"--static", "--frame", "76", "--baud", "921600", "--rate", "200"},
                    "V3.11\r\nx\r\n");
  ASSERT_EQ(w.c().Text(1008), "关闭");
  w.Click(1060);
  ASSERT_TRUE(ProcessEventsUntil([&] {
    w.f.services.FireTicks(150);
    return w.c().Text(1010) == "1.2300°";
  }));
  EXPECT_EQ(w.c().Text(1015), "-4.5600°");
  EXPECT_EQ(w.c().Text(1018), "116.3123456°");
  NavSample shown;
  ASSERT_TRUE(w.f.window->Analyser().Snapshot(shown));
  EXPECT_EQ(shown.kind, NavSample::Kind::Frame76);
  // The display keeps following: later frames keep being decoded.
  EXPECT_TRUE(w.Grows([&] { return w.Routed(); }));
}

}  // namespace
