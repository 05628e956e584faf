#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "device/DeviceLink.h"
#include "device/DeviceSession.h"
#include "device/DeviceWindow.h"
#include "device/UpgradeWindow.h"
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

class FakeUpgradeWindow : public UpgradeWindow {
 public:
  void SetUpgradeLabel(const std::string& text, bool) override { labels.push_back(text); }
  void ShowUpgradeProgress(const FirmwareProgress& p) override { confirmed = p.blocksConfirmed; }
  void UpgradeFinished(const std::string& text, const FirmwareProgress&) override { end = text; }
  void UpgradeFailed(const std::string& text) override { end = text; }
  std::vector<std::string> labels;
  uint32_t confirmed = 0;
  std::string end;
};

struct UpgradeSession : Session {
  UpgradeSession() {
    session.SetUpgradeWindow(&window);
    std::ofstream(image, std::ios::binary) << std::string(10, '\x5A');
  }
  ~UpgradeSession() { std::filesystem::remove(image); }
  FakeUpgradeWindow window;
  std::filesystem::path image = std::filesystem::temp_directory_path() /
                                ("tavrik-session-image-" + std::to_string(::getpid()));
};

TEST(DeviceSession, AnUpgradeRunsOnTheReplyRoadAndEndsInIdle) {
  UpgradeSession s;
  ASSERT_TRUE(s.session.StartUpgrade(s.image, "APP.hex"));
  EXPECT_EQ(s.session.Mode(), ReceiveMode::Upgrade);
  ASSERT_EQ(s.link.writes.size(), 1u);
  EXPECT_EQ(s.link.writes[0].bytes, "reset!");
  EXPECT_TRUE(s.link.writes[0].purge);  // the restart clears the line

  EXPECT_EQ(s.Feed("booting main"), 12u);
  EXPECT_EQ(s.link.writes.back().bytes, "ks");
  EXPECT_FALSE(s.link.writes.back().purge);  // never swallow the loader's answer
  s.Feed("C");
  EXPECT_EQ(s.link.writes.back().bytes.size(), 133u);  // the header block
  s.Feed("\x06");
  EXPECT_EQ(s.link.writes.back().bytes.size(), 133u);  // the one short data block
  s.Feed("\x06");
  EXPECT_EQ(s.link.writes.back().bytes, "\x04");  // EOT
  s.Feed("\x06");
  // The unit asks for the next file; what follows the 'C' is no longer ours.
  EXPECT_EQ(s.Feed("Cxyz"), 1u);
  EXPECT_EQ(s.link.writes.back().bytes.size(), 133u);  // the closing block
  EXPECT_EQ(s.session.Mode(), ReceiveMode::Idle);
  EXPECT_EQ(s.window.end, "下载完成！");
  EXPECT_EQ(s.window.labels.front(), "准备开始下载！");
  EXPECT_EQ(s.window.confirmed, 1u);
  for (const auto& w : s.link.writes) {
    if (w.bytes != "reset!") {
      EXPECT_FALSE(w.purge) << w.bytes.size();
    }
  }
}

TEST(DeviceSession, AnUpgradeNeedsAPortAndAnImageAndEndsWhenThePortGoes) {
  UpgradeSession s;
  s.link.open = false;
  EXPECT_FALSE(s.session.StartUpgrade(s.image, "APP.hex"));
  EXPECT_EQ(s.window.end, "");
  s.link.open = true;
  s.session.EnterUpgradeMode();
  EXPECT_FALSE(s.session.StartUpgrade("/nonexistent/test.bin", "APP.hex"));
  EXPECT_EQ(s.session.Mode(), ReceiveMode::Upgrade);  // as the gate left it
  EXPECT_EQ(s.Session::window.messages,
            (std::vector<std::string>{"先打开串口在进行其他操作！！",
                                      "读取HEX文件失败！请尝试管理员权限打开"}));

  ASSERT_TRUE(s.session.StartUpgrade(s.image, "APP.hex"));
  s.session.OnPortClosed();
  EXPECT_EQ(s.window.end, "升级失败：串口已断开\n");
  EXPECT_EQ(s.session.Mode(), ReceiveMode::Idle);
  EXPECT_FALSE(s.session.UpgradeRunning());
}

// The line belongs to the boot loader until the upgrade ends: commands, the
// "Send" box and a second upgrade are refused, and the windows' mode changes
// wait, so nothing breaks the image half sent.
TEST(DeviceSession, NothingElseTakesTheLineWhileAnUpgradeRuns) {
  UpgradeSession s;
  ASSERT_TRUE(s.session.StartUpgrade(s.image, "APP.hex"));
  const size_t written = s.link.writes.size();
  EXPECT_FALSE(s.session.SendDeviceCommand("*PA AUTO START", ReceiveMode::Live));
  const uint8_t byte = 'x';
  EXPECT_FALSE(s.session.SendBytes(&byte, 1));
  EXPECT_FALSE(s.session.StartUpgrade(s.image, "APP.hex"));
  s.session.EnterLive();
  s.session.EnterSensorCurve();
  s.session.SetReceiveMode(ReceiveMode::Command);
  EXPECT_EQ(s.session.Mode(), ReceiveMode::Upgrade);
  EXPECT_EQ(s.link.writes.size(), written);
  EXPECT_EQ(s.Session::window.messages,
            std::vector<std::string>(3, DeviceSession::kUpgradeRunningMessage));

  s.session.OnPortClosed();  // the upgrade ends; the windows have the line again
  s.session.EnterLive();
  EXPECT_EQ(s.session.Mode(), ReceiveMode::Live);
  EXPECT_TRUE(s.session.SendDeviceCommand("*PA AUTO STOP", ReceiveMode::Command));
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
