#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLayout>
#include <QMessageBox>
#include <QTimer>
#include <atomic>
#include <thread>

#include "services/GuiDispatcher.h"
#include "services/PeriodicTicks.h"
#include "services/QtWindowServices.h"
#include "services/ScriptedWindowServices.h"
#include "services/Translations.h"
#include "tests/common/EventLoop.h"

namespace {

TEST(GuiDispatcher, CallAndWaitRunsOnTheGuiThread) {
  GuiDispatcher dispatcher;
  std::atomic<bool> ranOnGui{false};
  std::atomic<bool> returned{false};
  std::thread worker([&] {
    EXPECT_TRUE(dispatcher.CallAndWait([&] { ranOnGui = GuiDispatcher::OnGuiThread(); }));
    returned = true;
  });
  EXPECT_TRUE(ProcessEventsUntil([&] { return returned.load(); }));
  worker.join();
  EXPECT_TRUE(ranOnGui);
}

TEST(GuiDispatcher, ReleaseFreesAWorkerWhileTheGuiThreadIsBusy) {
  // The GUI thread does not process events here, as when it waits for the
  // worker during shutdown: only the release may end the worker's wait.
  GuiDispatcher dispatcher;
  std::atomic<bool> ran{false};
  std::thread worker([&] { EXPECT_FALSE(dispatcher.CallAndWait([&] { ran = true; })); });
  QThread::msleep(50);
  dispatcher.Release();
  worker.join();
  ProcessEventsUntil([] { return false; }, 50);  // the queued call is dropped
  EXPECT_FALSE(ran);
  // Later calls from workers do not wait at all.
  std::thread late([&] { EXPECT_FALSE(dispatcher.CallAndWait([&] { ran = true; })); });
  late.join();
  EXPECT_FALSE(ran);
}

TEST(QtWindowServices, AMessageBoxFromAWorkerIsShownOnTheGuiThread) {
  QtWindowServices services;
  std::atomic<int> result{-1};
  std::thread worker([&] {
    result =
        services.MessageBox(nullptr, "串口错误", {}, MessageButtons::OkCancel, MessageIcon::Stop);
  });
  // The box runs its own event loop; answer it from inside that loop.
  QString text, title;
  QTimer answerer;
  QObject::connect(&answerer, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      text = box->text();
      title = box->windowTitle();
      box->button(QMessageBox::Cancel)->click();
    }
  });
  answerer.start(10);
  ASSERT_TRUE(ProcessEventsUntil([&] { return result.load() != -1; }));
  worker.join();
  EXPECT_EQ(result, kResultCancel);
  EXPECT_EQ(text, "串口错误");
  EXPECT_EQ(title, "Tavrik");
}

// The program speaks Chinese: so do Qt's own buttons, and a box is wide
// enough to show its whole caption.
TEST(QtWindowServices, BoxesSpeakChineseAndShowTheirWholeCaption) {
  ASSERT_TRUE(InstallChineseTranslations(*QCoreApplication::instance()));
  QMessageBox box;
  box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
  EXPECT_EQ(box.button(QMessageBox::Ok)->text(), "确定");
  EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), "取消");

  const QString caption = QStringLiteral("Application Error: 一个很长的标题，整句都要看得到");
  box.setWindowTitle(caption);
  box.setText("x");
  const int before = box.sizeHint().width();
  FitCaption(box, caption);
  box.layout()->invalidate();
  EXPECT_GE(box.sizeHint().width(), box.fontMetrics().horizontalAdvance(caption));
  EXPECT_GT(box.sizeHint().width(), before);
}

TEST(QtWindowServices, ReleasedWaitersGetNoAnswer) {
  QtWindowServices services;
  services.ReleaseWaiters();
  std::atomic<int> result{-1};
  WindowServices& base = services;
  std::thread worker([&] { result = base.MessageBox(nullptr, "x"); });
  worker.join();
  EXPECT_EQ(result, kResultNone);
}

TEST(QtWindowServices, FileFiltersBecomeQtNameFilters) {
  EXPECT_EQ(QtNameFilters("Text files(*.txt)|*.txt|All files(*.*)|*.*||"),
            "Text files (*.txt);;All files (*.*)");
  EXPECT_EQ(QtNameFilters("HEX|*.hex||"), "HEX (*.hex)");
}

TEST(PeriodicTicks, TicksRunOnTheirOwnThreadUntilStopped) {
  PeriodicTicks ticks;
  std::atomic<int> count{0};
  std::atomic<bool> onGui{false};
  const TickId id = ticks.Start(5, [&] {
    if (GuiDispatcher::OnGuiThread()) onGui = true;
    ++count;
  });
  EXPECT_TRUE(ProcessEventsUntil([&] { return count.load() >= 3; }));
  ticks.Stop(id);
  const int stoppedAt = count.load();
  QThread::msleep(30);
  EXPECT_EQ(count.load(), stoppedAt);
  EXPECT_FALSE(onGui);
}

TEST(PeriodicTicks, ATickMayStopItself) {
  PeriodicTicks ticks;
  std::atomic<int> count{0};
  std::atomic<TickId> id{0};
  std::atomic<bool> started{false};
  id = ticks.Start(2, [&] {
    while (!started) std::this_thread::yield();
    if (++count == 2) ticks.Stop(id);
  });
  started = true;
  // However slow the machine, the tick ends itself after its second run.
  EXPECT_TRUE(ProcessEventsUntil([&] { return count.load() >= 2; }));
  QThread::msleep(30);
  EXPECT_EQ(count.load(), 2);
}

TEST(ScriptedWindowServices, RecordsTextsAndAnswersFromItsScript) {
  ScriptedWindowServices services;
  services.QueueAnswer(kResultCancel);
  services.QueueFileName(QString("/tmp/1.txt"));
  services.QueueFileName(std::nullopt);
  EXPECT_EQ(services.MessageBox(nullptr, "点击确定退出程序，误操作请点击取消！！", {},
                                MessageButtons::OkCancel, MessageIcon::Exclamation),
            kResultCancel);
  WindowServices& base = services;
  EXPECT_EQ(base.MessageBox(nullptr, "保存成功"), kResultOk);
  EXPECT_EQ(services.MessageTexts(),
            QStringList({"点击确定退出程序，误操作请点击取消！！", "保存成功"}));
  EXPECT_EQ(services.Messages()[0].caption, "Tavrik");
  EXPECT_EQ(services.SaveFileName(nullptr, {"Log Save As...", "txt", "1.txt", ""}),
            QString("/tmp/1.txt"));
  EXPECT_FALSE(services.OpenFileName(nullptr, {}));
  EXPECT_EQ(services.FileDialogs()[0].title, "Log Save As...");

  int fired = 0;
  const TickId id = services.StartTick(150, [&] { ++fired; });
  EXPECT_EQ(services.FireTicks(150), 1);
  EXPECT_EQ(services.FireTicks(500), 0);
  services.StopTick(id);
  EXPECT_EQ(services.FireTicks(150), 0);
  EXPECT_EQ(fired, 1);
}

}  // namespace
