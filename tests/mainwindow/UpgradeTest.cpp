// A firmware upgrade from the window against the virtual unit's boot loader:
// the gate, "打开HEX文件", "一键升级", the unit receiving the whole image, and a
// unit that falls silent, retried after it restarts.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "VirtualUnit.h"
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
    QFile hex(scratch.filePath("APP.hex"));
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
  void ConvertTheHexFile() {
    f->services.QueueFileName(scratch.filePath("APP.hex"));
    Click(1066);
    ASSERT_TRUE(c().Get(1067)->isEnabled());
    ASSERT_FALSE(c().Get(1066)->isEnabled());
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
  ASSERT_TRUE(Reported("下载完成！")) << f->services.MessageTexts().join("|").toStdString();
  EXPECT_EQ(f->services.MessageTexts(), QStringList{"下载完成！"});

  // The unit has every byte, exactly.
  ASSERT_TRUE(ProcessEventsUntil([&] { return QFile(Received()).size() == qint64(image.size()); }));
  QFile received(Received());
  ASSERT_TRUE(received.open(QIODevice::ReadOnly));
  EXPECT_EQ(received.readAll(), Bytes(image));

  EXPECT_EQ(f->window->Session().Mode(), ReceiveMode::Idle);
  EXPECT_TRUE(f->services.TickRunning(150));
  EXPECT_TRUE(f->services.TickRunning(500));
  EXPECT_FALSE(c().Get(1066)->isEnabled());
  EXPECT_FALSE(c().Get(1067)->isEnabled());
  EXPECT_FALSE(c().Get(1071)->isVisible());
  const auto* bar = c().As<QProgressBar>(1172);
  EXPECT_EQ(bar->value(), 100);
  EXPECT_TRUE(bar->format().startsWith("APP.hex")) << bar->format().toStdString();
}

TEST_F(UpgradeFromWindow, ASilentUnitEndsTheUpgradeAndARetrySucceeds) {
  StartUnit({"--silent-after", "20"});
  OpenPort();
  QTest::keyClick(c().Get(1077), Qt::Key_U, Qt::ControlModifier | Qt::ShiftModifier);
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
