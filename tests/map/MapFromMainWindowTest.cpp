// "导航" from the main window against the virtual unit: the map gets the
// unit's own position, one pair at a time, while the main window goes on
// answering.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QPushButton>

#include "mainwindow/ControlMap.h"
#include "mainwindow/MapPanel.h"
#include "map/CExplorer_map.h"
#include "map/Navigate.h"
#include "map/NavigateIds.h"
#include "protocol/SampleHub.h"
#include "tests/common/MainWindowFixture.h"
#include "tests/mainwindow/VirtualUnit.h"
#include "tests/map/PageScript.h"

namespace {

void CopyPageInto(const QString& to) {
  QDirIterator files(TAVRIK_MAP_TEST_PAGE_DIR, QDir::Files, QDirIterator::Subdirectories);
  while (files.hasNext()) {
    const QString source = files.next();
    const QString target = to + '/' + QDir(TAVRIK_MAP_TEST_PAGE_DIR).relativeFilePath(source);
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile::copy(source, target);
  }
}

void Click(QWidget& parent, int id) {
  for (QPushButton* b : parent.findChildren<QPushButton*>()) {
    if (b->property("controlId").toInt() == id) {
      b->click();
      return;
    }
  }
  ADD_FAILURE() << "no button " << id;
}

TEST(MapFromMainWindow, TheUnitsTrackIsMarkedWhileTheMainWindowAnswers) {
  // Output starts only when asked, so the first frames are the ones at rest
  // at the start position.
  VirtualUnit unit({"--stopped", "--baud", "921600", "--rate", "100"});
  ASSERT_FALSE(unit.Device().isEmpty());
  MainWindowFixture f;
  CopyPageInto(QDir::currentPath());
  const ControlMap& c = f.window->Controls();
  c.As<QComboBox>(1041)->setEditText(unit.Device());
  c.As<QComboBox>(1040)->setCurrentText("921600");
  Click(*f.window, 1008);
  ASSERT_EQ(c.Text(1008), "关闭");

  Click(*f.window, 1148);  // "导航"
  Navigate& map = f.window->Map().Window();
  ASSERT_TRUE(map.isVisible());
  ASSERT_FALSE(map.isModal());
  ASSERT_TRUE(
      ProcessEventsUntil([&] { return map.Browser().Document() != nullptr; }, kPageDeadlineMs));
  Click(*f.window, 1060);  // "开始输出"
  ASSERT_TRUE(ProcessEventsUntil([&] { return f.window->Samples().LatestSequence() > 5; }));

  Click(map, NavigateIds::kStartButton);
  QWebEnginePage* page = map.Browser().Document();
  ASSERT_TRUE(WaitForPage(page, "geoState().calls.setStartMarkfun === 1"));
  EXPECT_EQ(PageState(page).value("lastArguments").toMap().value("setStartMarkfun").toStringList(),
            (QStringList{"116.300000", "39.900000"}));

  // The main window answers while the map marks: a command and its reply.
  Click(*f.window, 1061);  // "停止输出"
  ASSERT_TRUE(
      ProcessEventsUntil([&] { return f.services.MessageTexts().contains("设置停止输出成功\n"); }));
  EXPECT_TRUE(map.IsMarking());
  EXPECT_TRUE(WaitForPage(page, "geoState().points >= 10"));

  Click(map, NavigateIds::kClearButton);
  EXPECT_FALSE(map.IsMarking());
  map.close();
  Click(*f.window, 1008);
}

}  // namespace
