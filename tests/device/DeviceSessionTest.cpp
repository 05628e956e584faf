#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/DeviceLink.h"
#include "device/DeviceSession.h"
#include "device/DeviceWindow.h"
#include "protocol/PorotocalRtkAnalyse.h"
#include "protocol/ReceiveModeSwitch.h"

namespace {

// The line: what was written, with the mode in force when it was queued.
class FakeLink : public DeviceLink {
 public:
  struct Written {
    std::string bytes;
    bool purge;
    ReceiveMode modeAtWrite;
  };
  explicit FakeLink(const ReceiveModeSwitch& mode) : m_mode(mode) {}
  bool IsOpen() const override { return open; }
  bool Write(const uint8_t* bytes, size_t count, bool purgeInputFirst) override {
    writes.push_back(
        {std::string(reinterpret_cast<const char*>(bytes), count), purgeInputFirst, m_mode.Get()});
    return open;
  }
  bool open = true;
  std::vector<Written> writes;

 private:
  const ReceiveModeSwitch& m_mode;
};

class FakeWindow : public DeviceWindow {
 public:
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  void EnableControl(int, bool) override {}
  void SetSceneLabel(const std::string& text) override { label = text; }
  void SetOdometerValueTexts(const OdometerValueTexts& texts) override { values = texts; }
  void EchoHandledByte(uint8_t byte) override { echoed += char(byte); }
  std::vector<std::string> messages;
  std::string label, echoed;
  OdometerValueTexts values;
};

struct Session {
  explicit Session(const char* variant = "V3.11") { session.SetProfile(DeviceProfile(variant)); }
  size_t Feed(const std::string& bytes) {
    return session.OnSerialBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  }
  ReceiveModeSwitch mode;
  FakeLink link{mode};
  FakeWindow window;
  CPorotocalRtkAnalyse analyser;
  DeviceSession session{mode, link, window, analyser};
};

TEST(DeviceSession, CommandsSwitchTheModeBeforeTheLineLeavesAndPurgeFirst) {
  Session s;
  EXPECT_TRUE(s.session.SendDeviceCommand("*PA AUTO SN?", ReceiveMode::Command));
  ASSERT_EQ(s.link.writes.size(), 1u);
  EXPECT_EQ(s.link.writes[0].bytes, "*PA AUTO SN?\r\n");
  EXPECT_TRUE(s.link.writes[0].purge);
  EXPECT_EQ(s.link.writes[0].modeAtWrite, ReceiveMode::Command);

  // The odometer dialog's lines and the Send box are commands to the unit too.
  s.session.QueueWrite("*PA AUTO ODO RAD_LTC\r\n");
  const uint8_t raw[] = {0xAA, 0x55};
  EXPECT_TRUE(s.session.SendBytes(raw, 2));
  EXPECT_TRUE(s.link.writes[1].purge);
  EXPECT_TRUE(s.link.writes[2].purge);
  EXPECT_EQ(s.session.Mode(), ReceiveMode::Command);  // the Send box keeps the mode

  s.link.open = false;
  EXPECT_FALSE(s.session.SendDeviceCommand("*PA AUTO START", ReceiveMode::Live));
  EXPECT_FALSE(s.session.SendBytes(raw, 2));
  EXPECT_EQ(s.window.messages, (std::vector<std::string>{"先打开串口在进行其他操作！！",
                                                         "先打开串口在进行其他操作！！"}));
  EXPECT_EQ(s.session.Mode(), ReceiveMode::Command);  // a refused command changes nothing
  EXPECT_EQ(s.link.writes.size(), 3u);
}

TEST(DeviceSession, EveryModeChangeTheWindowsAskForGoesThroughIt) {
  Session s;
  const std::pair<void (DeviceSession::*)(), ReceiveMode> steps[] = {
      {&DeviceSession::EnterUpgradeMode, ReceiveMode::Upgrade},
      {&DeviceSession::OnPortOpened, ReceiveMode::Idle},
      {&DeviceSession::EnterSensorCurve, ReceiveMode::SensorCurve},
      {&DeviceSession::EnterLive, ReceiveMode::Live},
      {&DeviceSession::EnterEnvCurve, ReceiveMode::EnvCurve},
      {&DeviceSession::EnterIdle, ReceiveMode::Idle},
  };
  for (const auto& [step, mode] : steps) {
    (s.session.*step)();
    EXPECT_EQ(s.mode.Get(), mode);
  }
  // The odometer dialog asks for the reply road when it opens.
  s.session.SetReceiveMode(ReceiveMode::Command);
  EXPECT_EQ(s.mode.Get(), ReceiveMode::Command);
}

TEST(DeviceSession, AReplyThatReturnsToLiveFramesLeavesTheRestOfTheBatch) {
  Session s("KDV1");
  s.session.SetReceiveMode(ReceiveMode::Command);
  const std::string status = "*PA AUTO STATUS 36 1\r\n";
  const std::string frames = "\xAA\xBB\x01\x02";
  EXPECT_EQ(s.Feed(status + frames), status.size());
  EXPECT_EQ(s.session.Mode(), ReceiveMode::Live);
  EXPECT_EQ(s.analyser.GetOdometerText(), "600HZ");
  EXPECT_EQ(s.window.echoed, status);  // only what the reply road took
  // In a bulk mode the session takes nothing.
  EXPECT_EQ(s.Feed(frames), 0u);
}

TEST(DeviceSession, UpgradeBytesReachTheLoaderUntilItEndsTheUpgrade) {
  Session s;
  std::string loader;
  s.session.SetUpgradeHandler([&](uint8_t byte) {
    loader += char(byte);
    if (byte == 'C') s.session.EnterIdle();
  });
  s.session.EnterUpgradeMode();
  EXPECT_EQ(s.Feed("\x06\x06"
                   "Cxyz"),
            3u);
  EXPECT_EQ(loader,
            "\x06\x06"
            "C");
  EXPECT_EQ(s.session.Mode(), ReceiveMode::Idle);
}

TEST(DeviceSession, RepliesAreReportedInOrderWithinOneBatch) {
  Session s;
  s.session.SetReceiveMode(ReceiveMode::Command);
  const std::string replies = "*PA AUTO BAUD 2 1\r\n*PA AUTO SCENES 3 1\r\n*PA AUTO SN=TVK1\r\n";
  EXPECT_EQ(s.Feed(replies), replies.size());
  ASSERT_EQ(s.window.messages.size(), 3u);
  EXPECT_EQ(s.window.messages[0], "设置波特率230400成功\n");
  EXPECT_EQ(s.window.label, "船载");
  EXPECT_EQ(s.window.messages[2], "产品的SN=TVK1\n");
}

}  // namespace
