// "保存数据..." and "停止保存" without a unit: the file dialog and its
// outcomes, the buttons, and which window timers keep the display going
// afterwards; and the running log kept out of the conversion dialog.
#include <gtest/gtest.h>

#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "mainwindow/ControlMap.h"
#include "mainwindow/ConversionPanel.h"
#include "mainwindow/FilesFormatConvert.h"
#include "mainwindow/RecorderPanel.h"
#include "tests/common/MainWindowFixture.h"

namespace {

class RecorderPanelTest : public ::testing::Test {
 protected:
  const ControlMap& c() const { return f.window->Controls(); }
  RecorderPanel& recorder() { return f.window->Recorder(); }
  void Click(int id) { c().As<QPushButton>(id)->click(); }
  QString Path(const char* name) const { return dir.filePath(name); }
  // The timers' periods, or 0 for one that does not run.
  std::pair<int, int> Timers() {
    const QTimer& t1 = recorder().InstrumentTimer();
    const QTimer& t2 = recorder().RefreshTimer();
    return {t1.isActive() ? t1.interval() : 0, t2.isActive() ? t2.interval() : 0};
  }

  QTemporaryDir dir;
  MainWindowFixture f;
};

TEST_F(RecorderPanelTest, ACancelledOrFailedChoiceKeepsTheDisplayOnTheShorterTimers) {
  EXPECT_EQ(Timers(), std::make_pair(0, 0));
  Click(1068);  // the dialog cancelled
  EXPECT_TRUE(f.services.MessageTexts().isEmpty());
  EXPECT_FALSE(recorder().Recording());
  EXPECT_FALSE(f.services.TickRunning(150));
  EXPECT_FALSE(f.services.TickRunning(500));
  EXPECT_EQ(Timers(), std::make_pair(200, 250));
  EXPECT_TRUE(c().Get(1068)->isEnabled());
  EXPECT_FALSE(c().Get(1069)->isEnabled());
  ASSERT_EQ(f.services.FileDialogs().size(), 1u);
  const FileDialogSpec dialog = f.services.FileDialogs()[0];
  EXPECT_EQ(dialog.title, "Log Save As...");
  EXPECT_EQ(dialog.defaultExtension, "txt");
  EXPECT_EQ(dialog.initialName, "1.txt");

  // A file that cannot be created: told, and the same timers.
  recorder().CloseForExit();
  ASSERT_EQ(Timers(), std::make_pair(0, 0));
  f.services.QueueFileName(Path("no/such/folder/log.txt"));
  Click(1068);
  EXPECT_EQ(f.services.MessageTexts(), QStringList{"选择文件失败，请重试"});
  EXPECT_FALSE(recorder().Recording());
  EXPECT_EQ(Timers(), std::make_pair(200, 250));
  EXPECT_TRUE(c().Get(1068)->isEnabled());
  EXPECT_FALSE(c().Get(1069)->isEnabled());

  // Stopping with nothing recorded.
  f.services.ClearMessages();
  recorder().OnStopSave();
  EXPECT_EQ(f.services.MessageTexts(), QStringList{"先选择路径，再保存"});
}

TEST_F(RecorderPanelTest, ARecordingRunsOnTheLongerTimersUntilItIsSaved) {
  c().As<QPlainTextEdit>(1073)->setPlainText("AA 55 01 ");
  f.services.QueueFileName(Path("drive.txt"));
  Click(1068);
  ASSERT_TRUE(recorder().Recording());
  EXPECT_TRUE(f.services.MessageTexts().isEmpty());
  EXPECT_EQ(Timers(), std::make_pair(300, 350));
  EXPECT_FALSE(f.services.TickRunning(150));
  EXPECT_TRUE(c().As<QPlainTextEdit>(1073)->toPlainText().isEmpty());
  EXPECT_FALSE(c().Get(1068)->isEnabled());
  EXPECT_FALSE(c().Get(1074)->isEnabled());
  EXPECT_TRUE(c().Get(1069)->isEnabled());
  EXPECT_TRUE(QFile::exists(Path("drive.txt")));

  Click(1069);
  EXPECT_EQ(f.services.MessageTexts(), QStringList{"保存成功"});
  EXPECT_FALSE(recorder().Recording());
  EXPECT_TRUE(c().Get(1068)->isEnabled());
  EXPECT_TRUE(c().Get(1074)->isEnabled());
  EXPECT_FALSE(c().Get(1069)->isEnabled());
}

// The conversion dialog is open to a closed port, and so to a recording
// that spans a port close: the log being written is never its target.
TEST_F(RecorderPanelTest, TheRunningLogIsNoConversionTarget) {
  QFile source(Path("old.txt"));
  ASSERT_TRUE(source.open(QIODevice::WriteOnly));
  source.write("AA 55 ");
  source.close();
  f.services.QueueFileName(Path("drive.txt"));
  Click(1068);
  ASSERT_TRUE(recorder().Recording());
  FilesFormatConvert& dialog = f.window->Conversion().Dialog();
  f.services.QueueFileName(source.fileName());
  dialog.OnChooseSource();
  f.services.QueueFileName(Path("drive.txt"));
  dialog.OnChooseTarget();
  dialog.OnConvert();
  EXPECT_EQ(f.services.MessageTexts(), QStringList{"保存文件正在记录数据，请重新选择"});
  EXPECT_FALSE(dialog.IsConverting());
  EXPECT_TRUE(recorder().Recording());
}

}  // namespace
