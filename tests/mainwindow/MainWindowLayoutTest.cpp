#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <thread>

#include "mainwindow/CommandChannel.h"
#include "mainwindow/ControlMap.h"
#include "mainwindow/DebugConsole.h"
#include "mainwindow/UpdatePanel.h"
#include "tests/common/EventLoop.h"
#include "tests/common/MainWindowFixture.h"

namespace {

QStringList VisibleGroupTitles(QWidget& window) {
  QStringList titles;
  for (auto* group : window.findChildren<QGroupBox*>()) {
    if (group->isVisible()) titles << group->title();
  }
  titles.sort();
  return titles;
}

TEST(MainWindow, StartsWithItsGroupsCaptionsAndHiddenControls) {
  MainWindowFixture f;
  ASSERT_TRUE(f.initialised);
  f.window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(f.window.get()));
  const ControlMap& c = f.window->Controls();

  QStringList expected = {"端口设置", "导航数据", "传感器数据", "状态指示", "GPS数据",
                          "地平仪",   "航向",     "参数设置",   "在线升级"};
  expected.sort();
  EXPECT_EQ(VisibleGroupTitles(*f.window), expected);
  EXPECT_EQ(f.window->windowTitle(), "自动驾驶V2.0");

  // The bottom row, the console and the send row are there.
  for (int id :
       {1065, 1064, 1074, 1068, 1069, 1151, 1146, 1148, 1154, 1152, 1073, 1077, 1070, 1039}) {
    EXPECT_TRUE(c.Get(id) && c.Get(id)->isVisible()) << id;
  }
  EXPECT_EQ(c.Text(1074), "清除数据");
  EXPECT_EQ(c.Text(1068), "保存数据...");
  EXPECT_EQ(c.Text(1008), "打开");
  // Hidden controls stay hidden, but for the solution-type pair.
  for (int id : {1047, 1076, 1049, 1033, 1063, 1075, 1080, 1013, 1059, 1153, 1159, 1127, 1025}) {
    EXPECT_FALSE(c.Get(id)->isVisible()) << id;
  }
  EXPECT_TRUE(c.Get(1062)->isVisible());
  EXPECT_EQ(c.Text(1113), "Head-type");
  EXPECT_EQ(c.Text(1126), "Pos-type");

  // Initial enabling and selections. The output buttons answer even with
  // the port closed, asking for it to be opened.
  EXPECT_TRUE(c.Get(1060)->isEnabled());
  EXPECT_TRUE(c.Get(1061)->isEnabled());
  EXPECT_FALSE(c.Get(1066)->isEnabled());
  EXPECT_FALSE(c.Get(1067)->isEnabled());
  EXPECT_FALSE(c.Get(1069)->isEnabled());
  EXPECT_TRUE(c.As<QCheckBox>(1064)->isChecked());
  EXPECT_EQ(c.Text(1040), "460800");
  EXPECT_EQ(c.As<QComboBox>(1083)->count(), 4);  // V3.11's rate list
  EXPECT_EQ(c.Text(1083), "100HZ");

  // Everything fits a 1366 x 768 screen, title bar included, and no control
  // reaches outside the window.
  EXPECT_LE(f.window->frameGeometry().width(), 1366);
  EXPECT_LE(f.window->frameGeometry().height(), 768);
  for (QWidget* w : f.window->findChildren<QWidget*>()) {
    if (!w->isVisible() || w->parentWidget() != f.window.get()) continue;
    EXPECT_TRUE(f.window->rect().contains(w->geometry())) << w->objectName().toStdString();
  }
  f.window->grab().save(QDir::tempPath() + "/tavrik-mainwindow.png");
}

TEST(MainWindow, WhenTheWindowGrowsTheConsoleTakesTheRoom) {
  MainWindowFixture f;
  f.window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(f.window.get()));
  const ControlMap& c = f.window->Controls();
  const QSize drawn = f.window->size();
  const QRect console = c.Get(1073)->geometry(), sendBox = c.Get(1077)->geometry();
  const QRect sendButton = c.Get(1039)->geometry(), pitch = c.Get(1010)->geometry();
  const QRect saveButton = c.Get(1068)->geometry();
  f.window->resize(drawn + QSize(200, 150));
  QCoreApplication::processEvents();
  ASSERT_EQ(f.window->size(), drawn + QSize(200, 150));
  EXPECT_EQ(c.Get(1073)->geometry(), console.adjusted(0, 0, 200, 150));
  EXPECT_EQ(c.Get(1077)->geometry(), sendBox.adjusted(0, 150, 200, 150));
  EXPECT_EQ(c.Get(1039)->geometry(), sendButton.translated(200, 150));
  EXPECT_EQ(c.Get(1010)->geometry(), pitch);
  EXPECT_EQ(c.Get(1068)->geometry(), saveButton);
  // It never shrinks below what was drawn.
  EXPECT_EQ(f.window->minimumSize(), drawn);
}

TEST(MainWindow, AMissingConfigurationFileIsReportedAndTheProgramRunsOn) {
  MainWindowFixture f(nullptr);
  EXPECT_TRUE(f.initialised);
  EXPECT_EQ(f.services.MessageTexts(), QStringList{"程序文件不完整。"});
  EXPECT_EQ(f.window->Analyser().GetConfigLine2(), "");
  EXPECT_EQ(f.window->Controls().As<QComboBox>(1083)->count(), 3);
  // The window keeps the template's title and labels.
  EXPECT_EQ(f.window->windowTitle(), "Tavrik3.11V2.1");
  EXPECT_EQ(f.window->Controls().Text(1126), "PDOP");
  EXPECT_FALSE(f.window->Controls().Get(1062)->isVisibleTo(f.window.get()));
  EXPECT_FALSE(f.window->Controls().Get(1113)->isVisibleTo(f.window.get()));
}

TEST(MainWindow, CloseAsksFirstAndCancelKeepsEverythingRunning) {
  MainWindowFixture f;
  f.window->show();
  bool stepRan = false;
  f.window->AddClosingStep([&] { stepRan = true; });
  f.services.QueueAnswer(kResultCancel);
  f.window->close();
  EXPECT_TRUE(f.window->isVisible());
  EXPECT_FALSE(stepRan);
  EXPECT_TRUE(f.services.TickRunning(150));
  EXPECT_TRUE(f.services.TickRunning(500));
  EXPECT_EQ(f.services.Messages().back().text, "点击确定退出程序，误操作请点击取消！！");
  EXPECT_EQ(f.services.Messages().back().buttons, MessageButtons::OkCancel);

  f.window->close();  // answered OK
  EXPECT_FALSE(f.window->isVisible());
  EXPECT_TRUE(stepRan);
  EXPECT_FALSE(f.services.TickRunning(150));
  EXPECT_FALSE(f.services.TickRunning(500));
}

TEST(MainWindow, FilesTheUpdateCheckReplacedAreNamedInTheStatusLine) {
  MainWindowFixture f;
  f.window->show();
  const ControlMap& c = f.window->Controls();
  EXPECT_EQ(c.Text(1171), "");
  // The update check reports from one of its download threads.
  const QString line = "已更新 2 个文件：tavrik、tavrik-convert，下次启动时生效";
  std::thread([&] { f.window->Update().ShowUpdatedFiles(line); }).join();
  EXPECT_TRUE(ProcessEventsUntil([&] { return c.Text(1171) == line; }));
  EXPECT_TRUE(c.Get(1171)->isVisible());
}

TEST(MainWindow, KeyboardGateKeepsPlainLettersAndNeverClosesOnEnterOrEsc) {
  MainWindowFixture f;
  f.window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(f.window.get()));
  auto* send = f.window->Controls().As<QLineEdit>(1077);
  send->setFocus();
  QTest::keyClicks(send, "dhu");
  EXPECT_EQ(send->text(), "dhu");
  QTest::keyClick(send, Qt::Key_Return);
  QTest::keyClick(send, Qt::Key_Escape);
  EXPECT_TRUE(f.window->isVisible());

  auto* frames = f.window->Controls().As<QComboBox>(1050);
  send->setFocus();
  QTest::keyClick(send, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
  QTest::keyClick(send, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(frames->count(), 5);
  EXPECT_EQ(frames->itemText(4), "帧格式6");
  EXPECT_EQ(send->text(), "dhu");

  QTest::keyClick(send, Qt::Key_U, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(f.window->Session().Mode(), ReceiveMode::Upgrade);
  EXPECT_TRUE(f.window->Controls().Get(1066)->isEnabled());
  EXPECT_TRUE(f.window->Controls().Text(1072).contains("不要关闭串口"));
  EXPECT_EQ(frames->count(), 5);  // the upgrade gate adds no frame item

  QTest::keyClick(send, Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_NE(f.window->ConsoleArea().Console(), nullptr);
  f.window->Session().SetReceiveMode(ReceiveMode::Command);
  const uint8_t bytes[] = {0xAB, 0x05};
  EXPECT_EQ(f.window->Session().OnSerialBytes(bytes, 2), 2u);
  EXPECT_TRUE(f.window->ConsoleArea().Console()->Text().endsWith("ab 5 "));
  EXPECT_TRUE(f.window->ConsoleArea().Console()->windowTitle().startsWith("Debug Console, "));
  QTest::keyClick(f.window->ConsoleArea().Console()->findChild<QPlainTextEdit*>(), Qt::Key_C,
                  Qt::ControlModifier);
  EXPECT_EQ(f.window->ConsoleArea().Console(), nullptr);
}

}  // namespace
