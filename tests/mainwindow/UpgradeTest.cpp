// A firmware upgrade from the window against the virtual unit's boot loader:
// the gate, "打开HEX文件", "一键升级", the unit receiving the whole image also
// when it refuses blocks, and upgrades that end early (a silent unit, an
// image gone, a port lost), each retried without restarting the program.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "VirtualUnit.h"
#include "device/FirmwareImageFile.h"
#include "device/FirmwareTexts.h"
#include "mainwindow/ControlMap.h"
#include "tests/common/EventLoop.h"
#include "tests/common/MainWindowFixture.h"
#include "tests/firmware/TestImages.h"

namespace {

QByteArray Bytes(const std::vector<uint8_t>& v) {
  return QByteArray(reinterpret_cast<const char*>(v.data()), qsizetype(v.size()));
}

class UpgradeFromWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    // The image goes under the data directory: a scratch one for the test.
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    image = test_images::Pattern(64 * 1024);
    WriteHexFile("APP.hex");
  }
  void WriteHexFile(const QString& name) {
    QFile hex(scratch.filePath(name));
    ASSERT_TRUE(hex.open(QIODevice::WriteOnly));
    hex.write(QByteArray::fromStdString(test_images::HexFile(image)));
  }
  void TearDown() override {
    f.reset();
    unit.reset();
    qunsetenv("XDG_DATA_HOME");
  }

  void StartUnit(QStringList extra = {}) {
    unit = std::make_unique<VirtualUnit>(QStringList{"--image-out", Received()} + extra);
    ASSERT_FALSE(unit->Device().isEmpty());
  }
  void OpenPort() {
    c().As<QComboBox>(1041)->setEditText(unit->Device());
    Click(1008);
    ASSERT_EQ(c().Text(1008), "关闭");
  }
  const ControlMap& c() const { return f->window->Controls(); }
  void Click(int id) { c().As<QPushButton>(id)->click(); }
  QString Received() const { return scratch.filePath("received.bin"); }
  bool Reported(const QString& text) {
    return ProcessEventsUntil([&] { return f->services.MessageTexts().contains(text); }, 30000);
  }
  void ConvertTheHexFile(const QString& name = "APP.hex") {
    f->services.QueueFileName(scratch.filePath(name));
    Click(1066);
    ASSERT_TRUE(c().Get(1067)->isEnabled());
    ASSERT_FALSE(c().Get(1066)->isEnabled());
  }
  void Gate() {
    QTest::keyClick(c().Get(1077), Qt::Key_U, Qt::ControlModifier | Qt::ShiftModifier);
  }
  bool UnderWay() {
    return ProcessEventsUntil([&] { return c().As<QProgressBar>(1172)->value() >= 10; }, 30000);
  }
  void ExpectTheUnitHasTheImage() {
    ASSERT_TRUE(
        ProcessEventsUntil([&] { return QFile(Received()).size() == qint64(image.size()); }));
    QFile received(Received());
    ASSERT_TRUE(received.open(QIODevice::ReadOnly));
    EXPECT_EQ(received.readAll(), Bytes(image));
  }
  // Nothing of the progress area is cut off at its edge: the bar's figures
  // end with the seconds, and the name and the stage fit their labels.
  void ExpectProgressFits() {
    const auto* bar = c().As<QProgressBar>(1172);
    const QString figures = bar->text();
    EXPECT_LE(bar->fontMetrics().horizontalAdvance(figures), bar->width()) << figures.toStdString();
    EXPECT_TRUE(figures.contains(QRegularExpression("\\d+% +\\d+\\.\\d 秒$")))
        << figures.toStdString();
    for (int id : {1071, 1176}) {
      const auto* label = c().As<QLabel>(id);
      EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
          << id << " " << label->text().toStdString();
    }
  }
  // The whole image gone through the window's road, refused blocks and all.
  void UpgradeToTheEnd(const QString& hexName) {
    ConvertTheHexFile(hexName);
    Click(1067);
    ASSERT_TRUE(Reported("下载完成！")) << f->services.MessageTexts().join("|").toStdString();
    EXPECT_EQ(f->services.MessageTexts(), QStringList{"下载完成！"});
    ExpectTheUnitHasTheImage();
  }
  // An upgrade that ended early leaves the program ready for the next try.
  void ExpectReadyToRetry() {
    EXPECT_EQ(f->window->Session().Mode(), ReceiveMode::Idle);
    EXPECT_TRUE(f->services.TickRunning(150));
    EXPECT_TRUE(f->services.TickRunning(500));
    EXPECT_TRUE(c().Get(1066)->isEnabled());
    EXPECT_FALSE(c().Get(1067)->isEnabled());
  }

  QTemporaryDir dataHome, scratch;
  std::vector<uint8_t> image;
  std::unique_ptr<VirtualUnit> unit;
  std::unique_ptr<MainWindowFixture> f = std::make_unique<MainWindowFixture>();
};

TEST_F(UpgradeFromWindow, TheUnitGetsTheWholeImageAndTheWindowIsReadyAfter) {
  // As slow as a real line, so the progress can be seen on its way.
  StartUnit({"--loader-baud", "230400"});
  OpenPort();
  EXPECT_FALSE(c().Get(1066)->isEnabled());
  QTest::keyClick(c().Get(1077), Qt::Key_U, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(f->window->Session().Mode(), ReceiveMode::Upgrade);
  ConvertTheHexFile();

  Click(1067);
  EXPECT_FALSE(c().Get(1067)->isEnabled());
  EXPECT_FALSE(f->services.TickRunning(150));  // the display rests meanwhile
  f->window->show();
  ASSERT_TRUE(ProcessEventsUntil([&] { return c().As<QProgressBar>(1172)->value() >= 30; }, 30000));
  QDir().mkpath(TAVRIK_SCREENSHOT_DIR);
  f->window->grab().save(TAVRIK_SCREENSHOT_DIR "/upgrade.png");
  ExpectProgressFits();
  ASSERT_TRUE(Reported("下载完成！")) << f->services.MessageTexts().join("|").toStdString();
  EXPECT_EQ(f->services.MessageTexts(), QStringList{"下载完成！"});

  // The unit has every byte, exactly.
  ExpectTheUnitHasTheImage();

  EXPECT_EQ(f->window->Session().Mode(), ReceiveMode::Idle);
  EXPECT_TRUE(f->services.TickRunning(150));
  EXPECT_TRUE(f->services.TickRunning(500));
  EXPECT_FALSE(c().Get(1066)->isEnabled());
  EXPECT_FALSE(c().Get(1067)->isEnabled());
  EXPECT_FALSE(c().Get(1071)->isVisible());
  const auto* bar = c().As<QProgressBar>(1172);
  EXPECT_EQ(bar->value(), 100);
  // The figures stay after the end.
  EXPECT_TRUE(bar->text().contains("65536")) << bar->text().toStdString();
  EXPECT_EQ(c().Text(1176), "APP.hex");
  ExpectProgressFits();
  // Every text of the stage label fits it too.
  const auto* stage = c().As<QLabel>(1071);
  for (const char* text :
       {FirmwareTexts::kLabelStarting, FirmwareTexts::kLabelAnnounced, FirmwareTexts::kLabelErasing,
        FirmwareTexts::kLabelOddBlock, FirmwareTexts::kLabelEvenBlock, FirmwareTexts::kLabelRepeat,
        FirmwareTexts::kLabelLastBlock}) {
    EXPECT_LE(stage->fontMetrics().horizontalAdvance(QString::fromUtf8(text)), stage->width())
        << text;
  }
}

// Every seventh block is refused once; the window's road sends it again and
// the unit ends with the image exactly. A long file name is shortened in
// the middle on its label, whole in the tooltip.
TEST_F(UpgradeFromWindow, RefusedBlocksStillGiveTheWholeImage) {
  const QString longName =
      QStringLiteral("车载组合导航固件_V3.11_2024-05-18_release_candidate_build_0042.hex");
  WriteHexFile(longName);
  StartUnit({"--nak-every", "7"});
  OpenPort();
  Gate();
  UpgradeToTheEnd(longName);
  const auto* name = c().As<QLabel>(1176);
  EXPECT_NE(name->text(), longName);
  EXPECT_TRUE(name->text().startsWith(QStringLiteral("车载")) && name->text().endsWith(".hex"))
      << name->text().toStdString();
  EXPECT_EQ(name->toolTip(), longName);
  ExpectProgressFits();
  EXPECT_EQ(f->window->Session().Mode(), ReceiveMode::Idle);
}

// The image written by "打开HEX文件" is gone by the time "一键升级" is
// pressed: nothing starts, and the display goes on.
TEST_F(UpgradeFromWindow, AnImageThatCannotBeReadStartsNothing) {
  StartUnit();
  OpenPort();
  Gate();
  ConvertTheHexFile();
  ASSERT_TRUE(QFile::remove(QString::fromStdString(FirmwareImageFile::DefaultPath().string())));
  Click(1067);
  EXPECT_EQ(f->services.MessageTexts(), QStringList{"读取HEX文件失败！请尝试管理员权限打开"});
  EXPECT_TRUE(f->services.TickRunning(150));
  EXPECT_TRUE(f->services.TickRunning(500));
  EXPECT_EQ(f->window->Session().Mode(), ReceiveMode::Upgrade);
  EXPECT_FALSE(c().Get(1071)->isVisible());
}

// The port closed by the user, then the unit gone from the line, each in
// the middle of an upgrade: it ends with the one message, and a new try
// with a restarted unit succeeds.
TEST_F(UpgradeFromWindow, ALostPortEndsTheUpgradeAndARetrySucceeds) {
  const QString lost = QStringLiteral("升级失败：串口已断开\n");
  StartUnit({"--loader-baud", "230400"});
  OpenPort();
  Gate();
  ConvertTheHexFile();
  Click(1067);
  ASSERT_TRUE(UnderWay());
  Click(1008);
  ASSERT_TRUE(Reported(lost)) << f->services.MessageTexts().join("|").toStdString();
  EXPECT_EQ(f->services.MessageTexts().count(lost), 1);
  ExpectReadyToRetry();

  unit.reset();
  StartUnit({"--loader-baud", "230400"});
  OpenPort();
  f->services.ClearMessages();
  ConvertTheHexFile();
  Click(1067);
  ASSERT_TRUE(UnderWay());
  unit.reset();  // the unit unplugged
  ASSERT_TRUE(Reported(lost)) << f->services.MessageTexts().join("|").toStdString();
  EXPECT_EQ(f->services.MessageTexts().count(lost), 1);
  EXPECT_EQ(c().Text(1008), "打开");
  ExpectReadyToRetry();

  StartUnit();
  OpenPort();
  f->services.ClearMessages();
  UpgradeToTheEnd("APP.hex");
}

TEST_F(UpgradeFromWindow, ASilentUnitEndsTheUpgradeAndARetrySucceeds) {
  StartUnit({"--silent-after", "20"});
  OpenPort();
  Gate();
  ConvertTheHexFile();
  Click(1067);
  ASSERT_TRUE(Reported("升级失败：等待数据块20应答超时\n"))
      << f->services.MessageTexts().join("|").toStdString();
  EXPECT_EQ(f->window->Session().Mode(), ReceiveMode::Idle);
  EXPECT_TRUE(f->services.TickRunning(150));
  EXPECT_TRUE(c().Get(1066)->isEnabled());  // ready to try again

  // The unit restarted: open it anew and go again, without a restart here.
  Click(1008);
  unit.reset();
  QFile::remove(Received());
  StartUnit();
  OpenPort();
  f->services.ClearMessages();
  ConvertTheHexFile();
  Click(1067);
  ASSERT_TRUE(Reported("下载完成！")) << f->services.MessageTexts().join("|").toStdString();
  ASSERT_TRUE(ProcessEventsUntil([&] { return QFile(Received()).size() == qint64(image.size()); }));
}

TEST_F(UpgradeFromWindow, ABadHexFileIsRefusedAndNothingCanBeSent) {
  StartUnit();
  OpenPort();
  QTest::keyClick(c().Get(1077), Qt::Key_U, Qt::ControlModifier | Qt::ShiftModifier);
  QFile bad(scratch.filePath("BAD.hex"));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write(":10000000000102030405060708090A0B0C0D0E0F00\r\n:00000001FF\r\n");  // checksum wrong
  bad.close();
  f->services.QueueFileName(bad.fileName());
  Click(1066);
  ASSERT_EQ(f->services.MessageTexts().size(), 1);
  EXPECT_TRUE(f->services.MessageTexts()[0].startsWith("HEX文件第1行有误（"))
      << f->services.MessageTexts()[0].toStdString();
  EXPECT_TRUE(c().Get(1066)->isEnabled());
  EXPECT_FALSE(c().Get(1067)->isEnabled());
}

}  // namespace
