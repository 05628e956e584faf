#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSerialPort>
#include <QTest>

#include "device/DeviceProfile.h"
#include "mainwindow/CommandChannel.h"
#include "mainwindow/ControlMap.h"
#include "mainwindow/PortComboBox.h"
#include "mainwindow/PortControl.h"
#include "serial/CSerialPort.h"
#include "serial/PortOpenFailure.h"
#include "tests/common/EventLoop.h"
#include "tests/common/MainWindowFixture.h"
#include "tests/common/PtyPair.h"

namespace {

void Click(const ControlMap& c, int id) {
  auto* button = c.As<QPushButton>(id);
  ASSERT_NE(button, nullptr) << id;
  button->click();
}

// A window whose port is open on a pseudo-terminal the test reads.
struct OpenWindow {
  explicit OpenWindow(const char* config = "V3.11\r\nx\r\n") : f(config) {
    f.window->Controls().As<QComboBox>(1041)->setEditText(pty.DevicePath());
    Click(f.window->Controls(), 1008);
  }
  const ControlMap& c() const { return f.window->Controls(); }
  PtyPair pty;
  MainWindowFixture f;
};

TEST(CommandChannel, EveryCommandWithThePortClosedOnlyAsksToOpenIt) {
  MainWindowFixture f;
  const ControlMap& c = f.window->Controls();
  for (int id : {1060, 1061, 1056, 1051, 1053, 1075, 1084, 1159, 1039}) {
    f.services.ClearMessages();
    // Some of these are hidden; the handler is what is under test.
    c.Get(id)->setEnabled(true);
    Click(c, id);
    EXPECT_EQ(f.services.MessageTexts(), QStringList{"先打开串口在进行其他操作！！"}) << id;
    EXPECT_EQ(f.window->Session().Mode(), ReceiveMode::Idle) << id;
  }
  c.As<QCheckBox>(1070)->setChecked(true);
  f.services.ClearMessages();
  Click(c, 1039);
  EXPECT_EQ(f.services.MessageTexts(), QStringList{"先打开串口在进行其他操作！！"});
}

TEST(CommandChannel, OpeningAndClosingThePortSwitchesTheWindow) {
  OpenWindow w;
  EXPECT_EQ(w.c().Text(1008), "关闭");
  EXPECT_FALSE(w.c().Get(1041)->isEnabled());
  EXPECT_FALSE(w.c().Get(1040)->isEnabled());
  EXPECT_TRUE(w.c().Get(1060)->isEnabled());
  EXPECT_TRUE(w.c().Get(1061)->isEnabled());
  EXPECT_TRUE(w.f.window->Port().ReplayStopRequested());
  EXPECT_TRUE(w.f.window->SerialPort().IsWorkerAlive());
  Click(w.c(), 1008);
  EXPECT_EQ(w.c().Text(1008), "打开");
  EXPECT_TRUE(w.c().Get(1041)->isEnabled());
  EXPECT_FALSE(w.c().Get(1060)->isEnabled());
  EXPECT_FALSE(w.f.window->Port().ReplayStopRequested());
  EXPECT_FALSE(w.f.window->SerialPort().IsWorkerAlive());
}

// A unit plugged in after the start is offered the next time the selector
// opens; what the user typed stays; an open port keeps its list.
TEST(CommandChannel, ThePortListIsMadeAgainWhenTheSelectorOpens) {
  MainWindowFixture f;
  auto* combo = f.window->Controls().As<PortComboBox>(1041);
  ASSERT_NE(combo, nullptr);
  PtyPair later;
  qputenv("TAVRIK_EXTRA_PORTS", later.DevicePath().toLocal8Bit());
  combo->setEditText("/dev/typed-by-hand");
  combo->showPopup();
  combo->hidePopup();
  EXPECT_GE(combo->findText(later.DevicePath()), 0);
  EXPECT_EQ(combo->currentText(), "/dev/typed-by-hand");
  EXPECT_EQ(combo->toolTip(), "/dev/typed-by-hand");

  combo->setEditText(later.DevicePath());
  Click(f.window->Controls(), 1008);
  ASSERT_EQ(f.window->Controls().Text(1008), "关闭");
  PtyPair another;
  qputenv("TAVRIK_EXTRA_PORTS", another.DevicePath().toLocal8Bit());
  combo->showPopup();
  combo->hidePopup();
  EXPECT_LT(combo->findText(another.DevicePath()), 0);  // open: the list stands
  Click(f.window->Controls(), 1008);
  qunsetenv("TAVRIK_EXTRA_PORTS");

  // A typical device path fits the box.
  EXPECT_LE(combo->fontMetrics().horizontalAdvance("/dev/ttyUSB0"), combo->lineEdit()->width());
}

// A unit plugged in again may come back under another name, so the list is
// made again as soon as the open port goes away.
TEST(CommandChannel, ThePortListIsMadeAgainWhenThePortGoesAway) {
  MainWindowFixture f;
  auto* combo = f.window->Controls().As<PortComboBox>(1041);
  PtyPair unit;
  combo->setEditText(unit.DevicePath());
  Click(f.window->Controls(), 1008);
  ASSERT_EQ(f.window->Controls().Text(1008), "关闭");
  PtyPair replugged;
  qputenv("TAVRIK_EXTRA_PORTS", replugged.DevicePath().toLocal8Bit());
  unit.HangUp();
  EXPECT_TRUE(ProcessEventsUntil([&] { return f.window->Controls().Text(1008) == "打开"; }));
  EXPECT_GE(combo->findText(replugged.DevicePath()), 0);
  qunsetenv("TAVRIK_EXTRA_PORTS");
}

TEST(CommandChannel, AMissingDeviceIsReportedAndTheWindowStaysClosed) {
  MainWindowFixture f;
  f.window->Controls().As<QComboBox>(1041)->setEditText("/dev/tavrik-no-such-port");
  Click(f.window->Controls(), 1008);
  EXPECT_EQ(f.services.MessageTexts(), QStringList{"没有发现此串口或被占用"});
  EXPECT_EQ(f.window->Controls().Text(1008), "打开");
}

// Tests run as root, so the refusal a user outside the dialout group meets
// is handed in by the opener.
TEST(CommandChannel, APortThisUserMayNotOpenSaysHowToGetPermission) {
  MainWindowFixture f;
  f.window->SerialPort().SetOpener([](QSerialPort&) { return PortOpenFailure::PermissionDenied; });
  PtyPair pty;
  f.window->Controls().As<QComboBox>(1041)->setEditText(pty.DevicePath());
  Click(f.window->Controls(), 1008);
  EXPECT_EQ(f.services.MessageTexts(),
            QStringList{QStringLiteral("没有权限打开串口%1，请将当前用户加入dialout组后重新登录\n")
                            .arg(pty.DevicePath())});
  EXPECT_EQ(f.window->Controls().Text(1008), "打开");
}

// Qt names a port held elsewhere a permission error too; the user is told
// it is in use, not sent to the dialout group.
TEST(CommandChannel, APortAnotherProgramHoldsIsReportedInUse) {
  PtyPair pty;
  QSerialPort holder(pty.DevicePath());
  ASSERT_TRUE(holder.open(QIODevice::ReadWrite));
  MainWindowFixture f;
  f.window->Controls().As<QComboBox>(1041)->setEditText(pty.DevicePath());
  Click(f.window->Controls(), 1008);
  EXPECT_EQ(f.services.MessageTexts(), QStringList{"没有发现此串口或被占用"});
  EXPECT_EQ(f.window->Controls().Text(1008), "打开");

  EXPECT_EQ(OpenFailureOf(QSerialPort::PermissionError, false), PortOpenFailure::PermissionDenied);
  EXPECT_EQ(OpenFailureOf(QSerialPort::DeviceNotFoundError, false),
            PortOpenFailure::NotFoundOrBusy);
}

TEST(CommandChannel, KemRtkKeepsTheSettingButtonsDisabledAfterClosing) {
  OpenWindow w("kemrtk\r\n");
  for (int id : {1051, 1053, 1084, 1075, 1056}) EXPECT_FALSE(w.c().Get(id)->isEnabled()) << id;
  Click(w.c(), 1008);
  for (int id : {1051, 1053, 1084, 1075, 1056}) EXPECT_FALSE(w.c().Get(id)->isEnabled()) << id;
}

TEST(CommandChannel, ButtonsSendTheirLinesAndSwitchTheReceiveMode) {
  OpenWindow w;
  w.c().As<QComboBox>(1050)->setCurrentIndex(1);
  Click(w.c(), 1051);
  EXPECT_EQ(w.pty.Read(17), "*PA AUTO FRAME2\r\n");
  EXPECT_EQ(w.f.window->Session().Mode(), ReceiveMode::Command);

  w.c().As<QComboBox>(1052)->setCurrentIndex(2);  // 460800
  Click(w.c(), 1053);
  EXPECT_EQ(w.pty.Read(17), "*PA AUTO BAUD 3\r\n");
  // A typed text that is none of the selector's rates is refused, never sent
  // as a code the unit would take for something else.
  w.c().As<QComboBox>(1052)->setEditText("9999");
  Click(w.c(), 1053);
  w.c().As<QComboBox>(1083)->setEditText("75HZ");
  Click(w.c(), 1084);
  EXPECT_EQ(w.pty.Drain(), "");
  EXPECT_EQ(w.f.services.MessageTexts(),
            (QStringList{"波特率“9999”无效，未发送！\n", "输出频率“75HZ”无效，未发送！\n"}));

  w.c().As<QComboBox>(1083)->setCurrentIndex(2);  // V3.11: 50HZ
  Click(w.c(), 1084);
  EXPECT_EQ(w.pty.Read(20), "*PA AUTO OUT FRE 5\r\n");

  Click(w.c(), 1056);
  EXPECT_EQ(w.pty.Read(20), "*PA AUTO ODO RESET\r\n");

  w.f.window->Commands().AppendFrameFormat6();
  w.c().As<QComboBox>(1050)->setCurrentIndex(3);
  Click(w.c(), 1051);
  EXPECT_EQ(w.pty.Read(17), "*PA AUTO FRAME6\r\n");

  // A frame text too short to carry its digit is refused, not sent.
  w.c().As<QComboBox>(1050)->setEditText("帧格");
  Click(w.c(), 1051);
  EXPECT_EQ(w.pty.Drain(), "");
  EXPECT_EQ(w.f.services.MessageTexts().back(), "帧格式不完整，请选择帧格式后再设置。");
}

TEST(CommandChannel, StartAndStopOutput) {
  OpenWindow w;
  Click(w.c(), 1060);
  EXPECT_EQ(w.pty.Read(16), "*PA AUTO START\r\n");
  EXPECT_EQ(w.f.window->Session().Mode(), ReceiveMode::Live);
  EXPECT_TRUE(w.f.window->Pump().DisplayEnabled());
  for (int id : {1060, 1051, 1053, 1084, 1075, 1056, 1082})
    EXPECT_FALSE(w.c().Get(id)->isEnabled()) << id;
  EXPECT_TRUE(w.c().Get(1061)->isEnabled());
  Click(w.c(), 1061);
  EXPECT_EQ(w.pty.Read(15), "*PA AUTO STOP\r\n");
  EXPECT_EQ(w.f.window->Session().Mode(), ReceiveMode::Command);
  EXPECT_FALSE(w.f.window->Pump().DisplayEnabled());
}

TEST(CommandChannel, RateCodesFollowTheDeviceVariant) {
  auto code = [](const char* variant, const char* rate) {
    return DeviceProfile(variant).CodeForRateText(rate);
  };
  EXPECT_EQ(code("V3.11", "10HZ"), '1');
  EXPECT_EQ(code("v3.11", "50HZ"), '5');
  EXPECT_EQ(code("V3.11", "100HZ"), 'A');
  EXPECT_EQ(code("V7.1", "400HZ"), '4');
  EXPECT_EQ(code("KDV1", "300HZ"), '3');
  EXPECT_EQ(code("kdv1", "600HZ"), '6');
  EXPECT_EQ(code("other", "200HZ"), '2');
  EXPECT_EQ(code("V3.11", "400HZ"), std::nullopt);  // not one of its rates
}

TEST(CommandChannel, TheSendBoxInTextAndHexMode) {
  OpenWindow w;
  auto send = [&](const QString& text, bool hex) {
    w.c().As<QCheckBox>(1070)->setChecked(hex);
    w.c().SetText(1077, text);
    Click(w.c(), 1039);
  };
  send("AA 55 0d", true);
  EXPECT_EQ(w.pty.Read(3), "\xAA\x55\x0D");
  send("AA5", true);
  EXPECT_EQ(w.pty.Read(1), "\xAA");
  send("ZZ", true);
  EXPECT_EQ(w.pty.Drain(), "");
  EXPECT_TRUE(w.f.services.MessageTexts().isEmpty());

  send("*PA AUTO SN?", false);
  EXPECT_EQ(w.pty.Read(14), "*PA AUTO SN?\r\n");
  EXPECT_EQ(w.f.window->Session().Mode(), ReceiveMode::Idle);  // the Send box keeps the mode

  // Too long for the unit's buffers: refused whole, nothing sent.
  send(QString(300, 'x'), false);
  send(QString(513 * 2, 'A'), true);
  EXPECT_EQ(w.pty.Drain(), "");
  EXPECT_EQ(w.f.services.MessageTexts().size(), 2);
  send(QString(512 * 2, 'A'), true);
  EXPECT_EQ(w.pty.Read(512).size(), 512u);
}

}  // namespace
